#pragma once
// A game of a sample chapter played without a screen, as the play fuzzer and the
// module sweep play a mutated module: a new game, one of every monster kind made
// into an actor beside the party, a few hundred ticks with a save and a load
// half-way, then a visit to every area the chapter's travel maps lead to, with the
// area's patches fired, and a last save and load on the map.
// Data the game refuses comes out as a CDRAVException from a load: the module's,
// or an area's or a map's as the party goes there. Once the module is taken, play
// goes in steps, as the application's: a tick, an entry, a tag set, a script the
// caller makes run. A broken script ends only its step, as the application goes on
// past its "Script Error" box; after each step the events it queued are handled,
// a journey a script began is made as the application makes it, each arrival a
// step of its own as each is a timer message of its own there, and whatever else
// goes wrong is the game's own fault and comes out as a PlayFault: any other error,
// a step slower than the plan allows or flooding the shell with events, a
// party left empty, a journey dropped, a
// save the game cannot make or load back.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/data_file.h"
#include "rules/module_version_range.h"

namespace DRAV {
class CEngine;
}

namespace QuillmereFuzz {

enum class FaultKind { GameError, SlowStep, EventFlood, EmptyParty, JourneyDropped, SaveNotLoaded };

class PlayFault : public std::runtime_error {
public:
    PlayFault(FaultKind kind, const std::string& what) : std::runtime_error(what), m_kind(kind) {}
    FaultKind GetKind() const { return m_kind; }

private:
    FaultKind m_kind;
};

// What the play measured of its steps.
struct PlayStats {
    std::size_t steps = 0;
    double slowestSeconds = 0.0;
    std::string slowest;            // the step
    std::size_t mostEvents = 0;     // queued by one step
    std::string busiest;            // the step
};

struct PlayPlan {
    std::int32_t chapter = 1;
    // Ticks in the start area; each visited area plays a quarter of them.
    int ticks = 600;
    // The game is saved here and loaded again half-way through the start area and at the end.
    std::string savePath;
    // Travel maps of the chapter (their names, without ".drav") whose areas are visited.
    std::vector<std::string> maps;
    // A step of the caller's that makes a script run which play alone may not reach:
    // called in the start area once every monster kind stands beside the party,
    // before the first tick; or, when `reachIn` names an entry (area, entry), in
    // that area, entered there from the first map once the maps' areas are visited
    // and played as they are. It may call `step` for each run, as a step of its own,
    // which returns how many arrivals the journey the run began made, each running
    // the script of the entry it arrived at.
    using Stepper = std::function<int(const std::string& what, const std::function<void()>& run)>;
    std::function<void(DRAV::CEngine&, const Stepper& step)> reach;
    std::pair<std::string, std::string> reachIn;
    // The entry script at `reachIn` sends the party away: entering there must leave it travelling.
    bool reachJourneys = false;
    // A step whose processor time is longer is a fault; 0: no limit.
    double stepSeconds = 0.0;
    // A step that queues more events is a fault: far more than the things one run
    // of a script may hand the game, and than a tick of play makes; 0: no limit.
    std::size_t stepEvents = 0;
    // Takes the events a step queued, as the application does, and returns how many
    // there were; unset, they are taken and dropped.
    std::function<std::size_t(const std::shared_ptr<DRAV::CEngine>&)> handleEvents;
    PlayStats* stats = nullptr;
};

// Runs `step`; a broken script (a CDRAVException of the script code) ends only the
// step, and any other failure goes on up.
void PastScriptErrors(const std::function<void()>& step);

// The identity and version the sample's chapters are loaded with.
const DRAV::CModuleVersionRange& SampleVersion();

// Returns the engine as the last load left it.
std::shared_ptr<DRAV::CEngine> PlaySample(const std::shared_ptr<DRAVCommon::CDataFileFactory>& source,
                                          const PlayPlan& plan);

}  // namespace QuillmereFuzz
