#pragma once
// One run of the random player on the real program, headless, in a child process
// of the driver's: what the player's watches found, and what the platform showed
// of its own (error boxes, a crash, a hang) as findings of the kind "error".

#include <string>
#include <vector>

#include "play_sweep/finding.h"
#include "play_sweep/random_player.h"

namespace QuillmerePlaySweep {

struct RunReport {
    std::vector<Finding> findings;
    int turns = 0;  // the turns played
    std::string start;  // what the start answered
    std::string end;    // where the play stopped
};

// Plays `plan` in a child ended after `workSeconds` of its processor time.
RunReport PlayOnce(const PlayPlan& plan, unsigned workSeconds);

// A report as one text and back, to hand it out of the process that played.
std::string EncodeReport(const RunReport& report);
RunReport DecodeReport(const std::string& text);

}  // namespace QuillmerePlaySweep
