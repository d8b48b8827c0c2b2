#include "world/movement/pathfind_standard.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/exception.h"
#include "common/trace.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/game.h"
#include "world/movement/waypoint_calculator.h"

namespace DRAV {

namespace {

// The angles are compared at single precision, as the headings were always judged.
constexpr double kQuarterPi = 0.7853981852531433;
constexpr double kHalfPi = 1.5707963705062866;
constexpr double kThreeQuarterPi = 2.356194496154785;
constexpr double kPi = 3.1415927410125732;

// A walk along a path of its own aims at the cell this many past the farthest one
// it stands beside, and looks for itself this many cells ahead of where it was.
constexpr std::size_t kStepsAlong = 1;
constexpr std::size_t kLookAlong = 8;

// A tick is a thirtieth of a game second.
constexpr double kTicksPerSecond = 30.0;
// A goal that moves farther than this (squared) throws the waypoint away.
constexpr double kGoalMovedSquared = 25.0;
// How far a walk's goal may move off this many times without the walk coming
// nearer it than ever before it ends: one pacing beyond water is never reached.
constexpr std::uint32_t kMostGoalMoves = 12;

// Slowing effects can take the speed below zero; such an actor stands still
// rather than walking backwards.
double StepLength(const CActor& actor) { return std::max(actor.GetMoveSpeed(), 0.0) / kTicksPerSecond; }

std::uint32_t TickOf(const CArea& area) { return area.GetGame() ? area.GetGame()->GetTick() : 0u; }

std::uint32_t ThingTypeOf(const CThing& thing) { return thing.GetId() >> 24; }

// How far a coordinate lies outside a goal box's half-extent on its axis.
double Outside(double difference, double half) { return std::max(std::fabs(difference) - half, 0.0); }

// The quadrant of an angle as a direction code: 3 (-x) around pi, 2 (+y) around
// pi/2, 1 (+x) around 0, 0 (-y) around -pi/2.
int SideOfAngle(double angle) {
    if (angle > kThreeQuarterPi) return DIR_WEST;
    if (angle > kQuarterPi) return DIR_SOUTH;
    if (angle > -kQuarterPi) return DIR_EAST;
    if (angle > -kThreeQuarterPi) return DIR_NORTH;
    return DIR_WEST;
}

int Reverse(int direction) { return (direction + 2) % 4; }

// The outside cell that stops a circle of radius `r` at `coordinate` on an axis of
// `count` cells: before the first, past the last, or its own when neither.
double OutsideCellCentre(double coordinate, double r, std::uint32_t count) {
    double cell = std::floor(coordinate / kCellSize);
    if (coordinate - r < 0.0) cell = -1.0;
    else if (coordinate + r >= count * kCellSize) cell = count;
    return (cell + 0.5) * kCellSize;
}

// Where one step toward (x, y) lands; true when it reaches the point.
bool StepToward(const CActor& actor, double x, double y, double& outX, double& outY) {
    const double step = StepLength(actor);
    const double distance = actor.DistanceToPoint(x, y);
    if (step > distance || distance == 0.0) {
        outX = x;
        outY = y;
        return true;
    }
    outX = actor.GetX() - (actor.GetX() - x) * step / distance;
    outY = actor.GetY() - (actor.GetY() - y) * step / distance;
    return false;
}

}  // namespace

void CPathfindStandard::Reset() {
    m_mode = PATHFIND_NORMAL;
    m_lastBlockTick = 0;
    m_goalX = 0.0;
    m_goalY = 0.0;
    m_waypointTick = 0;
    m_heldBy = 0;
    m_nearest = std::numeric_limits<double>::infinity();
    m_stalled = 0;
    m_waits = 0;
    m_searches = 0;
    m_searchCount = 0;
    m_walkersHeldIt = false;
    m_holderCount = 0;
    m_givingWayTo = 0;
    DropOwnPath();
    m_noWay = false;
    m_inTheWayCount = 0;
    m_aimed = false;
    m_goalMoves = 0;
    m_progressTick = m_stepTick;
}

bool CPathfindStandard::IsOnItsWay(const CActor& other, std::uint32_t tick) {
    const auto* walk = dynamic_cast<const CPathfindStandard*>(other.GetPathfinder().get());
    // Asked for a step this tick or the last, whichever of the two came first.
    return walk && !walk->m_noWay && walk->m_stepTick != 0 && tick - walk->m_stepTick <= 1;
}

bool CPathfindStandard::MoveActor(CActor& actor, CArea& area, double goalX, double goalY, double halfWidth,
                                  double halfHeight) {
    m_stepTick = TickOf(area);
    const double dx = goalX - actor.GetX();
    const double dy = goalY - actor.GetY();
    if (actor.GetRadius() * actor.GetRadius() > dx * dx + dy * dy) {
        // Inside the actor's own circle: no path to find, just the last step, which
        // counts as reached even when something stands on the very point.
        double x = 0.0;
        double y = 0.0;
        const bool covers = StepToward(actor, goalX, goalY, x, y);
        CThing* blocker = nullptr;
        if (area.CanMoveTo(actor, &blocker, x, y)) {
            actor.FinalizeMove(x, y);
        } else {
            // A goal so near that something keeps the actor off it is no goal to
            // press toward for ever.
            m_heldBy = blocker && ThingTypeOf(*blocker) == THING_ACTOR ? blocker->GetId() : 0;
            NoteProgress(actor, area, goalX, goalY, halfWidth, halfHeight);
        }
        return covers;
    }

    if (m_givingWayTo != 0) {
        if (m_stepTick < m_givingWayUntil && GiveWay(actor, area)) return false;
        // Way given: on along a waypoint from where the actor now stands.
        m_givingWayTo = 0;
        m_waypointTick = 0;
        m_mode = PATHFIND_NORMAL;
    }
    double waypointX = 0.0;
    double waypointY = 0.0;
    GetWaypoint(actor, area, waypointX, waypointY, goalX, goalY, halfWidth, halfHeight);
    bool arrived = false;
    m_heldBy = 0;
    for (;;) {
        bool again = false;
        switch (m_mode) {
            case PATHFIND_NORMAL: again = MoveActorNormal(actor, area, arrived, waypointX, waypointY); break;
            case PATHFIND_WALL: again = MoveActorWall(actor, area, waypointX, waypointY); break;
            case PATHFIND_ACTOR: again = MoveActorActor(actor, area, arrived, waypointX, waypointY); break;
            default:
                throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "movement mode " + std::to_string(m_mode) +
                                                                " of " + actor.GetName());
        }
        if (!again) break;
    }
    NoteProgress(actor, area, goalX, goalY, halfWidth, halfHeight);
    return arrived;
}

void CPathfindStandard::NoteProgress(const CActor& actor, CArea& area, double goalX, double goalY, double halfWidth,
                                     double halfHeight) {
    // A walk that has no way goes on as it may until its order ends.
    if (m_noWay) return;
    const double dx = Outside(goalX - actor.GetX(), halfWidth);
    const double dy = Outside(goalY - actor.GetY(), halfHeight);
    const double bar = m_nearest - kProgress;
    const bool nearer =
        m_nearest == std::numeric_limits<double>::infinity() || (bar > 0.0 && dx * dx + dy * dy < bar * bar);
    if (nearer || m_pathAt > m_pathNoted) {
        m_progressTick = m_stepTick;
        m_pathNoted = m_pathAt;
        m_stalled = 0;
        m_holderCount = 0;
        // Only coming nearer than ever frees the walk of its waits and searches:
        // a path of its own may lead it along and back to where it was held.
        if (!nearer) return;
        m_nearest = std::sqrt(dx * dx + dy * dy);
        m_goalMoves = 0;
        m_waits = 0;
        m_searches = 0;
        m_walkersHeldIt = false;
        return;
    }
    const auto holders = m_holders.begin();
    if (m_heldBy != 0 && m_holderCount < kMostHolders &&
        std::find(holders, holders + m_holderCount, m_heldBy) == holders + m_holderCount)
        m_holders[m_holderCount++] = m_heldBy;
    if (++m_stalled < kStallSteps) return;
    m_stalled = 0;

    // People on their way make room in the end: the walk follows those going its
    // way, waits a while for those coming another, then goes round them as if they
    // stood. Those standing it goes round at once.
    const std::uint32_t tick = TickOf(area);
    bool waiting = false;
    bool closed = false;
    ThingId giveWayTo = 0;
    bool queueing = false;
    for (std::size_t i = 0; i < m_holderCount; ++i) {
        const CActor* other = area.FindActor(m_holders[i]);
        if (!other || !other->IsAlive()) continue;
        const bool onItsWay = IsOnItsWay(*other, tick);
        m_walkersHeldIt = m_walkersHeldIt || onItsWay;
        const bool mutual = onItsWay && IsHeldBy(*other, actor.GetId());
        if (onItsWay && !mutual && GoesTheSameWay(actor, *other)) {
            // Behind one going the same way the walk follows as it goes.
            queueing = true;
        } else if (mutual) {
            // Two held up by each other in a narrow way would wait for each other
            // for ever: the one of them made later gives way, the other waits.
            waiting = true;
            if (other->GetId() < actor.GetId()) giveWayTo = other->GetId();
        } else if (onItsWay && m_waits < kPatientWaits) {
            waiting = true;
        } else {
            Close(*other);
            closed = true;
        }
    }
    m_holderCount = 0;
    if (queueing && !waiting && !closed) return;
    if (waiting && !closed) {
        ++m_waits;
        if (giveWayTo != 0) {
            m_givingWayTo = giveWayTo;
            m_givingWayUntil = tick + kGiveWaySteps;
        }
        return;
    }
    if (!area.GetWaypointCalculator()->MaySearchAt(tick)) {
        // Others held up searched this tick already: this walk's turn comes on a
        // later one.
        m_stalled = kStallSteps - 1;
        return;
    }
    ++m_searches;
    const bool found = SearchOwnPath(actor, area, goalX, goalY, halfWidth, halfHeight);
    if (found)
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s takes a way of its own round %zu\n", actor.GetName().c_str(),
                   m_closedCount);
    // People on their way may yet make room: the walk goes on, by its own way or
    // waiting, until it has waited long without coming nearer. With only walls
    // and people standing in it, a way that has led nowhere nearer after a few
    // searches is none, and so is no way at all round those in it.
    bool mayMakeRoom = found && m_walkersHeldIt;
    for (std::size_t i = 0; i < m_closedCount; ++i)
        if (const CActor* other = area.FindActor(m_closed[i].id); other && IsOnItsWay(*other, tick))
            mayMakeRoom = true;
    if (mayMakeRoom ? ++m_waits < kMostWaits : found && m_searches <= kMostSearches) return;
    GiveUp(actor, area, goalX, goalY, halfWidth, halfHeight);
}

void CPathfindStandard::GiveUp(const CActor& actor, CArea& area, double goalX, double goalY, double halfWidth,
                               double halfHeight) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s finds no way\n", actor.GetName().c_str());
    m_noWay = true;
    m_inTheWayCount = 0;
    // Those gone round shut the way when there is one without them; else walls
    // do, whoever stands in front of them. A walk that still has a way round them
    // gave up on people who never made room, not on a shut way.
    if (!m_path.empty() || m_closedCount == 0) return;
    CWaypointCalculator& grid = *area.GetWaypointCalculator();
    bool cut = false;
    if (grid.FindWholePath(m_path, kMostPathCells, cut, actor.GetX(), actor.GetY(), goalX, goalY, halfWidth,
                           halfHeight, actor.GetRadius(), nullptr, 0, CWaypointCalculator::Spends::kNothing)) {
        // Of those, the ones standing on that way: not whoever else it went round.
        for (std::size_t i = 0; i < m_closedCount; ++i) {
            const CActor* other = area.FindActor(m_closed[i].id);
            if (!other || !other->IsAlive()) continue;
            const double reach = other->GetRadius() + actor.GetRadius();
            const bool onTheWay = std::any_of(m_path.begin(), m_path.end(), [&](int cell) {
                double x = 0.0;
                double y = 0.0;
                grid.StandingPoint(cell, actor.GetRadius(), x, y);
                return other->DistanceToPoint(x, y) < reach;
            });
            if (onTheWay) m_inTheWay[m_inTheWayCount++] = other->GetId();
        }
    }
    m_path.clear();
}

bool CPathfindStandard::IsHeldBy(const CActor& other, ThingId id) {
    const auto* walk = dynamic_cast<const CPathfindStandard*>(other.GetPathfinder().get());
    if (!walk) return false;
    const auto holders = walk->m_holders.begin();
    return walk->m_heldBy == id || std::find(holders, holders + walk->m_holderCount, id) != holders + walk->m_holderCount;
}

bool CPathfindStandard::GoesTheSameWay(const CActor& actor, const CActor& other) const {
    const auto* walk = dynamic_cast<const CPathfindStandard*>(other.GetPathfinder().get());
    if (!walk) return false;
    const double ax = m_goalX - actor.GetX();
    const double ay = m_goalY - actor.GetY();
    const double bx = walk->m_goalX - other.GetX();
    const double by = walk->m_goalY - other.GetY();
    return ax * bx + ay * by > 0.0;
}

bool CPathfindStandard::GiveWay(CActor& actor, CArea& area) {
    const CActor* other = area.FindActor(m_givingWayTo);
    if (!other || !other->IsAlive()) return false;
    // Once the other is well past, the way is given.
    if (actor.DistanceTo(*other) > actor.GetRadius() + other->GetRadius() + kGiveWayClear) return false;
    // Straight away from the other, else to either side of that.
    const double away = std::atan2(actor.GetY() - other->GetY(), actor.GetX() - other->GetX());
    const double step = StepLength(actor);
    for (const double turn : {0.0, kHalfPi, -kHalfPi}) {
        const double x = actor.GetX() + std::cos(away + turn) * step;
        const double y = actor.GetY() + std::sin(away + turn) * step;
        CThing* blocker = nullptr;
        if (area.CanMoveTo(actor, &blocker, x, y)) {
            actor.FinalizeMove(x, y);
            break;
        }
        // One walking behind makes room in turn, so that a file in a narrow way
        // backs out of it together.
        auto* behind = dynamic_cast<CActor*>(blocker);
        if (turn != 0.0 || !behind || !IsOnItsWay(*behind, m_stepTick)) continue;
        if (auto* walk = dynamic_cast<CPathfindStandard*>(behind->GetPathfinder().get());
            walk && walk->m_givingWayTo == 0) {
            walk->m_givingWayTo = actor.GetId();
            walk->m_givingWayUntil = m_givingWayUntil;
        }
    }
    return true;
}

void CPathfindStandard::Close(const CActor& other) {
    std::size_t slot = 0;
    while (slot < m_closedCount && m_closed[slot].id != other.GetId()) ++slot;
    if (slot == kMostHolders) {
        // Through a crowd the first met are long behind: they make room for the next.
        std::rotate(m_closed.begin(), m_closed.begin() + 1, m_closed.end());
        slot = kMostHolders - 1;
    } else if (slot == m_closedCount) {
        ++m_closedCount;
    }
    m_closed[slot] = {other.GetId(), other.GetX(), other.GetY(), other.GetRadius()};
}

bool CPathfindStandard::SearchOwnPath(const CActor& actor, CArea& area, double goalX, double goalY,
                                      double halfWidth, double halfHeight) {
    std::array<CWaypointCalculator::Closed, kMostHolders> circles{};
    for (std::size_t i = 0; i < m_closedCount; ++i)
        circles[i] = {m_closed[i].x, m_closed[i].y, m_closed[i].radius + actor.GetRadius()};
    ++m_searchCount;
    m_pathAt = 0;
    m_pathNoted = 0;
    m_path.reserve(kMostPathCells);
    if (!area.GetWaypointCalculator()->FindWholePath(m_path, kMostPathCells, m_pathCut, actor.GetX(), actor.GetY(),
                                                     goalX, goalY, halfWidth, halfHeight, actor.GetRadius(),
                                                     circles.data(), m_closedCount))
        return false;
    m_mode = PATHFIND_NORMAL;
    FollowOwnPath(actor, area, goalX, goalY, m_waypointX, m_waypointY);
    // Where the actor stands on the new path is no step along it.
    m_pathNoted = m_pathAt;
    m_waypointTick = TickOf(area);
    return true;
}

bool CPathfindStandard::ForgetThoseMoved(const CArea& area) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_closedCount; ++i) {
        const CActor* other = area.FindActor(m_closed[i].id);
        const double dx = other ? other->GetX() - m_closed[i].x : 0.0;
        const double dy = other ? other->GetY() - m_closed[i].y : 0.0;
        if (other && other->IsAlive() && dx * dx + dy * dy <= kMovedAwaySquared) m_closed[kept++] = m_closed[i];
    }
    const bool forgot = kept != m_closedCount;
    m_closedCount = kept;
    return forgot;
}

bool CPathfindStandard::FollowOwnPath(const CActor& actor, CArea& area, double goalX, double goalY, double& outX,
                                      double& outY) {
    // The waypoint is the cell after the farthest one the actor stands beside:
    // near enough that the straight walk to it keeps to the path round those it
    // goes round and does not cut a corner of them; where the actor stands in it,
    // off the walls beside it, so that a wide walker along a wall clears its posts.
    const CWaypointCalculator& grid = *area.GetWaypointCalculator();
    const int column = static_cast<int>(std::floor(actor.GetX() / kCellSize));
    const int row = static_cast<int>(std::floor(actor.GetY() / kCellSize));
    const std::size_t before = m_pathAt;
    const std::size_t last = std::min(m_path.size(), m_pathAt + kLookAlong);
    for (std::size_t i = m_pathAt; i < last; ++i) {
        const int cell = m_path[i];
        if (std::abs(cell % grid.GetWidth() - column) <= 1 && std::abs(cell / grid.GetWidth() - row) <= 1) m_pathAt = i;
    }
    if (m_pathAt + kStepsAlong >= m_path.size() && !m_pathCut) {
        // The path's end is near: straight at the goal, as any near goal is walked.
        outX = goalX;
        outY = goalY;
    } else if (m_pathAt + kStepsAlong >= m_path.size()) {
        grid.StandingPoint(m_path.back(), actor.GetRadius(), outX, outY);
    } else {
        grid.StandingPoint(m_path[m_pathAt + kStepsAlong], actor.GetRadius(), outX, outY);
    }
    return m_pathAt > before;
}

void CPathfindStandard::DropOwnPath() {
    m_path.clear();
    m_pathCut = false;
    m_pathAt = 0;
    m_pathNoted = 0;
    m_closedCount = 0;
}

void CPathfindStandard::FollowMovedGoal(const CActor& actor, CArea& area, double goalX, double goalY,
                                        double halfWidth, double halfHeight) {
    m_goalX = goalX;
    m_goalY = goalY;
    m_waypointTick = 0;
    m_mode = PATHFIND_NORMAL;
    // The walk goes on as it was, its waits, searches and the nearest it came all
    // kept: a goal that moves now and then gives a walk no fresh start, or one
    // pacing out of reach would be walked at for ever.
    if (++m_goalMoves > kMostGoalMoves) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s never comes nearer its moving goal\n", actor.GetName().c_str());
        m_noWay = true;
    }
    // A way of its own leads where the goal was: searched anew round the same
    // people, or given up for the waypoints when no search may run now.
    if (!m_path.empty() && !(area.GetWaypointCalculator()->MaySearchAt(TickOf(area)) &&
                             SearchOwnPath(actor, area, goalX, goalY, halfWidth, halfHeight)))
        DropOwnPath();
}

void CPathfindStandard::GetWaypoint(const CActor& actor, CArea& area, double& outX, double& outY, double goalX,
                                    double goalY, double halfWidth, double halfHeight) {
    const double movedX = m_goalX - goalX;
    const double movedY = m_goalY - goalY;
    if (!m_aimed) {
        m_aimed = true;
        m_goalX = goalX;
        m_goalY = goalY;
    } else if (movedX * movedX + movedY * movedY > kGoalMovedSquared) {
        FollowMovedGoal(actor, area, goalX, goalY, halfWidth, halfHeight);
    }
    const std::uint32_t tick = TickOf(area);
    bool keep = false;
    if (m_waypointTick != 0) {
        const std::uint32_t elapsed = tick - m_waypointTick;
        const double travel = elapsed / kTicksPerSecond * actor.GetMoveSpeed();
        const double wx = m_waypointX - actor.GetX();
        const double wy = m_waypointY - actor.GetY();
        // Not yet able to have covered half the way: the waypoint still holds.
        keep = 4.0 * travel * travel <= wx * wx + wy * wy;
    }
    if (!keep) {
        // Someone the walk's own path goes round has made room: the path is
        // searched again round those still standing, which may now be the plain
        // way. Only then: a path is not searched anew at every waypoint.
        // A path cut short is searched on from near its end in the same way.
        const bool nearCut = m_pathCut && m_pathAt + kLookAlong >= m_path.size();
        if (!m_path.empty() && area.GetWaypointCalculator()->MaySearchAt(tick) &&
            (ForgetThoseMoved(area) || nearCut) && !SearchOwnPath(actor, area, goalX, goalY, halfWidth, halfHeight))
            DropOwnPath();
        if (!m_path.empty())
            FollowOwnPath(actor, area, goalX, goalY, m_waypointX, m_waypointY);
        else
            area.GetWaypointCalculator()->GetNextWaypoint(m_waypointX, m_waypointY, actor.GetX(), actor.GetY(),
                                                          goalX, goalY, halfWidth, halfHeight);
        m_waypointTick = tick;
    }
    outX = m_waypointX;
    outY = m_waypointY;
}

bool CPathfindStandard::TryStraightStep(CActor& actor, const CArea& area, bool& arrived, CThing*& blocker, double x,
                                        double y) {
    double nextX = 0.0;
    double nextY = 0.0;
    const bool reaches = StepToward(actor, x, y, nextX, nextY);
    if (!area.CanMoveTo(actor, &blocker, nextX, nextY)) return false;
    actor.FinalizeMove(nextX, nextY);
    arrived = reaches;
    return true;
}

void CPathfindStandard::StepInDirection(const CActor& actor, int direction, double& outX, double& outY) const {
    const double step = StepLength(actor);
    outX = actor.GetX();
    outY = actor.GetY();
    switch (direction) {
        case DIR_NORTH: outY -= step; break;
        case DIR_EAST: outX += step; break;
        case DIR_SOUTH: outY += step; break;
        case DIR_WEST: outX -= step; break;
        default:
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "step direction " + std::to_string(direction) + " of " +
                                                            actor.GetName());
    }
}

bool CPathfindStandard::MoveActorNormal(CActor& actor, CArea& area, bool& arrived, double waypointX,
                                        double waypointY) {
    CThing* blocker = nullptr;
    if (TryStraightStep(actor, area, arrived, blocker, waypointX, waypointY)) return false;

    const double heading = std::atan2(waypointY - actor.GetY(), waypointX - actor.GetX());
    const int verticalIntent = heading > 0.0 ? DIR_SOUTH : DIR_NORTH;
    const int horizontalIntent = -kHalfPi < heading && heading < kHalfPi ? DIR_EAST : DIR_WEST;

    if (!blocker) {
        // The grid's edge: a wall of the cells beyond it.
        double x = 0.0;
        double y = 0.0;
        StepToward(actor, waypointX, waypointY, x, y);
        FaceTile(actor, OutsideCellCentre(x, actor.GetRadius(), area.GetColumns()),
                 OutsideCellCentre(y, actor.GetRadius(), area.GetRows()), verticalIntent, horizontalIntent);
        return true;
    }
    const auto traceBlocked = [&](const std::string& name, double x, double y) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s (%g, %g) moves to (%g, %g) blocked by %s (%g, %g)\n",
                   actor.GetName().c_str(), actor.GetX(), actor.GetY(), waypointX, waypointY, name.c_str(), x, y);
    };
    const std::uint32_t type = ThingTypeOf(*blocker);
    if (type == THING_TILE) {
        const std::uint32_t serial = blocker->GetId() & kMaxThingSerial;
        const double column = serial % kMaxAreaColumns;
        const double row = serial / kMaxAreaColumns;
        FaceTile(actor, (column + 0.5) * kCellSize, (row + 0.5) * kCellSize, verticalIntent, horizontalIntent);
        return true;
    }
    if (const auto* object = dynamic_cast<const CObject*>(blocker); object && type == THING_OBJECT) {
        FaceObject(actor, *object, heading, verticalIntent, horizontalIntent);
        traceBlocked(object->GetName(), object->GetX(), object->GetY());
        return true;
    }
    if (const auto* other = dynamic_cast<const CActor*>(blocker); other && type == THING_ACTOR) {
        traceBlocked(other->GetName(), other->GetX(), other->GetY());
        m_mode = PATHFIND_ACTOR;
        m_blockerId = other->GetId();
        m_heldBy = m_blockerId;
        const double bearing = std::atan2(other->GetY() - actor.GetY(), other->GetX() - actor.GetX());
        const double difference = heading - bearing;
        m_turnLeft = difference > 0.0 ? difference < kPi : difference <= -kPi;
        return true;
    }
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE,
                         actor.GetName() + " is blocked by a thing of type " + std::to_string(type));
}

void CPathfindStandard::FaceTile(const CActor& actor, double centreX, double centreY, int verticalIntent,
                                 int horizontalIntent) {
    m_mode = PATHFIND_WALL;
    int side = SideOfAngle(std::atan2(centreY - actor.GetY(), centreX - actor.GetX()));
    // A wall the actor is heading away from is not the one to slide along: take
    // the face across its way instead.
    if (side == DIR_NORTH && verticalIntent == DIR_SOUTH) side = horizontalIntent;
    else if (side == DIR_EAST && horizontalIntent == DIR_WEST) side = verticalIntent;
    else if (side == DIR_SOUTH && verticalIntent == DIR_NORTH) side = horizontalIntent;
    else if (side == DIR_WEST && horizontalIntent == DIR_EAST) side = verticalIntent;
    m_wallSide = side;
    const double half = kCellSize / 2.0;
    switch (side) {
        case DIR_NORTH: m_slideDirection = horizontalIntent; m_wallCoordinate = centreY + half; break;
        case DIR_EAST: m_slideDirection = verticalIntent; m_wallCoordinate = centreX - half; break;
        case DIR_SOUTH: m_slideDirection = horizontalIntent; m_wallCoordinate = centreY - half; break;
        default: m_slideDirection = verticalIntent; m_wallCoordinate = centreX + half; break;
    }
}

void CPathfindStandard::FaceObject(const CActor& actor, const CObject& object, double heading, int verticalIntent,
                                   int horizontalIntent) {
    m_mode = PATHFIND_WALL;
    const double x = actor.GetX();
    const double y = actor.GetY();
    const double ox = object.GetX();
    const double oy = object.GetY();
    double hx = 0.0;
    double hy = 0.0;
    object.GetHalfExtents(hx, hy);
    if (ox - hx < x && x < ox + hx) m_wallSide = verticalIntent;
    else if (oy - hy < y && y < oy + hy) m_wallSide = horizontalIntent;
    else m_wallSide = SideOfAngle(heading);
    switch (m_wallSide) {
        case DIR_NORTH:
            m_slideDirection = horizontalIntent;
            m_wallCoordinate = oy > y ? oy - hy : oy + hy;
            break;
        case DIR_SOUTH:
            m_slideDirection = horizontalIntent;
            m_wallCoordinate = y > oy ? oy + hy : oy - hy;
            break;
        case DIR_EAST:
            m_slideDirection = verticalIntent;
            m_wallCoordinate = x > ox ? ox + hx : ox - hx;
            break;
        default:
            m_slideDirection = verticalIntent;
            m_wallCoordinate = ox <= x ? ox + hx : ox - hx;
            break;
    }
}

bool CPathfindStandard::MoveActorWall(CActor& actor, CArea& area, double waypointX, double waypointY) {
    const double c = m_wallCoordinate;
    const double r = actor.GetRadius();
    const double x = actor.GetX();
    const double y = actor.GetY();
    bool leave = false;
    switch (m_wallSide) {
        case DIR_NORTH: leave = c - r > y || waypointY > c + 2.0 * r; break;
        case DIR_SOUTH: leave = y > c + r || waypointY < c - 2.0 * r; break;
        case DIR_EAST: leave = x > c + r || waypointX < c - 2.0 * r; break;
        case DIR_WEST: leave = c - r > x || waypointX > c + 2.0 * r; break;
        default:
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "wall side " + std::to_string(m_wallSide) + " of " +
                                                            actor.GetName());
    }
    if (leave) {
        m_mode = PATHFIND_NORMAL;
        return false;
    }

    double nextX = 0.0;
    double nextY = 0.0;
    // The wall may have ended: try toward it first.
    StepInDirection(actor, m_wallSide, nextX, nextY);
    if (area.CanMoveTo(actor, nullptr, nextX, nextY)) {
        actor.FinalizeMove(nextX, nextY);
        return false;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        StepInDirection(actor, m_slideDirection, nextX, nextY);
        CThing* blocker = nullptr;
        if (area.CanMoveTo(actor, &blocker, nextX, nextY)) {
            actor.FinalizeMove(nextX, nextY);
            return false;
        }
        if (blocker && ThingTypeOf(*blocker) == THING_ACTOR) {
            m_heldBy = blocker->GetId();
            if (WaitForActor(TickOf(area))) return false;
        }
        if (attempt == 0) m_slideDirection = Reverse(m_slideDirection);
    }
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s moves to (%g, %g) blocked\n", actor.GetName().c_str(), nextX, nextY);
    return false;
}

bool CPathfindStandard::WaitForActor(std::uint32_t tick) {
    if (tick != m_lastBlockTick + 1) {
        m_blockCount = 0;
        m_lastBlockTick = tick;
        return true;
    }
    if (m_blockCount < 30) {
        ++m_blockCount;
        m_lastBlockTick = tick;
        return true;
    }
    // Waited long enough: turn round along the wall.
    m_lastBlockTick = 0;
    return false;
}

bool CPathfindStandard::MoveActorActor(CActor& actor, CArea& area, bool& arrived, double waypointX,
                                       double waypointY) {
    const CActor* other = area.FindActor(m_blockerId);
    if (!other) {
        m_mode = PATHFIND_NORMAL;
        return false;
    }
    m_heldBy = m_blockerId;
    if (other->DistanceToPoint(waypointX, waypointY) >= actor.DistanceToPoint(waypointX, waypointY)) {
        // It no longer stands between the actor and the waypoint: walk on if it lets us.
        CThing* blocker = nullptr;
        if (TryStraightStep(actor, area, arrived, blocker, waypointX, waypointY) || blocker != other) {
            m_mode = PATHFIND_NORMAL;
            return false;
        }
    }
    if (actor.DistanceTo(*other) > other->GetRadius() + actor.GetRadius() + kCellSize) {
        m_mode = PATHFIND_NORMAL;
        return false;
    }
    // Two actors in each other's way turn the same way, so they pass instead of
    // stepping in front of each other again.
    if (const auto* theirs = dynamic_cast<const CPathfindStandard*>(other->GetPathfinder().get());
        theirs && theirs->m_mode == PATHFIND_ACTOR && theirs->m_blockerId == actor.GetId() &&
        theirs->m_turnLeft != m_turnLeft)
        m_turnLeft = !m_turnLeft;

    const double step = StepLength(actor);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const double bearing = std::atan2(other->GetY() - actor.GetY(), other->GetX() - actor.GetX());
        const double angle = m_turnLeft ? bearing + kHalfPi : bearing - kHalfPi;
        const double x = actor.GetX() + std::cos(angle) * step;
        const double y = actor.GetY() + std::sin(angle) * step;
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s try turning %s, move to (%g, %g)\n", actor.GetName().c_str(),
                   m_turnLeft ? "left" : "right", x, y);
        CThing* blocker = nullptr;
        if (area.CanMoveTo(actor, &blocker, x, y)) {
            actor.FinalizeMove(x, y);
            return false;
        }
        if (attempt == 1) break;
        if (const auto* nearer = dynamic_cast<const CActor*>(blocker)) {
            if (nearer->DistanceToPoint(waypointX, waypointY) < actor.DistanceToPoint(waypointX, waypointY)) {
                m_blockerId = nearer->GetId();
                return false;
            }
        }
        m_turnLeft = !m_turnLeft;
    }
    return false;
}

}  // namespace DRAV
