#pragma once
// A game of a sample chapter played without a screen, as the play fuzzer and the
// module sweep play a mutated module: a new game, one of every monster kind made
// into an actor beside the party, a few hundred ticks with a save and a load
// half-way, then a visit to every area the chapter's travel maps lead to, with the
// area's patches fired, and a last save and load on the map. Data the game accepts
// must play through; a refusal comes out as a CDRAVException, and nothing else may.
// A save the game cannot make or load back is no refusal of the data but the
// game's own fault: it comes out as SaveNotLoaded.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/data_file.h"
#include "rules/module_version_range.h"

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
};

// The identity and version the sample's chapters are loaded with.
const DRAV::CModuleVersionRange& SampleVersion();

void PlaySample(const std::shared_ptr<DRAVCommon::CDataFileFactory>& source, const PlayPlan& plan);

}  // namespace QuillmereFuzz
