#pragma once
// Makes a played sample game run one script of the module, which play alone may
// never reach, sixty times over in one step: the main character talks to the
// partner of a conversation state (reaching the state as a chosen reply does), a
// monster's heartbeat beats, a quest is checked (its assignment tag is set, or
// any tag for a quest that needs none), the party enters an area at an entry
// and its script runs again (and at each arrival there that its journeys make,
// which count among the sixty), the main character treads on an object's trap,
// or the whole party stands on it for a tick, or she opens a door. The partner or
// the monster is the one of its kind that the play places beside the party, or
// an object of that kind in the start area; a trap's object or a door stands
// where it is placed.
//
// Sixty runs in a row are what a script's limits must hold against: what one run
// gets past its limits adds up past the sweep's, while sixty runs within them stay
// far below.

#include <functional>
#include <string>
#include <utility>

#include "rules/kinds/thing_id.h"
#include "sample_play.h"
#include "sweep/script_edits.h"

namespace DRAV {
class CEngine;
}

namespace QuillmereSweep {

inline constexpr int kReachRuns = 60;

// How the main character, standing within reach of `partner`, talks to it at
// `state`: through the shell's talk page (CShellEvents::Talk), or unset, by the
// engine's talk order naming the state.
using TalkReach = std::function<void(DRAV::CEngine& engine, DRAV::ThingId partner, const std::string& state)>;

// How a trap's script is made to run: by the main character treading on it, or by
// the whole party of six standing on it for a tick, as many as its members spring.
enum class TrapTread { Main, WholeParty };

// `plan` with what makes the script at `spot` run; `file` is the name of the file
// it stands in ("reedwater_landing.drav"), whose area an entry belongs to;
// `placed` the area and an entry of it where a trap's object or a door stands,
// empty for the start area.
QuillmereFuzz::PlayPlan ReachScript(QuillmereFuzz::PlayPlan plan, const ScriptSpot& spot, const std::string& file,
                                    const std::pair<std::string, std::string>& placed = {}, TalkReach talk = {},
                                    TrapTread tread = TrapTread::Main);

}  // namespace QuillmereSweep
