#pragma once
// How near a foe holding back lets the party come before it takes up the fight
// again, shared with whoever judges what rouses it.

#include "world/cell.h"

namespace DRAV {

// A foe holding back takes up the fight again when a party member that acts comes
// this near: four cells, well short of the way from its post to the party's wake.
constexpr double kHoldingReach = 4 * kCellSize;

}  // namespace DRAV
