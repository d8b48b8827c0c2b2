#pragma once
// Makes a played sample game run one script of the module, which play alone may
// never reach, sixty times over in one step: the main character talks to the
// partner of a conversation state (naming the state, as a chosen reply does), a
// monster's heartbeat beats, a quest is checked (its assignment tag is set, or
// any tag for a quest that needs none), the party enters an area at an entry
// and its script runs again, the main character treads on an object's trap or
// opens a door. The partner or the monster is the one of its kind that the play
// places beside the party, or an object of that kind in the start area; a trap's
// object or a door stands where it is placed.
//
// Sixty runs in a row are what a script's limits must hold against: what one run
// gets past its limits adds up past the sweep's, while sixty runs within them stay
// far below.

#include <string>
#include <utility>

#include "sample_play.h"
#include "sweep/script_edits.h"

namespace QuillmereSweep {

inline constexpr int kReachRuns = 60;

// `plan` with what makes the script at `spot` run; `file` is the name of the file
// it stands in ("reedwater_landing.drav"), whose area an entry belongs to;
// `placed` the area and an entry of it where a trap's object or a door stands,
// empty for the start area.
QuillmereFuzz::PlayPlan ReachScript(QuillmereFuzz::PlayPlan plan, const ScriptSpot& spot, const std::string& file,
                                    const std::pair<std::string, std::string>& placed = {});

}  // namespace QuillmereSweep
