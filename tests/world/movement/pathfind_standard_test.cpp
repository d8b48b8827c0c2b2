// The standard movement on maps drawn as text: keeping and renewing waypoints,
// sliding along walls and objects, stepping round actors, and whole walks.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/expect_drav.h"
#include "world/movement/pathfind_standard.h"
#include "world/movement/text_map.h"
#include "world/movement/walk.h"

using namespace DRAV;
using MovementTest::CellMark;
using MovementTest::TextMap;
using MovementTest::WalkAll;
using MovementTest::Walker;
using MovementTest::WalkTo;

namespace {

CPathfindStandard& Standard(CActor& actor) { return dynamic_cast<CPathfindStandard&>(*actor.GetPathfinder()); }

// A straight step toward the waypoint is stopped, and the actor takes to sliding
// along the face on `side` toward `slide`, the face lying at `coordinate`.
void ExpectWall(CActor& actor, CArea& area, double waypointX, double waypointY, int side, int slide,
                double coordinate) {
    bool arrived = false;
    const double x = actor.GetX();
    const double y = actor.GetY();
    EXPECT_TRUE(Standard(actor).MoveActorNormal(actor, area, arrived, waypointX, waypointY));
    EXPECT_EQ(Standard(actor).GetMode(), PATHFIND_WALL);
    EXPECT_EQ(Standard(actor).GetWallSide(), side);
    EXPECT_EQ(Standard(actor).GetSlideDirection(), slide);
    EXPECT_DOUBLE_EQ(Standard(actor).GetWallCoordinate(), coordinate);
    EXPECT_EQ(actor.GetX(), x);
    EXPECT_EQ(actor.GetY(), y);
}

}  // namespace

TEST(Pathfind, EveryActorOwnsAStandardPathfinderThatForgetsWithItsOrders) {
    TextMap map({
        ".....",
        "..#..",
        "..A..",
    });
    const auto actor = map.Walker(6.25, 5.6);
    CPathfindStandard& pathfinder = Standard(*actor);
    bool arrived = false;
    EXPECT_TRUE(pathfinder.MoveActorNormal(*actor, map.area, arrived, 6.25, 1.25));
    EXPECT_EQ(pathfinder.GetMode(), PATHFIND_WALL);
    actor->ClearOrders();
    EXPECT_EQ(pathfinder.GetMode(), PATHFIND_NORMAL);
    // A step turns the actor the way it went: facing 0 is toward -y.
    actor->FinalizeMove(actor->GetX() + 1.0, actor->GetY());
    EXPECT_NEAR(actor->GetFacing(), -1.5707963705062866, 1e-12);
}

TEST(Pathfind, AGoalInsideTheActorIsReachedWhenAStepCoversIt) {
    TextMap map({
        ".....",
        ".....",
        ".....",
    });
    const auto actor = map.Walker(6.25, 3.75, 1.0);
    // Something stands on the very point: the step is refused, yet reported done.
    map.Walker(6.25 + 0.3 + 0.9, 3.75, 0.5);
    EXPECT_TRUE(actor->GetPathfinder()->MoveActor(*actor, map.area, 6.55, 3.75, 0.0, 0.0));
    EXPECT_DOUBLE_EQ(actor->GetX(), 6.25);
    // Inside the circle but beyond one step (10 units a second: a third of a unit).
    EXPECT_FALSE(actor->GetPathfinder()->MoveActor(*actor, map.area, 5.35, 3.75, 0.0, 0.0));
    EXPECT_NEAR(actor->GetX(), 6.25 - 1.0 / 3.0, 1e-12);
    EXPECT_EQ(Standard(*actor).GetMode(), PATHFIND_NORMAL);
    // Slowed below zero, an actor stands still instead of backing away.
    actor->SetBaseMovementSpeed(-60);
    ASSERT_LT(actor->GetMoveSpeed(), 0.0);
    const double x = actor->GetX();
    EXPECT_FALSE(actor->GetPathfinder()->MoveActor(*actor, map.area, x - 0.9, 3.75, 0.0, 0.0));
    EXPECT_FALSE(actor->GetPathfinder()->MoveActor(*actor, map.area, x + 8.0, 3.75, 0.0, 0.0));
    EXPECT_EQ(actor->GetX(), x);
}

TEST(Pathfind, AWaypointLastsUntilTheGoalMovesFarOrHalfTheWayCouldBeWalked) {
    TextMap map({
        "........................",
        "#S......................",
        "........................",
        "........................",
    });
    const auto actor = map.Walker('S');
    CPathfindStandard& pathfinder = Standard(*actor);
    double x = 0.0;
    double y = 0.0;
    map.game.SetTick(10);
    // Six cells along the row: the cell three steps from the start.
    pathfinder.GetWaypoint(*actor, map.area, x, y, 6 * 2.5 + 1.25, 3.75, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(x, 4 * 2.5 + 1.25);
    // Facing the wall behind, the actor goes into wall mode.
    bool arrived = false;
    for (int step = 0; step < 10 && pathfinder.GetMode() == PATHFIND_NORMAL; ++step)
        pathfinder.MoveActorNormal(*actor, map.area, arrived, -5.0, 3.75);
    ASSERT_EQ(pathfinder.GetMode(), PATHFIND_WALL);

    // The goal moves 4 units down: the waypoint and the mode stay.
    map.game.SetTick(11);
    pathfinder.GetWaypoint(*actor, map.area, x, y, 6 * 2.5 + 1.25, 3.75 + 4.0, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(x, 4 * 2.5 + 1.25);
    EXPECT_DOUBLE_EQ(y, 3.75);
    EXPECT_EQ(pathfinder.GetMode(), PATHFIND_WALL);
    // 6 units along: reset, and a waypoint for eight cells at once.
    map.game.SetTick(12);
    pathfinder.GetWaypoint(*actor, map.area, x, y, 6 * 2.5 + 1.25 + 6.0, 3.75, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(x, 5 * 2.5 + 1.25);
    EXPECT_EQ(pathfinder.GetMode(), PATHFIND_NORMAL);
}

TEST(Pathfind, AWalkerAtOneUnitATickRenewsItsWaypointOnTheFourthTick) {
    TextMap map({
        "..............................",
        "..............................",
        "..............................",
    });
    const auto actor = map.Walker(4.75, 3.75, 0.5, 100);
    ASSERT_DOUBLE_EQ(actor->GetMoveSpeed(), 30.0);
    CPathfindStandard& pathfinder = Standard(*actor);
    double x = 0.0;
    double y = 0.0;
    map.game.SetTick(50);
    pathfinder.GetWaypoint(*actor, map.area, x, y, 70.0, 3.75, 0.0, 0.0);
    ASSERT_DOUBLE_EQ(x, 13.75);
    for (int tick = 1; tick <= 4; ++tick) {
        actor->SetPosition(4.75 + tick, 3.75);
        map.game.SetTick(50 + tick);
        pathfinder.GetWaypoint(*actor, map.area, x, y, 70.0, 3.75, 0.0, 0.0);
        EXPECT_DOUBLE_EQ(x, tick < 4 ? 13.75 : 18.75) << tick;
    }
}

TEST(Pathfind, AWallAheadIsSlidAlongUntilTheWayOpens) {
    TextMap map({
        "........",
        "..#.....",
        "........",
    });
    // Heading up and right into the wall's lower face.
    const auto actor = map.Walker(6.25, 5.6);
    CPathfindStandard& pathfinder = Standard(*actor);
    ExpectWall(*actor, map.area, 11.25, 1.25, DIR_NORTH, DIR_EAST, 5.0);

    int slides = 0;
    while (actor->GetY() == 5.6 && slides < 20) {
        const double x = actor->GetX();
        EXPECT_FALSE(pathfinder.MoveActorWall(*actor, map.area, 11.25, 1.25));
        if (actor->GetY() == 5.6) {
            EXPECT_NEAR(actor->GetX(), x + 1.0 / 3.0, 1e-12);
        }
        ++slides;
    }
    // Clear of the wall's corner (x 7.5 plus most of the radius), it steps up.
    EXPECT_GT(actor->GetX(), 7.9);
    EXPECT_LT(actor->GetY(), 5.6);
    // Past the face by a radius, it leaves wall mode.
    while (pathfinder.GetMode() == PATHFIND_WALL && actor->GetY() > 4.0)
        pathfinder.MoveActorWall(*actor, map.area, 11.25, 1.25);
    EXPECT_EQ(pathfinder.GetMode(), PATHFIND_NORMAL);

    // Due -x into a wall: its +x face, sliding toward +y.
    TextMap wallLeft({
        "........",
        "........",
        "..#.....",
        "........",
    });
    ExpectWall(*wallLeft.Walker(8.1, 6.25), wallLeft.area, 1.25, 6.25, DIR_WEST, DIR_SOUTH, 7.5);
}

TEST(Pathfind, AnObjectOrTheGridsEdgeIsAWallToo) {
    TextMap map({
        "......",
        "......",
        "..c...",
        "......",
    });
    // Straight down onto the chest's upper face (it spans x 5.5-7, y 5.75-6.75).
    ExpectWall(*map.Walker(6.0, 5.1), map.area, 7.0, 15.0, DIR_SOUTH, DIR_EAST, 5.75);

    // Walking off the top edge of the grid: a wall of the cells beyond it.
    ExpectWall(*map.Walker(12.0, 0.6), map.area, 14.0, -5.0, DIR_NORTH, DIR_EAST, 0.0);
}

TEST(Pathfind, ABlockerOfAnotherKindIsAnError) {
    TextMap map({
        ".....",
        ".....",
    });
    const auto actor = map.Walker(3.75, 1.25);
    // An actor-shaped thing whose id says it is an item.
    auto odd = std::make_shared<CActor>(0x05000001);
    odd->SetPosition(5.0, 1.25);
    odd->SetRadius(0.5);
    map.area.AddActor(odd);
    bool arrived = false;
    EXPECT_DRAV_CODE(Standard(*actor).MoveActorNormal(*actor, map.area, arrived, 11.25, 1.25), 2);
    double x = 0.0;
    double y = 0.0;
    EXPECT_DRAV_CODE(Standard(*actor).StepInDirection(*actor, 4, x, y), 2);
}

TEST(Pathfind, ASlideBlockedByAStandingActorWaits31TicksThenTurnsRound) {
    TextMap map({
        "........",
        "...#....",
        "........",
    });
    const auto actor = map.Walker(8.75, 5.6);
    map.Walker(8.75 + 1.2, 5.6);
    CPathfindStandard& pathfinder = Standard(*actor);
    ExpectWall(*actor, map.area, 11.25, 1.25, DIR_NORTH, DIR_EAST, 5.0);
    for (int tick = 100; tick < 131; ++tick) {
        map.game.SetTick(tick);
        pathfinder.MoveActorWall(*actor, map.area, 11.25, 1.25);
        ASSERT_DOUBLE_EQ(actor->GetX(), 8.75) << "moved at tick " << tick;
    }
    map.game.SetTick(131);
    pathfinder.MoveActorWall(*actor, map.area, 11.25, 1.25);
    EXPECT_NEAR(actor->GetX(), 8.75 - 1.0 / 3.0, 1e-12);
    EXPECT_EQ(pathfinder.GetSlideDirection(), DIR_WEST);

}

TEST(Pathfind, AnActorWalksRoundAnLShapedWallToItsGoal) {
    TextMap map({
        "............",
        "...S........",
        "............",
        "..#######...",
        "........#...",
        "........#...",
        "...G....#...",
        "............",
    });
    const auto actor = map.Walker('S', 0.6);
    EXPECT_TRUE(WalkTo(map.area, actor, map.At('G').x(), map.At('G').y(), 600));
}

TEST(Pathfind, TwoActorsMeetingHeadOnPass) {
    TextMap map({
        "..............",
        "..............",
        "..A........B..",
        "..............",
        "..............",
    });
    const auto left = map.Walker('A', 0.6);
    const auto right = map.Walker('B', 0.6);
    std::vector<Walker> walkers{{left, map.At('B').x(), map.At('B').y()}, {right, map.At('A').x(), map.At('A').y()}};
    EXPECT_TRUE(WalkAll(map.area, walkers, 600));
}

namespace {

// How a walk ended: "arrived", "no way", or "never ended" in the ticks given.
struct WalkEnd {
    std::string end;
    int ticks = 0;
};

// Walks `walker` to (goalX, goalY) as the engine's move step does, with `others`
// walking to their own goals at the same time, until it arrives, has no way or
// `ticks` have passed. A goal that paces goes `pace` units east and back, a second each way.
WalkEnd WalkUntilEnd(CArea& area, const std::shared_ptr<CActor>& walker, double homeX, double goalY,
                     std::vector<Walker> others, int ticks, double pace = 0.0) {
    CGame& game = *area.GetGame();
    for (int tick = 1; tick <= ticks; ++tick) {
        game.SetTick(100 + tick);
        const double goalX = homeX + (tick / 30 % 2) * pace;
        const double step = walker->GetMoveSpeed() / 30.0;
        if (walker->DistanceToPoint(goalX, goalY) <= step) return {"arrived", tick};
        walker->GetPathfinder()->MoveActor(*walker, area, goalX, goalY, 0.0, 0.0);
        if (walker->GetPathfinder()->HasNoWay()) return {"no way", tick};
        for (Walker& other : others) {
            if (other.arrived || other.actor->DistanceToPoint(other.goalX, other.goalY) <= step) {
                other.arrived = true;
                continue;
            }
            other.actor->GetPathfinder()->MoveActor(*other.actor, area, other.goalX, other.goalY, 0.0, 0.0);
        }
    }
    return {"never ended", ticks};
}

// A wall across a field 44 cells wide at row 8 with a one-cell gap at column 6,
// and with `secondGap` another 18 cells along it; a walker above the wall near
// the first gap.
std::vector<std::string> WallAcrossAField(bool secondGap) {
    std::vector<std::string> lines(30, std::string(44, '.'));
    lines[8] = std::string(44, '#');
    lines[8][6] = '.';
    if (secondGap) lines[8][24] = '.';
    lines[5][5] = 'S';
    return lines;
}

}  // namespace

// A walker meets someone in a one-cell gap of a long wall, standing there or
// walking through it the other way.
TEST(Pathfind, AWalkHeldUpInAGapArrivesGoesRoundOrHasNoWay) {
    struct Goal {
        const char* where;
        CellMark cell;
    };
    const Goal goals[] = {{"near, just through the gap", {6, 11}},
                          {"far below the gap", {6, 27}},
                          {"far and diagonal", {40, 27}},
                          {"diagonal on the first gap's side", {1, 20}}};
    struct Layout {
        const char* what;
        bool secondGap;
        bool personWalks;
        const char* expected;
    };
    const Layout layouts[] = {{"one gap, someone standing in it", false, false, "no way"},
                              {"two gaps, someone standing in the first", true, false, "arrived"},
                              {"one gap, someone walking through it", false, true, "arrived"}};
    for (const Layout& layout : layouts) {
        for (const Goal& goal : goals) {
            SCOPED_TRACE(std::string(layout.what) + "; the goal " + goal.where);
            TextMap map(WallAcrossAField(layout.secondGap));
            const auto walker = map.Walker('S', 0.6);
            // Standing in the gap, or coming up through it from below.
            const CellMark from{6, layout.personWalks ? 10 : 8};
            const auto person = map.Walker(from.x(), from.y(), 1.0);
            std::vector<Walker> others;
            if (layout.personWalks) others.push_back({person, from.x(), CellMark{6, 2}.y()});
            const WalkEnd walk = WalkUntilEnd(map.area, walker, goal.cell.x(), goal.cell.y(), others, 3000);
            EXPECT_EQ(walk.end, layout.expected)
                << "after " << walk.ticks << " ticks at " << walker->GetX() << ", " << walker->GetY();
            if (std::string(layout.expected) == "no way") {
                // Said from before the wall within ten seconds, not after pressing on.
                EXPECT_LT(walk.ticks, 900);
                EXPECT_LT(walker->GetY(), 8 * 2.5);
            }
        }
    }
}

// Where nothing leads to the goal a walk says so instead of sliding along the
// walls for ever, at its first search where the goal is no place to stand.
TEST(Pathfind, AWalkTheWaypointsCannotLeadTakesItsOwnWayOrHasNone) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        double radius;
        const char* expected;
        int within;  // ticks
        int goalAboveG = 0;  // rows above the cell marked G, for a goal no mark can stand on
        double pace = 0.0;
    };
    const Case cases[] = {
        {"off a pier one cell wide between water",
         {"~~~~~~~~~~~~", "~S...~~~~~~~", "~~~.~~~~~~~~", "....~~~.....", ".........G..", "............"}, 0.6,
         "arrived", 900},
        {"into a walled yard with no gate",
         {"............", ".S..........", "......#####.", "......#.G.#.", "......#...#.", "......#####."}, 0.6,
         "no way", 900},
        {"to a point in the water by the bank",
         {"~~~~~~~~~~~~", "~~~~~~~~~~~~", "......G.....", "............", "....S.......", "............"}, 0.6,
         "no way", 200, 1},
        {"into a nook one cell wide, narrower than the walker",
         {"............", ".S..........", "............", "....#.#.....", "....#G#.....", "....###....."}, 1.5,
         "no way", 200},
        {"through a gap two cells wide, wide enough for the walker",
         {"..........", "..S.......", "..........", "####..####", "..........", "........G.", ".........."},
         1.5, "arrived", 900},
        {"to one pacing in a walled yard with no gate",
         {"..............", ".S............", "......#######.", "......#.G...#.", "......#######."}, 0.6, "no way",
         900, 0, 6.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TextMap map(c.lines);
        const auto walker = map.Walker('S', c.radius);
        const double goalY = map.At('G').y() - c.goalAboveG * 2.5;
        const WalkEnd walk = WalkUntilEnd(map.area, walker, map.At('G').x(), goalY, {}, 3000, c.pace);
        EXPECT_EQ(walk.end, c.expected)
            << "after " << walk.ticks << " ticks at " << walker->GetX() << ", " << walker->GetY();
        EXPECT_LT(walk.ticks, c.within);
        walker->ClearOrders();
        EXPECT_FALSE(Standard(*walker).HasNoWay());
        EXPECT_FALSE(Standard(*walker).HasOwnPath());
    }
}

// A corridor that winds to and fro across the field is longer than the path a walk
// keeps whole: the walk searches on from near the end of what it kept.
TEST(Pathfind, AWayLongerThanAWalkKeepsIsSearchedOnToItsEnd) {
    std::vector<std::string> lines(31, std::string(40, '.'));
    for (std::size_t row = 1; row < lines.size(); row += 2) {
        lines[row] = std::string(40, '#');
        lines[row][row % 4 == 1 ? 39 : 0] = '.';
    }
    lines[0][0] = 'S';
    lines[30][0] = 'G';
    TextMap map(lines);
    const auto walker = map.Walker('S', 0.5, 100);
    const WalkEnd walk = WalkUntilEnd(map.area, walker, map.At('G').x(), map.At('G').y(), {}, 6000);
    EXPECT_EQ(walk.end, "arrived") << "after " << walk.ticks << " ticks at " << walker->GetX() << ", " << walker->GetY();
    EXPECT_GE(Standard(*walker).GetSearchCount(), 2u);
}

// Sixteen walkers held up at one moment by a wall across the whole field: each
// search of theirs opens the whole field.
TEST(Pathfind, ACrowdHeldUpAtOnceSearchesOverTheFollowingTicks) {
    constexpr int kWalkers = 16;
    // Cells apart, and to the east of the last: sliding along the wall together
    // none holds up another.
    constexpr int kApart = 8;
    constexpr int kWidth = kApart * kWalkers + 2 * kApart;
    std::vector<std::string> lines(12, std::string(kWidth, '.'));
    lines[6] = std::string(kWidth, '#');
    TextMap map(lines);
    const auto column = [](int i) { return (kApart * i + kApart / 2) * 2.5 + 1.25; };
    std::vector<std::shared_ptr<CActor>> walkers;
    for (int i = 0; i < kWalkers; ++i) walkers.push_back(map.Walker(column(i), 3 * 2.5 + 1.25, 0.6));
    std::vector<int> searchedAt(kWalkers, 0);
    std::vector<int> noWayAt(kWalkers, 0);
    for (int tick = 1; tick <= 600; ++tick) {
        map.game.SetTick(100 + tick);
        for (int i = 0; i < kWalkers; ++i) {
            if (noWayAt[i]) continue;
            walkers[i]->GetPathfinder()->MoveActor(*walkers[i], map.area, column(i), 10 * 2.5 + 1.25, 0.0, 0.0);
            if (!searchedAt[i] && Standard(*walkers[i]).GetSearchCount() > 0) searchedAt[i] = tick;
            if (walkers[i]->GetPathfinder()->HasNoWay()) noWayAt[i] = tick;
        }
    }
    const int first = *std::min_element(searchedAt.begin(), searchedAt.end());
    ASSERT_GT(first, 0) << "nobody searched";
    EXPECT_LT(std::count(searchedAt.begin(), searchedAt.end(), first), kWalkers / 2) << "searched in one tick";
    for (int i = 0; i < kWalkers; ++i) {
        SCOPED_TRACE("walker " + std::to_string(i));
        EXPECT_GT(noWayAt[i], 0);
        EXPECT_LE(noWayAt[i] - first, 30);
    }
}
