#pragma once
// A random player at the window of the real program: from a new game of a chapter,
// its hero made on the creation pages, or a saved game, turn after turn it clicks the ground near and far, people,
// things and ways out, with one member or the whole party selected, gives F-key
// orders and clicks their targets, speaks with a companion by the Talk of the
// hero's action bar, answers talk at random, leaving too, takes the
// ways out and travels the map, and saves and loads through the game menu and
// the front page. Its watches report what a
// player would notice, each as a check named "finding N" of the driver's run;
// the check "turn" tells how far it came. The same plan plays the same game.

#include <string>
#include <vector>

#include "driver.h"

namespace QuillmerePlaySweep {

struct PlayPlan {
    int chapter = 1;
    // Empty: a new game of the chapter; else a saved game of it, which the run's
    // save folder holds and the front page's load list loads.
    std::string savePath;
    unsigned seed = 1;
    int turns = 200;
    // A file each turn's move is appended to, to follow a replay; none when empty.
    std::string trace;
};

std::vector<QuillmereE2E::Step> PlaySteps(const PlayPlan& plan);

}  // namespace QuillmerePlaySweep
