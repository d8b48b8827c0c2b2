#pragma once
// What the player sees of the running program now, read in its process between
// messages, for the watches to judge.

#include "play_sweep/sight.h"

namespace QuillmerePlaySweep {

Sight LookAtGame();

}  // namespace QuillmerePlaySweep
