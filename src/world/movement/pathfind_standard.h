#pragma once
// The standard movement: each tick the actor walks straight at a waypoint from the
// area's path search, slides along a wall face that stops it, or sidesteps an
// actor in its way. Deterministic: no random numbers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

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
    // Room for the longest path a walk keeps, made with the walker so that no
    // search of a way of its own allocates.
    CPathfindStandard() { m_path.reserve(kMostPathCells); }

    void Reset() override;
    bool MoveActor(CActor& actor, CArea& area, double goalX, double goalY, double halfWidth,
                   double halfHeight) override;
    bool HasNoWay() const override { return m_noWay; }
    bool IsHeldUp() const override { return m_stepTick - m_progressTick >= kHeldUpSteps; }
    ThingId GetHeldBy() const override { return m_heldBy; }
    std::vector<ThingId> GetInTheWay() const override {
        return {m_inTheWay.begin(), m_inTheWay.begin() + m_inTheWayCount};
    }

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
    // Whether the walk follows a path of its own, found when the waypoints could
    // not lead it, and how many standing people that path goes round.
    bool HasOwnPath() const { return !m_path.empty(); }
    std::size_t GetClosedCount() const { return m_closedCount; }
    // How many times the walk has searched a path of its own since it was given.
    std::uint32_t GetSearchCount() const { return m_searchCount; }
    // Whether `other` is on its way somewhere: its walk is under way and has not
    // given up. Such a one in a walk's way makes room in the end.
    static bool IsOnItsWay(const CActor& other, std::uint32_t tick);

private:
    // Wall mode after a tile, or the grid's edge, stopped a step toward a heading.
    void FaceTile(const CActor& actor, double centreX, double centreY, int verticalIntent, int horizontalIntent);
    // Wall mode after an object's footprint stopped a step.
    void FaceObject(const CActor& actor, const CObject& object, double heading, int verticalIntent,
                    int horizontalIntent);
    // Counts consecutive ticks an actor stands in the way of a slide; true to wait.
    bool WaitForActor(std::uint32_t tick);
    // After a step: a walk that has come no nearer its goal for a while is held
    // up. Behind people going its way it follows them; held by people coming
    // another way it waits for them a while, and of two holding each other up the
    // one made later gives way; held by anything else (walls the waypoints could
    // not lead it round, people standing), it searches a path of its own round
    // those standing, and has no way when there is none.
    void NoteProgress(const CActor& actor, CArea& area, double goalX, double goalY, double halfWidth,
                      double halfHeight);
    // Steps the actor out of the way of the one it gives way to; false once that
    // one has gone or is well past.
    bool GiveWay(CActor& actor, CArea& area);
    // Whether `other` walks to a goal that lies the same way as the actor's.
    bool GoesTheSameWay(const CActor& actor, const CActor& other) const;
    // Whether `other` walks and is held up by the actor `id` in turn.
    static bool IsHeldBy(const CActor& other, ThingId id);
    // Adds `other` to those the walk's own path goes round, where it stands now.
    void Close(const CActor& other);
    // Searches the walk's own path from where the actor stands; false when there is none.
    bool SearchOwnPath(const CActor& actor, CArea& area, double goalX, double goalY, double halfWidth,
                       double halfHeight);
    // Forgets those the path goes round who have left the spot it was searched
    // round; true when anyone was forgotten.
    bool ForgetThoseMoved(const CArea& area);
    // The waypoint along the walk's own path from where the actor stands; true
    // when the actor has got farther along it than before.
    bool FollowOwnPath(const CActor& actor, CArea& area, double goalX, double goalY, double& outX, double& outY);
    // The walk has no way: those it went round, whom the way is shut by, are noted.
    void GiveUp(const CActor& actor, CArea& area, double goalX, double goalY, double halfWidth, double halfHeight);
    // Back to the plain waypoints: no path of its own, nobody closed.
    void DropOwnPath();
    // The goal has moved far since the walk last aimed at it: a new waypoint, and
    // a walk that has followed it too often without coming nearer has no way.
    void FollowMovedGoal(const CActor& actor, CArea& area, double goalX, double goalY, double halfWidth,
                         double halfHeight);

    // Steps without coming this much nearer the goal than ever before, or farther
    // along its own path, make a walk held up.
    static constexpr double kProgress = 1.0;
    static constexpr std::uint32_t kStallSteps = 60;
    // Ticks without getting anywhere after which a walk counts as held up; a third
    // of a second, as a walk comes a unit nearer in about a tenth.
    static constexpr std::uint32_t kHeldUpSteps = 10;
    // A walk held up by people on their way waits this many times as long before
    // it goes round them as if they stood, and this many before it gives up.
    static constexpr std::uint32_t kPatientWaits = 4;
    static constexpr std::uint32_t kMostWaits = 15;
    // How long one giving way keeps out of the other's way, unless the other has
    // gone this far past it first.
    static constexpr std::uint32_t kGiveWaySteps = 2 * kStallSteps;
    static constexpr double kGiveWayClear = 10.0;
    // Searches of its own path without coming any nearer before a walk that only
    // walls and people standing hold up gives up.
    static constexpr std::uint32_t kMostSearches = 3;
    static constexpr std::size_t kMostHolders = 4;
    // One the path goes round that moves this far (squared) has made room.
    static constexpr double kMovedAwaySquared = 1.0;
    // The most cells of its own path a walk keeps; one that goes on beyond them is
    // searched again from near their end.
    static constexpr std::size_t kMostPathCells = 512;

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
    // The tick of the walk's last step and of the last on which it got anywhere.
    std::uint32_t m_stepTick = 0;
    std::uint32_t m_progressTick = 0;
    // The actor that refused this step, or 0; the nearest the walk has come to
    // its goal; its steps since it last came nearer or got farther along its own
    // path, the waits and searches since, and those who held it up meanwhile.
    ThingId m_heldBy = 0;
    double m_nearest = std::numeric_limits<double>::infinity();
    std::uint32_t m_stalled = 0;
    std::uint32_t m_waits = 0;
    std::uint32_t m_searches = 0;
    std::uint32_t m_searchCount = 0;
    // Whether people on their way have held the walk up since it last came nearer.
    bool m_walkersHeldIt = false;
    std::array<ThingId, kMostHolders> m_holders{};
    std::size_t m_holderCount = 0;
    // Those standing in the way that the walk's own path goes round, where they stood.
    struct Stander {
        ThingId id = 0;
        double x = 0.0;
        double y = 0.0;
        double radius = 0.0;
    };
    std::array<Stander, kMostHolders> m_closed{};
    std::size_t m_closedCount = 0;
    // The walk's own path, cells from the start's, and how far along it the actor has got.
    std::vector<int> m_path;
    bool m_pathCut = false;
    std::size_t m_pathAt = 0;
    std::size_t m_pathNoted = 0;
    // Two held up by each other: the one giving way, and until which tick.
    ThingId m_givingWayTo = 0;
    std::uint32_t m_givingWayUntil = 0;
    bool m_noWay = false;
    std::array<ThingId, kMostHolders> m_inTheWay{};
    std::size_t m_inTheWayCount = 0;
    // Whether the walk has aimed at its goal since it was given, and how often the
    // goal has moved far since the walk last came nearer it than ever.
    bool m_aimed = false;
    std::uint32_t m_goalMoves = 0;
};

}  // namespace DRAV
