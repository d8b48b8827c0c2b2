// Walks on many random maps. Whatever the map, a step never goes farther than the
// actor's speed allows and never ends in a place the area forbids, and an actor
// whose goal the path search reaches from where it starts gets there unless other
// actors stand about (one in a narrow way can keep a slider going back and forth).

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "world/movement/text_map.h"
#include "world/movement/walk.h"
#include "world/movement/waypoint_calculator.h"

using MovementTest::TextMap;

namespace {

constexpr int kColumns = 14;
constexpr int kRows = 10;

// Walls, posts, water, closed doors and chests scattered over floor.
std::vector<std::string> RandomLines(std::mt19937& random) {
    std::vector<std::string> lines(kRows, std::string(kColumns, '.'));
    for (std::string& line : lines) {
        for (char& cell : line) {
            const unsigned roll = random() % 100;
            cell = roll < 13 ? '#' : roll < 15 ? 'o' : roll < 17 ? '~' : roll < 18 ? 'D' : roll < 21 ? 'c' : '.';
        }
    }
    return lines;
}

void FreeCell(std::mt19937& random, const std::vector<std::string>& lines, int& column, int& row) {
    do {
        column = static_cast<int>(random() % kColumns);
        row = static_cast<int>(random() % kRows);
    } while (lines[row][column] != '.');
}

}  // namespace

TEST(WalkInvariants, RandomMaps) {
    std::mt19937 random(20261207);
    int searchable = 0;
    int reached = 0;
    for (int map = 0; map < 400; ++map) {
        std::vector<std::string> lines = RandomLines(random);
        int column = 0;
        int row = 0;
        FreeCell(random, lines, column, row);
        lines[row][column] = 'S';
        int goalColumn = 0;
        int goalRow = 0;
        do FreeCell(random, lines, goalColumn, goalRow);
        while (std::abs(goalColumn - column) + std::abs(goalRow - row) < 4);
        lines[goalRow][goalColumn] = 'G';
        TextMap text(lines);
        const int speeds[] = {0, 25, 50, 100};
        const auto walker = text.Walker('S', 0.5 + (random() % 6) * 0.1, speeds[random() % 4]);
        // On every other map a few actors stand about, where they fit.
        const bool crowded = map % 2 == 1;
        for (unsigned others = crowded ? 1 + random() % 2 : 0; others > 0; --others) {
            FreeCell(random, lines, column, row);
            const auto other = text.Walker(column * 2.5 + 1.25, row * 2.5 + 1.25, 0.5);
            if (!text.area.CanMoveTo(*other, nullptr, other->GetX(), other->GetY())) text.area.RemoveActor(*other);
        }
        const double goalX = text.At('G').x();
        const double goalY = text.At('G').y();
        double x = 0.0;
        double y = 0.0;
        text.area.GetWaypointCalculator()->GetNextWaypoint(x, y, walker->GetX(), walker->GetY(), goalX, goalY, 0, 0);
        const bool found = x != goalX || y != goalY;

        const bool arrived = MovementTest::WalkTo(text.area, walker, goalX, goalY, 900);
        if (found && !crowded) {
            EXPECT_TRUE(arrived) << "a searchable goal was not reached";
            ++searchable;
        }
        reached += arrived;
        if (HasFailure()) {
            for (const std::string& line : lines) ADD_FAILURE() << line;
            return;
        }
    }
    // Not a vacuous run: enough searchable goals, and most walks arrive, many of
    // them where the search found no path and sliding did the work.
    EXPECT_GT(searchable, 20);
    EXPECT_GT(reached, 250) << reached;
}
