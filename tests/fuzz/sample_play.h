#pragma once
// A game of a sample chapter played without a screen, as the play fuzzer and the
// module sweep play a mutated module: a new game, one of every monster kind made
// into an actor beside the party, a few hundred ticks with a save and a load
// half-way, then a visit to every area the chapter's travel maps lead to, with the
// area's patches fired, and a last save and load on the map. Data the game accepts
// must play through; a refusal comes out as a CDRAVException, and nothing else may.
// A broken script ends only the step it broke, as the application goes on past its
// "Script Error" box.
// A save the game cannot make or load back is no refusal of the data but the
// game's own fault: it comes out as SaveNotLoaded.

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

class SaveNotLoaded : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
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
    // and played as they are. A script error it lets out is reported as the ticks' are.
    std::function<void(DRAV::CEngine&)> reach;
    std::pair<std::string, std::string> reachIn;
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
