#pragma once
// Missiles and launched spells in flight in a saved game: what was paid for at the
// strike lands after a load on the tick, and with the numbers, it would have in the
// game the save was taken from. Only the party's area has effects in flight.

namespace DRAVCommon {
class CDataFileReader;
class CDataFileWriter;
}  // namespace DRAVCommon

namespace DRAV {

class CGame;
class CModule;

// The block "flight": the serial the next effect takes, then each effect of the
// party's area in launch order, with its id.
void WriteEffectsInFlight(DRAVCommon::CDataFileWriter& writer, const CGame& game);

// Reads the block "flight" into the game's current area, once its actors are
// numbered. An effect aimed at an actor the area no longer holds is let go, as the
// effects phase lets it go. Code 1 for a field play could not have written.
void ReadEffectsInFlight(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module);

}  // namespace DRAV
