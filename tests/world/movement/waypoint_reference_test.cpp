// The fast path search must answer exactly as the plain A* it replaces: the same
// cell out of every tie, so that walkers take the same steps tick for tick. The
// plain search is kept here, run on fresh node records for every request, and both
// answer long runs of requests on random maps with walls, water and chests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "world/movement/text_map.h"
#include "world/movement/waypoint_calculator.h"

using namespace DRAV;
using MovementTest::TextMap;

namespace {

constexpr int kColumns = 48;
constexpr int kRows = 36;

// The search as first written: a heap of node pointers by their current total,
// stale entries skipped when they come up closed.
class ReferenceSearch {
public:
    explicit ReferenceSearch(const CWaypointCalculator& grid) : m_width(grid.GetWidth()), m_height(grid.GetHeight()) {
        for (int row = 0; row < m_height; ++row)
            for (int column = 0; column < m_width; ++column) m_states.push_back(grid.GetNode(column, row).state);
    }

    // The answer for a request from the cell centre (fromColumn, fromRow) to the
    // centre of (goalColumn, goalRow) with goal half-extents `half`.
    std::pair<double, double> Waypoint(int fromColumn, int fromRow, int goalColumn, int goalRow, double half) {
        const double goalX = goalColumn * 2.5 + 1.25;
        const double goalY = goalRow * 2.5 + 1.25;
        double dx = (fromColumn - goalColumn) * 2.5;
        double dy = (fromRow - goalRow) * 2.5;
        if (half > 0.0) {
            dx = dx > 0.0 ? std::max(dx - half, 0.0) : std::min(dx + half, 0.0);
            dy = dy > 0.0 ? std::max(dy - half, 0.0) : std::min(dy + half, 0.0);
        }
        const double gap = dx * dx + dy * dy;
        if (gap > 10000.0 || gap < 56.25) return {goalX, goalY};
        const int cells = static_cast<int>((half + 2.5 - 0.001) / 2.5);
        m_tolerance = cells > 0 ? cells + 1 : cells;
        m_goal = goalRow * m_width + goalColumn;
        const int start = fromRow * m_width + fromColumn;
        m_nodes.assign(m_states.size(), Node{});
        for (std::size_t i = 0; i < m_nodes.size(); ++i) {
            m_nodes[i].index = static_cast<int>(i);
            m_nodes[i].state = m_states[i];
        }
        m_nodes[start].state = 0;
        m_nodes[m_goal].state = 0;
        if (!Search(start)) return {goalX, goalY};
        int length = 1;
        for (int cell = m_goal; cell != start; cell = m_nodes[cell].parent) ++length;
        const int back = length < 10 ? (length - 1) / 2 : length - 5;
        int cell = m_goal;
        for (int step = 0; step < back; ++step) cell = m_nodes[cell].parent;
        return {(cell % m_width) * 2.5 + 1.25, (cell / m_width) * 2.5 + 1.25};
    }

private:
    struct Node {
        int index = 0;
        int state = 0;
        int cost = 0;
        int total = 0;
        int parent = -1;
    };

    int Estimate(int cell) const {
        const int a = std::abs(cell % m_width - m_goal % m_width);
        const int b = std::abs(cell / m_width - m_goal / m_width);
        return std::max(a, b) - std::min(a, b) + 7 * std::min(a, b) / 5;
    }

    bool Search(int start) {
        const auto lower = [](const Node* a, const Node* b) { return a->total > b->total; };
        std::vector<Node*> open{&m_nodes[start]};
        m_nodes[start].total = Estimate(start);
        while (!open.empty()) {
            Node& top = *open.front();
            const int column = top.index % m_width;
            const int row = top.index / m_width;
            if (std::abs(m_goal % m_width - column) <= m_tolerance && std::abs(m_goal / m_width - row) <= m_tolerance) {
                m_goal = top.index;
                return true;
            }
            if (top.total > 60) return false;
            std::pop_heap(open.begin(), open.end(), lower);
            open.pop_back();
            if (top.total == -1) continue;
            top.total = -1;
            const int neighbours[4][2] = {{column - 1, row}, {column + 1, row}, {column, row - 1}, {column, row + 1}};
            for (const auto& [c, r] : neighbours) {
                if (c < 0 || r < 0 || c >= m_width || r >= m_height) continue;
                Node& next = m_nodes[r * m_width + c];
                if (next.state != 0) continue;
                if (next.cost == 0 || top.cost + 1 < next.cost) {
                    next.cost = top.cost + 1;
                    next.parent = top.index;
                    next.total = next.cost + Estimate(next.index);
                    open.push_back(&next);
                    std::push_heap(open.begin(), open.end(), lower);
                }
            }
        }
        return false;
    }

    int m_width;
    int m_height;
    std::vector<int> m_states;
    std::vector<Node> m_nodes;
    int m_goal = 0;
    int m_tolerance = 0;
};

// Open ground with walls, water and chests scattered at `density` percent.
std::vector<std::string> RandomLines(std::mt19937& random, unsigned density) {
    std::vector<std::string> lines(kRows, std::string(kColumns, '.'));
    for (std::string& line : lines)
        for (char& cell : line) {
            const unsigned roll = random() % 100;
            if (roll < density) cell = roll % 5 == 0 ? '~' : roll % 7 == 0 ? 'c' : '#';
        }
    return lines;
}

}  // namespace

TEST(WaypointReference, SameAnswersAsThePlainSearch) {
    std::mt19937 random(31337);
    int searched = 0;
    for (unsigned map = 0; map < 8; ++map) {
        TextMap text(RandomLines(random, map * 4));
        CWaypointCalculator& grid = *text.area.GetWaypointCalculator();
        ReferenceSearch reference(grid);
        std::vector<std::tuple<int, int, int, int, double>> asked;
        // Requests cluster round a few goals, as walkers heading somewhere make them,
        // and some start or end on walls.
        for (int request = 0; request < 250; ++request) {
            const int heading = static_cast<int>(random() % kColumns);
            const int headingRow = static_cast<int>(random() % kRows);
            for (int walker = 0; walker < 4; ++walker) {
                int goalColumn = heading;
                int goalRow = headingRow;
                int fromColumn = std::clamp(goalColumn + static_cast<int>(random() % 61) - 30, 0, kColumns - 1);
                int fromRow = std::clamp(goalRow + static_cast<int>(random() % 61) - 30, 0, kRows - 1);
                double half = random() % 3 == 0 ? 2.5 * (random() % 3) : 0.0;
                // Some requests come again after others, as from an actor held up.
                if (!asked.empty() && random() % 5 == 0)
                    std::tie(fromColumn, fromRow, goalColumn, goalRow, half) = asked[random() % asked.size()];
                asked.emplace_back(fromColumn, fromRow, goalColumn, goalRow, half);
                const auto expected = reference.Waypoint(fromColumn, fromRow, goalColumn, goalRow, half);
                double x = 0.0;
                double y = 0.0;
                grid.GetNextWaypoint(x, y, fromColumn * 2.5 + 1.25, fromRow * 2.5 + 1.25, goalColumn * 2.5 + 1.25,
                                     goalRow * 2.5 + 1.25, half, half);
                ASSERT_EQ(x, expected.first) << "map " << map << " from " << fromColumn << "," << fromRow << " to "
                                             << goalColumn << "," << goalRow << " half " << half;
                ASSERT_EQ(y, expected.second) << "map " << map << " from " << fromColumn << "," << fromRow << " to "
                                              << goalColumn << "," << goalRow << " half " << half;
                searched += x != goalColumn * 2.5 + 1.25 || y != goalRow * 2.5 + 1.25;
            }
        }
    }
    // Most requests find a path and answer a cell short of the goal.
    EXPECT_GT(searched, 2800);
}

// Walkers on open ground ask the same few offsets from everywhere; an answer found
// where the way was open is reused for them, and must not be where a wall, water or
// a chest stands in what the search would read, nor near the grid's edge.
TEST(WaypointReference, AnswersReusedFromElsewhereAreThePlainSearchs) {
    std::mt19937 random(4242);
    int reused = 0;
    int searched = 0;
    for (const unsigned density : {0u, 1u, 3u}) {
        TextMap text(RandomLines(random, density));
        CWaypointCalculator& grid = *text.area.GetWaypointCalculator();
        ReferenceSearch reference(grid);
        const int offsets[][3] = {{12, 0, 0}, {-9, 7, 0}, {20, -14, 0}, {3, 16, 1}, {-25, -3, 2}, {0, -30, 1}};
        for (int request = 0; request < 600; ++request) {
            const auto& [columns, rows, door] = offsets[random() % std::size(offsets)];
            const double half = 2.5 * door;
            const int fromColumn = static_cast<int>(random() % kColumns);
            const int fromRow = static_cast<int>(random() % kRows);
            const int goalColumn = fromColumn + columns;
            const int goalRow = fromRow + rows;
            if (goalColumn < 0 || goalRow < 0 || goalColumn >= kColumns || goalRow >= kRows) continue;
            const int stamp = grid.GetNode(fromColumn, fromRow).stamp;
            const auto expected = reference.Waypoint(fromColumn, fromRow, goalColumn, goalRow, half);
            double x = 0.0;
            double y = 0.0;
            grid.GetNextWaypoint(x, y, fromColumn * 2.5 + 1.25, fromRow * 2.5 + 1.25, goalColumn * 2.5 + 1.25,
                                 goalRow * 2.5 + 1.25, half, half);
            ASSERT_EQ(std::pair(x, y), expected) << "density " << density << " from " << fromColumn << ","
                                                 << fromRow << " to " << goalColumn << "," << goalRow;
            // A search stamps its start cell.
            (grid.GetNode(fromColumn, fromRow).stamp == stamp ? reused : searched)++;
        }
    }
    EXPECT_GT(reused, 200);
    EXPECT_GT(searched, 150);
}
