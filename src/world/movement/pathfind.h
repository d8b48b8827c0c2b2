#pragma once
// How an actor is moved one step per game tick toward a goal point. Every actor
// owns one; the standard movement is the only kind.

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

protected:
    CPathfind() = default;
    CPathfind(const CPathfind&) = default;
    CPathfind& operator=(const CPathfind&) = default;
};

}  // namespace DRAV
