#pragma once
// The standard movement: each tick the actor walks straight at a waypoint from the
// area's path search, slides along a wall face that stops it, or sidesteps an
// actor in its way. Deterministic: no random numbers.

#include <cstdint>

#include "rules/kinds/thing_id.h"
#include "world/movement/pathfind.h"

namespace DRAV {

class CObject;
class CThing;

enum PathfindMode : int {
    PATHFIND_NORMAL = 0,  // straight at the waypoint
    PATHFIND_WALL = 1,    // sliding along a tile or object face
    PATHFIND_ACTOR = 2,   // stepping round an actor
};

class CPathfindStandard final : public CPathfind {
public:
    CPathfindStandard() = default;

    void Reset() override;
    bool MoveActor(CActor& actor, CArea& area, double goalX, double goalY, double halfWidth,
                   double halfHeight) override;

    // The waypoint toward the goal: kept while the actor cannot yet have covered
    // half the way to it and the goal has moved no more than 5 units, else asked
    // anew of the area's path search.
    void GetWaypoint(const CActor& actor, CArea& area, double& outX, double& outY, double goalX, double goalY,
                     double halfWidth, double halfHeight);

    // Each returns true to run the function of the (new) mode again this tick.
    bool MoveActorNormal(CActor& actor, CArea& area, bool& arrived, double waypointX, double waypointY);
    bool MoveActorWall(CActor& actor, CArea& area, double waypointX, double waypointY);
    bool MoveActorActor(CActor& actor, CArea& area, bool& arrived, double waypointX, double waypointY);

    // One step toward (x, y), onto it when the step covers the distance: true and
    // the actor moved when the area allows it, else false with what blocks.
    bool TryStraightStep(CActor& actor, const CArea& area, bool& arrived, CThing*& blocker, double x, double y);
    // The actor's position moved one step along direction code `direction` (0-3;
    // code 2 otherwise).
    void StepInDirection(const CActor& actor, int direction, double& outX, double& outY) const;

    ThingId GetBlockerId() const { return m_blockerId; }
    int GetMode() const { return m_mode; }
    // Actor mode: true steps round to the left (direction to the blocker + a quarter turn).
    bool GetTurnFlag() const { return m_turnLeft; }
    // Wall mode: the direction code of the side the wall lies on, the one the actor
    // slides in, and the coordinate of the face along which it slides.
    int GetWallSide() const { return m_wallSide; }
    int GetSlideDirection() const { return m_slideDirection; }
    double GetWallCoordinate() const { return m_wallCoordinate; }

private:
    // Wall mode after a tile, or the grid's edge, stopped a step toward a heading.
    void FaceTile(const CActor& actor, double centreX, double centreY, int verticalIntent, int horizontalIntent);
    // Wall mode after an object's footprint stopped a step.
    void FaceObject(const CActor& actor, const CObject& object, double heading, int verticalIntent,
                    int horizontalIntent);
    // Counts consecutive ticks an actor stands in the way of a slide; true to wait.
    bool WaitForActor(std::uint32_t tick);

    int m_mode = PATHFIND_NORMAL;
    double m_goalX = 0.0;
    double m_goalY = 0.0;
    std::uint32_t m_waypointTick = 0;
    double m_waypointX = 0.0;
    double m_waypointY = 0.0;
    int m_wallSide = 0;
    int m_slideDirection = 0;
    double m_wallCoordinate = 0.0;
    std::uint32_t m_lastBlockTick = 0;
    std::uint32_t m_blockCount = 0;
    bool m_turnLeft = false;
    ThingId m_blockerId = 0;
};

}  // namespace DRAV
