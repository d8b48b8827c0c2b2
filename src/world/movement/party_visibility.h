#pragma once
// Which cells of the current area the party sees and has explored: a flood over
// cells from where the living members stand, stopped by walls and closed doors.

#include "world/actor.h"

namespace DRAV {

class CArea;

// Brings `area`'s seen and explored cells up to date with `party` (in party order).
// When the area's view is stale the seen cells start afresh from every living
// member and the answer is true; otherwise only members on cells not flooded from
// yet add what lies near them, and the answer is false. A null area does nothing.
bool UpdatePartyVisibility(CArea* area, const ActorList& party);

}  // namespace DRAV
