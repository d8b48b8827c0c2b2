// The area's path search on maps drawn as text: the grid it lays, the distance
// gates, the goal box, and which cell along the path it answers with.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "world/movement/text_map.h"
#include "world/movement/waypoint_calculator.h"

using namespace DRAV;
using MovementTest::CellMark;
using MovementTest::TextMap;

namespace {

struct Point {
    double x;
    double y;
};

Point Waypoint(TextMap& map, double fromX, double fromY, double goalX, double goalY, double half = 0.0) {
    Point out{-1.0, -1.0};
    map.area.GetWaypointCalculator()->GetNextWaypoint(out.x, out.y, fromX, fromY, goalX, goalY, half, half);
    return out;
}

Point Waypoint(TextMap& map, char from, char goal, double half = 0.0) {
    const CellMark start = map.At(from);
    const CellMark end = map.At(goal);
    return Waypoint(map, start.x(), start.y(), end.x(), end.y(), half);
}

#define EXPECT_AT_CELL(point, column, row)       \
    do {                                         \
        EXPECT_DOUBLE_EQ((point).x, (column) * 2.5 + 1.25); \
        EXPECT_DOUBLE_EQ((point).y, (row) * 2.5 + 1.25);    \
    } while (0)

}  // namespace

TEST(WaypointGrid, WallsKeepPathsOneCellAwayObjectsDoNot) {
    TextMap map({
        "#.....",
        "......",
        "..c...",
        ".....o",
    });
    const CWaypointCalculator& grid = *map.area.GetWaypointCalculator();
    EXPECT_EQ(grid.GetNode(0, 0).state, WAYPOINT_TILE);
    EXPECT_EQ(grid.GetNode(1, 0).state, WAYPOINT_BESIDE_TILE);
    EXPECT_EQ(grid.GetNode(0, 1).state, WAYPOINT_BESIDE_TILE);
    EXPECT_EQ(grid.GetNode(1, 1).state, WAYPOINT_FREE);
    EXPECT_EQ(grid.GetNode(2, 2).state, WAYPOINT_OBJECT);
    for (const auto& [column, row] : {std::pair{1, 2}, {3, 2}, {2, 1}, {2, 3}})
        EXPECT_EQ(grid.GetNode(column, row).state, WAYPOINT_FREE) << column << "," << row;
    EXPECT_EQ(grid.GetNode(5, 2).index, 2 * 6 + 5);
    // A post blocks like a wall.
    EXPECT_EQ(grid.GetNode(5, 3).state, WAYPOINT_TILE);
    EXPECT_EQ(grid.GetNode(4, 3).state, WAYPOINT_BESIDE_TILE);
}

TEST(WaypointGrid, ObjectFootprintsMarkEveryCellTheyReachOnTheGridOnly) {
    // A 2 x 2 fountain centred on a cell corner and a chest reaching past the left edge.
    TextMap map({"......", "......", "......", "......"},
                "<object> landing_fountain ( 10 5 ) n 0 </object> <object> tackle_chest ( 0.25 1.25 ) n 0 "
                "</object>");
    const CWaypointCalculator& grid = *map.area.GetWaypointCalculator();
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            const bool fountain = (column == 3 || column == 4) && (row == 1 || row == 2);
            const bool chest = column == 0 && row == 0;
            EXPECT_EQ(grid.GetNode(column, row).state, fountain || chest ? WAYPOINT_OBJECT : WAYPOINT_FREE)
                << column << "," << row;
        }
    }
}

TEST(Waypoint, StraightRunsAnswerACellPartWayAlong) {
    // Chests line the run, so the cells along it stay free to the search.
    TextMap map({
        "cccccccccccccc",
        ".S..HI......G.",
        "cccccccccccccc",
    });
    // Twelve cells from start to goal: the cell four steps from the start.
    EXPECT_AT_CELL(Waypoint(map, 'S', 'G'), 5, 1);
    // Five cells: two steps; four cells (exactly 7.5 units, still searched): two steps.
    EXPECT_AT_CELL(Waypoint(map, 'S', 'I'), 3, 1);
    EXPECT_AT_CELL(Waypoint(map, 'S', 'H'), 3, 1);
    // A path of three cells is nearer than 7.5: the goal itself, unsearched.
    const Point near = Waypoint(map, 3.75, 3.75, 9.05, 3.75);
    EXPECT_DOUBLE_EQ(near.x, 9.05);
}

TEST(Waypoint, NearAndFarGatesAnswerTheGoalUnsearched) {
    TextMap map({
        "............................................",
        "............................................",
        "............................................",
    });
    // 7.49 units: too near to search; 7.5: searched, to the middle of four cells.
    Point out = Waypoint(map, 3.75, 3.75, 11.24, 3.75);
    EXPECT_DOUBLE_EQ(out.x, 11.24);
    out = Waypoint(map, 3.75, 3.75, 11.25, 3.75);
    EXPECT_AT_CELL(out, 3, 1);
    // A door-sized box whose near edge lies exactly 100 units away is searched;
    // 100.01 is too far.
    out = Waypoint(map, 3.75, 3.75, 3.75 + 102.5, 3.75, 2.5);
    EXPECT_AT_CELL(out, 5, 1);
    out = Waypoint(map, 3.75, 3.75, 3.75 + 102.51, 3.75, 2.5);
    EXPECT_DOUBLE_EQ(out.x, 3.75 + 102.51);
}

TEST(Waypoint, ADoorBoxIsReachedTwoCellsAwayAndThePathMeasuredToThere) {
    TextMap map({
        "..........#..",
        "..........#..",
        "..........D..",
        "..........#..",
        ".S........#..",
    });
    const CellMark door{10, 2};
    const CellMark start = map.At('S');
    // A point on the closed door: the cells beside it keep the search out.
    Point out = Waypoint(map, start.x(), start.y(), door.x(), door.y());
    EXPECT_DOUBLE_EQ(out.x, door.x());
    // The door's box accepts (8, 4), two columns and two rows off: eight cells, so
    // the answer is four steps from the start.
    out = Waypoint(map, start.x(), start.y(), door.x(), door.y(), 2.5);
    EXPECT_AT_CELL(out, 5, 4);
}

TEST(Waypoint, StartAndGoalCellsAreFreeForTheSearchOnly) {
    TextMap map({
        "..........",
        ".S.....c..",
        "..........",
        "..........",
        "....G.....",
        "....#.....",
    });
    const CWaypointCalculator& grid = *map.area.GetWaypointCalculator();
    // A goal on a chest is searched to; the chest's cell stays closed afterwards.
    const CellMark start = map.At('S');
    Point out = Waypoint(map, start.x(), start.y(), 7 * 2.5 + 1.25, 1 * 2.5 + 1.25);
    EXPECT_AT_CELL(out, 4, 1);
    EXPECT_EQ(grid.GetNode(7, 1).state, WAYPOINT_OBJECT);
    // A goal beside walls is searched to, and the start beside a wall is searched from.
    out = Waypoint(map, 'S', 'G');
    EXPECT_NE(out.x, map.At('G').x());
    EXPECT_EQ(grid.GetNode(4, 4).state, WAYPOINT_BESIDE_TILE);
    const CellMark goal = map.At('G');
    out = Waypoint(map, goal.x(), goal.y(), start.x(), start.y());
    EXPECT_NE(out.x, start.x());
    // A point on a wall: every cell beside it is closed, so the goal comes back as
    // it was, and the wall is closed again.
    out = Waypoint(map, start.x(), start.y(), 4 * 2.5 + 1.25, 5 * 2.5 + 1.25);
    EXPECT_DOUBLE_EQ(out.x, 4 * 2.5 + 1.25);
    EXPECT_DOUBLE_EQ(out.y, 5 * 2.5 + 1.25);
    EXPECT_EQ(grid.GetNode(4, 5).state, WAYPOINT_TILE);
}

TEST(Waypoint, NoPathGivesTheGoalUnchanged) {
    TextMap boxed({
        ".......",
        "...#...",
        "..#S#..",
        "...#...",
        "......G",
    });
    Point out = Waypoint(boxed, 'S', 'G');
    EXPECT_DOUBLE_EQ(out.x, boxed.At('G').x());
    EXPECT_DOUBLE_EQ(out.y, boxed.At('G').y());

    // A one-cell gap between walls is closed to the search; a three-cell gap is open.
    TextMap gaps({
        "..S........",
        "...........",
        "#####.#####",
        "...........",
        "..G........",
        "...........",
        "####...####",
        "...........",
        "..H........",
    });
    out = Waypoint(gaps, 'S', 'G');
    EXPECT_DOUBLE_EQ(out.x, gaps.At('G').x());
    out = Waypoint(gaps, 'G', 'H');
    EXPECT_NE(out.x, gaps.At('H').x());
}

TEST(Waypoint, SearchGivesUpPastItsCostLimit) {
    // Round the wall's end is 18 steps on the short map and more than 60 on the
    // long one, though the goal is as near.
    TextMap shortWall({
        "..........",
        ".S........",
        "..........",
        "#######...",
        "..........",
        ".G........",
    });
    Point out = Waypoint(shortWall, 'S', 'G');
    EXPECT_NE(out.y, shortWall.At('G').y());
    TextMap longWall({
        "........................................",
        ".S......................................",
        "........................................",
        "####################################....",
        "........................................",
        ".G......................................",
    });
    out = Waypoint(longWall, 'S', 'G');
    EXPECT_DOUBLE_EQ(out.x, longWall.At('G').x());
    EXPECT_DOUBLE_EQ(out.y, longWall.At('G').y());
}

TEST(Waypoint, EndsOffTheGridAreNotSearched) {
    TextMap map({
        "..........",
        ".S........",
        "..........",
    });
    // Left of the grid, past its right edge and below it: nothing to search.
    for (const auto& [x, y] : {std::pair{-1.0, 3.75}, {30.0, 3.75}, {12.0, 12.0}}) {
        const Point out = Waypoint(map, 13.75, 3.75, x, y);
        EXPECT_DOUBLE_EQ(out.x, x);
        EXPECT_DOUBLE_EQ(out.y, y);
    }
    const Point out = Waypoint(map, -4.0, 3.75, 20.0, 3.75);
    EXPECT_DOUBLE_EQ(out.x, 20.0);
}

TEST(Waypoint, TheAreaKeepsItsSearchUntilADoorOrObjectChangesTheGround) {
    TextMap map({
        "....#....",
        ".S..D..G.",
        "....#....",
        "....c....",
    });
    CWaypointCalculator* first = map.area.GetWaypointCalculator();
    EXPECT_EQ(map.area.GetWaypointCalculator(), first);
    EXPECT_EQ(first->GetNode(4, 1).state, WAYPOINT_TILE);
    // Opening the door makes a new grid with the door's cell free.
    CTile* door = map.area.GetTile(4, 1);
    door->GetDoor()->SetOpen(true);
    map.area.AddOpenDoor(*door);
    EXPECT_EQ(map.area.GetWaypointCalculator()->GetNode(4, 1).state, WAYPOINT_BESIDE_TILE);

    // Marked objects go on the purge, and the grid is built anew without them.
    const CWaypointCalculator* opened = map.area.GetWaypointCalculator();
    map.area.ApplyRemoveObjectPatch("no such object");
    map.area.PurgeRemovedObjects();
    EXPECT_EQ(map.area.GetObjects().size(), 1u);
    EXPECT_EQ(map.area.GetWaypointCalculator(), opened);
    map.area.ApplyRemoveObjectPatch("");
    map.area.ApplyRemoveObjectPatch("");
    map.area.PurgeRemovedObjects();
    EXPECT_TRUE(map.area.GetObjects().empty());
    EXPECT_EQ(map.area.GetWaypointCalculator()->GetNode(4, 3).state, WAYPOINT_BESIDE_TILE);
}

// The whole-path searches of one tick share a bounded number of cells; the search
// that only names who stands in a way given up spends none of them, so that it
// takes no other walker's turn.
TEST(Waypoint, ATicksSearchesShareItsCellsButNamingWhoIsInTheWaySpendsNone) {
    // A goal walled in on every side: the search opens every cell of the grid.
    std::vector<std::string> lines(100, std::string(100, '.'));
    lines[1][1] = 'S';
    lines[50][50] = 'G';
    lines[49][50] = lines[51][50] = lines[50][49] = lines[50][51] = '#';
    using Spends = CWaypointCalculator::Spends;
    for (const auto& [spends, mayStillSearch] : {std::pair{Spends::kTickCells, false}, {Spends::kNothing, true}}) {
        TextMap map(lines);
        CWaypointCalculator& grid = *map.area.GetWaypointCalculator();
        ASSERT_TRUE(grid.MaySearchAt(7));
        std::vector<int> path;
        bool cut = false;
        EXPECT_FALSE(grid.FindWholePath(path, 512, cut, map.At('S').x(), map.At('S').y(), map.At('G').x(),
                                        map.At('G').y(), 0.0, 0.0, 0.5, nullptr, 0, spends));
        EXPECT_EQ(grid.MaySearchAt(7), mayStillSearch);
        EXPECT_TRUE(grid.MaySearchAt(8));
    }
}
