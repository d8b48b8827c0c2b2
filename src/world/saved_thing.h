#pragma once
// A thing as a saved game names it for the load to find again. A load numbers
// every thing anew, so no saved id names one: an actor is named by the serial it
// was saved with (CGame::FindLoadedActor), an object by its definition and cell,
// as the area's own records find objects again, a tile by its cell, which its id
// already is, and an item by where it lies, with its definition.

#include <cstdint>
#include <string>

#include "rules/kinds/thing_id.h"

namespace DRAVCommon {
class CDataFileReader;
class CDataFileWriter;
}  // namespace DRAVCommon

namespace DRAV {

class CActor;
class CArea;
class CGame;
class CObject;

// The forms a saved thing takes, one bit each, so that a field says which it may name.
enum SavedThingForm : std::uint32_t {
    SAVED_NOTHING = 1,  // "0": no thing; for a drop, the ground at the actor's feet
    SAVED_ACTOR = 2,    // <actor> serial </actor>
    SAVED_OBJECT = 4,   // <object> definition column row </object>
    SAVED_TILE = 8,     // <tile> column row </tile>
    SAVED_WORN = 16,    // <worn> slot definition </worn>: an item the actor wears
    SAVED_PACKED = 32,  // <pack> index definition </pack>: an item of the actor's backpack
    SAVED_HELD = 64,    // <held> index definition </held>: in the container named before it
    SAVED_STOCKED = 128,  // <stock> index definition </stock>: in the store of the keeper named before it
};
inline constexpr std::uint32_t kSavedOwnItem = SAVED_WORN | SAVED_PACKED;

// Where a thing is looked for: the area objects and tiles lie in, the actor whose
// record names it, and the container and the keeper the same record named before it.
struct SavedThingPlace {
    const CArea* area = nullptr;
    const CActor* actor = nullptr;
    const CObject* container = nullptr;
    const CActor* keeper = nullptr;
};

class CSavedThing {
public:
    // The thing of `id` as it lies at `place`, in one of `forms`; false when it is
    // gone or a save cannot name it so.
    static bool Describe(ThingId id, const SavedThingPlace& place, std::uint32_t forms, CSavedThing& thing);
    // One saved thing of one of `forms`; code 1 naming `what` for any other.
    static CSavedThing Read(DRAVCommon::CDataFileReader& reader, std::uint32_t forms, const std::string& what);
    void Write(DRAVCommon::CDataFileWriter& writer) const;
    // The thing's id in `game` as its load numbered it, looked for at `place`;
    // false when it is not there.
    bool Find(const CGame& game, const SavedThingPlace& place, ThingId& id) const;

    SavedThingForm GetForm() const { return m_form; }

private:
    SavedThingForm m_form = SAVED_NOTHING;
    std::uint32_t m_number = 0;  // serial, slot, index, or the column of a cell
    std::uint32_t m_row = 0;
    std::string m_key;  // the object's or the item's definition
};

}  // namespace DRAV
