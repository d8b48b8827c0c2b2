#pragma once
// The lockstep harness: a game saved at some tick and loaded into a fresh engine
// must go on exactly as the game that was not saved. Both run side by side, each
// with its own draw of the rules' random source, given the same orders; after
// every tick what a player could tell apart is compared, and the first difference
// is named by its tick, its thing, its field and both values.

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"

namespace QuillmereTest {

// One compared field of a game at a tick: "actor 2 Marra the Reed Witch" and
// "orders", or "log" and "", with its value as text.
struct LockstepField {
    std::string thing;
    std::string field;
    std::string value;
};
using LockstepView = std::vector<LockstepField>;

struct LockstepDifference {
    std::uint32_t tick = 0;  // ticks after the save; 0 at the load
    std::string thing;
    std::string field;
    std::string unsaved;  // the game that went on
    std::string loaded;   // its copy, saved and loaded
    std::string Describe() const;
};

// A difference the harness knows of and cannot mend, with the reason: none of
// them is one a player sees (a spell, an arrow, an order, a question, a hold, a page).
struct KeptDifference {
    const char* field;
    const char* reason;
};
const std::vector<KeptDifference>& KeptDifferences();

// What a player could tell apart of `engine`'s game now: every actor of the area
// (place, hit points, energy, orders, action state, target), the effects in flight,
// the state, and `events`, the events the tick raised (log lines and what waits
// for the player: a question, a talk, a page, a container opened).
LockstepView ViewGame(const DRAV::CEngine& engine, const std::vector<std::shared_ptr<DRAV::CEvent>>& events);

// Every queued event of `engine`'s game, oldest first.
std::vector<std::shared_ptr<DRAV::CEvent>> TakeEvents(const DRAV::CEngine& engine);

// The moments worth saving at, as a tick has left `engine`'s game and raised
// `events`: someone winding up a blow, something in flight, a question of leaving,
// a talk or a page.
enum SavePoint : std::uint32_t {
    SAVE_ANY_TICK = 0,
    SAVE_WIND_UP = 1,
    SAVE_IN_FLIGHT = 2,
    SAVE_ARRIVING = 4,
    SAVE_TALK = 8,
    SAVE_PAGE = 16,
};
std::uint32_t SavePointsNow(const DRAV::CEngine& engine, const std::vector<std::shared_ptr<DRAV::CEvent>>& events);
std::string SavePointName(std::uint32_t point);

// Gives a party member of each game the same order, chosen by `chooser`: a walk
// near where she stands, an attack, a spell or a talk at someone of the area, or a
// walk to a way out; false when there was nobody to give one.
bool GiveRandomOrder(std::mt19937& chooser, const std::vector<DRAV::CEngine*>& engines);

struct LockstepRun {
    int chapter = 1;
    int ticks = 600;
    // Ticks between two random orders after the save; 0 for none.
    int orderEvery = 0;
    std::uint32_t orderSeed = 1;
    std::string folder;  // where the save is written
};

// Saves `game` as its last tick has left it, with `held`, the events that tick
// raised, taken as the shell takes them, loads the save into a fresh engine, and
// runs both for `run.ticks`; the first difference not kept, none when there was
// none. `compared` counts the ticks compared.
std::optional<LockstepDifference> RunLockstep(DRAV::CEngine& game,
                                              const std::vector<std::shared_ptr<DRAV::CEvent>>& held,
                                              const LockstepRun& run, int* compared = nullptr);

// An engine holding the sample's `chapter` and no game, to load a save into.
std::shared_ptr<DRAV::CEngine> FreshChapterEngine(int chapter);

}  // namespace QuillmereTest
