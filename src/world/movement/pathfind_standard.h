#pragma once
// The standard movement: each tick the actor walks straight at a waypoint from the
// area's path search, slides along a wall face that stops it, or sidesteps an
// actor in its way. Deterministic: no random numbers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

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
    bool HasNoWay() const override { return m_noWay; }

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
    // How many of those standing in the walk's way its waypoints now lead round.
    std::size_t GetWalkedRoundCount() const { return m_walkedRoundCount; }

private:
    // Wall mode after a tile, or the grid's edge, stopped a step toward a heading.
    void FaceTile(const CActor& actor, double centreX, double centreY, int verticalIntent, int horizontalIntent);
    // Wall mode after an object's footprint stopped a step.
    void FaceObject(const CActor& actor, const CObject& object, double heading, int verticalIntent,
                    int horizontalIntent);
    // Counts consecutive ticks an actor stands in the way of a slide; true to wait.
    bool WaitForActor(std::uint32_t tick);
    // After a step: a walk held up for long without getting any nearer its goal
    // is led round those who held it up, or, when there is no way round them or
    // the last led back to them only, has none.
    void NoteProgress(const CActor& actor, CArea& area, double goalX, double goalY, double halfWidth,
                      double halfHeight);
    // Whether someone the walk went round stands within two cells of it.
    bool IsNearWalkedRound(const CActor& actor, const CArea& area) const;
    // A waypoint of a way round everyone walked round so far; false when there is none.
    bool FindWayRound(const CActor& actor, CArea& area, double goalX, double goalY, double halfWidth,
                      double halfHeight, double& outX, double& outY) const;

    // Held-up steps without coming this much nearer the goal than ever before
    // lead round the one in the way.
    static constexpr double kProgress = 1.0;
    static constexpr std::uint32_t kHeldSteps = 60;
    static constexpr std::size_t kMostWalkedRound = 4;
    static constexpr double kNearWalkedRound = 5.0;

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
    // The actor that refused this step, or 0; the nearest the walk has come to
    // its goal; its held-up steps since it last came nearer, and those who held
    // it up in them; those its waypoints lead round; and whether it has no way
    // left.
    ThingId m_heldBy = 0;
    double m_nearest = std::numeric_limits<double>::infinity();
    std::uint32_t m_heldSteps = 0;
    std::array<ThingId, kMostWalkedRound> m_holders{};
    std::size_t m_holderCount = 0;
    std::array<ThingId, kMostWalkedRound> m_walkedRound{};
    std::size_t m_walkedRoundCount = 0;
    bool m_noWay = false;
};

}  // namespace DRAV
