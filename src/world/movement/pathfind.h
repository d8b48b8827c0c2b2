#pragma once
// How an actor is moved one step per game tick toward a goal point. Every actor
// owns one; the standard movement is the only kind.

#include <vector>

#include "rules/kinds/thing_id.h"

namespace DRAV {

class CActor;
class CArea;

class CPathfind {
public:
    virtual ~CPathfind() = default;

    // Forgets the goal, the waypoint and the way round an obstacle; called whenever
    // the actor's orders are emptied or its current order ends.
    virtual void Reset() = 0;
    // One step of `actor` in `area` toward (goalX, goalY), a box of the given
    // half-extents (0 for a point, 2.5 for a door); true when this step reached the
    // point it was aimed at.
    virtual bool MoveActor(CActor& actor, CArea& area, double goalX, double goalY, double halfWidth,
                           double halfHeight) = 0;
    // True once the walk, held up by people standing in its way, has found no way
    // round them: it can go no nearer, and whoever gave the order ends it.
    virtual bool HasNoWay() const = 0;
    // True while the walk has come no nearer its goal for a while: pressing against
    // someone, sliding to and fro along a wall, waiting or giving way.
    virtual bool IsHeldUp() const = 0;
    // The actor that refused the walk's last step; 0 when none did.
    virtual ThingId GetHeldBy() const = 0;
    // Once the walk has no way: those standing in it, but for whom it would have
    // one; none when walls alone shut it.
    virtual std::vector<ThingId> GetInTheWay() const = 0;

protected:
    CPathfind() = default;
    CPathfind(const CPathfind&) = default;
    CPathfind& operator=(const CPathfind&) = default;
};

}  // namespace DRAV
