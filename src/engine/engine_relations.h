#pragma once
// Who a hostile act of one side goes for.

#include "rules/vocabulary/relation.h"

namespace DRAV {

// Whether a hostile act by an actor of relation `actor` goes for one of `other`:
// berserkers fight everyone, the party's side fights the hostile and back.
inline bool IsOpposed(Relation actor, Relation other) {
    if (actor == RELATION_BERSERK || other == RELATION_BERSERK) return true;
    const bool actorSide = actor == RELATION_PARTY || actor == RELATION_FRIENDLY;
    const bool otherSide = other == RELATION_PARTY || other == RELATION_FRIENDLY;
    if (actorSide) return other == RELATION_HOSTILE;
    if (actor == RELATION_HOSTILE) return otherSide;
    return false;
}

}  // namespace DRAV
