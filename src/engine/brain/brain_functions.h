#pragma once
// The engine's way of reading and copying brains, handed to the module before a
// chapter loads so that monster definitions keep their brains.

#include "rules/monsters/brain_functions.h"

namespace DRAV {

BrainFunctions GetBrainFunctions();

}  // namespace DRAV
