#pragma once
// The grid path search of one area. A walking actor never follows a whole path:
// it asks for the next waypoint toward its goal, walks straight at it for a while
// and asks again. The calculator answers with the centre of a cell a few steps
// along an A* path over the area's cells, or with the goal itself when a search
// is not worthwhile (goal too near or too far) or finds nothing.

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace DRAV {

class CArea;

// What a cell of the search grid allows.
enum WaypointCellState : int {
    WAYPOINT_FREE = 0,
    WAYPOINT_TILE = 1,         // its tile blocks movement
    WAYPOINT_BESIDE_TILE = 2,  // free, but a side neighbour's tile blocks: paths keep off walls
    WAYPOINT_OBJECT = 3,       // under an object that is not floor
};

struct CWaypointNode {
    int index = 0;
    int state = WAYPOINT_FREE;
    // Steps from the start in the current search; 0 means none yet.
    int cost = 0;
    int parent = -1;
    // The search that last touched the node: older costs are void.
    int stamp = 0;
};

class CWaypointCalculator {
public:
    // Goals nearer than this are walked at straight, unsearched.
    static constexpr double kNearestSearched = 7.5;

    // The grid of `area` as it stands now; the area makes a new calculator when
    // doors or tiles change.
    CWaypointCalculator(const CArea& area, int costLimit, int lookahead);

    // The next point to walk at from (fromX, fromY) toward the box of half-extents
    // (halfWidth, halfHeight) around (goalX, goalY); both 0 for a plain point.
    // Never fails: without a worthwhile path the answer is the goal itself.
    void GetNextWaypoint(double& outX, double& outY, double fromX, double fromY, double goalX, double goalY,
                         double halfWidth, double halfHeight);

    // Someone standing in a walker's way, as a circle no path may cross: the
    // stander's centre and its radius with the walker's added.
    struct Closed {
        double x;
        double y;
        double reach;
    };
    // A whole path for a walker of `radius` that the waypoints could not lead,
    // from its cell to the goal box, round the `count` circles of those standing
    // in its way: every cell where the walker would stand inside a circle is
    // closed (see StandingPoint), the cells beside walls are open (a walker may go
    // along a wall where a plain path keeps off it: a pier, a one-cell gap). The
    // search keeps first to paths at most kWindowSteps longer than the straight
    // way, and only when none of those leads there opens the whole grid, so that
    // any way there is is found, however near or far the goal. The cells go to
    // `outCells`, the start's first and the accepted goal cell's last, but no more
    // than `mostCells` of them, so that storage the walker reserved once is never
    // made anew: `outCut` tells that the path went on beyond them. False, with
    // `outCells` empty, when there is no way: a point goal on a wall, cells too
    // narrow for the walker or the people in it shut it. Leaves the plain answers
    // untouched.
    // A search for a walk to follow spends the tick's cells (see MaySearchAt); one
    // that only names who stands in a way given up does not, so that it takes no
    // other walker's turn.
    enum class Spends { kTickCells, kNothing };
    bool FindWholePath(std::vector<int>& outCells, std::size_t mostCells, bool& outCut, double fromX, double fromY,
                       double goalX, double goalY, double halfWidth, double halfHeight, double radius,
                       const Closed* closed, std::size_t count, Spends spends = Spends::kTickCells);
    // Whether a whole-path search may start at game tick `tick`. The searches of
    // one tick together open about kSearchCellsPerTick cells at most, so that a
    // crowd held up all at once spreads its searches over the ticks that follow
    // instead of stalling one; a walker refused asks again on a later tick.
    bool MaySearchAt(std::uint32_t tick);
    // How far a whole-path search goes round before it opens the whole grid, in
    // steps beyond the straight way; and the cells a tick's searches may open.
    static constexpr int kWindowSteps = 24;
    static constexpr int kSearchCellsPerTick = 6000;
    // Where a walker of `radius` crossing the cell of that index stands: see the
    // private overload.
    void StandingPoint(int cell, double radius, double& outX, double& outY) const;

    // Fills the grid from the area's tiles and objects.
    void BuildGrid(const CArea& area);
    // One search, with the start and goal cells free for its length.
    bool FindPath();
    // A* over the four side neighbours; true when a cell within the goal
    // tolerance was reached (the goal cell then becomes that cell).
    bool Search();
    // Never above the true number of side steps from `cell` to the goal cell.
    int EstimateCost(int cell) const;
    void PushOpen(CWaypointNode& node);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // The node of cell (column, row); the cell must lie on the grid.
    const CWaypointNode& GetNode(int column, int row) const { return m_nodes[std::size_t(row) * m_width + column]; }

private:
    bool OnGrid(int column, int row) const { return column >= 0 && row >= 0 && column < m_width && row < m_height; }
    // Whether the cell is a wall or lies off the grid, where nobody stands.
    bool IsWallOrEdge(int column, int row) const {
        return !OnGrid(column, row) || GetNode(column, row).state == WAYPOINT_TILE;
    }
    int Estimate(int column, int row) const {
        const int a = column > m_goalColumn ? column - m_goalColumn : m_goalColumn - column;
        const int b = row > m_goalRow ? row - m_goalRow : m_goalRow - row;
        // A walk of its own needs no answer that keeps to the plain search's
        // waypoints, only the shortest way: side steps are its true lower bound,
        // and expand far fewer cells than the plain search's diagonal-minded one.
        if (m_besideOpen) return a + b;
        const int low = a < b ? a : b;
        const int high = a < b ? b : a;
        return high - low + 7 * low / 5;
    }
    void PushOpenIndex(int index);
    bool IsOpenEmpty() const;
    // The open cell to take next; in layers, moves on to the next layer first
    // when the lower one is spent.
    int OpenTop();
    // Moves `index` up from the empty slot `hole` while its total is below its parent's.
    void SiftUp(std::size_t hole, std::size_t top, int index);
    void PopOpen();
    // The waypoint cell on the path the last search found from `start` to `reached`:
    // near the start on a long path, about halfway on a short one.
    int WalkBack(int start, int reached) const;
    // Where a walker of `radius` crossing the cell stands: its centre, moved off
    // the walls (and the grid's edge) beside it as far as the walker's width needs.
    // A walker wider than a cell never comes as near a wall as the cell's centre,
    // so a gap between a wall and someone standing by it is judged as it is.
    void StandingPoint(int column, int row, double radius, double& outX, double& outY) const;
    // Cells on the last search's path from `start` to `reached`, both counted.
    int PathLength(int start, int reached) const;
    // Starts a new search generation.
    void NextStamp();

    // A search reads only the cells around its start; when every cell it read was
    // free (its start and goal cells count as free) its answer depends on nothing
    // but where the goal lies from the start and the tolerance, and holds for any
    // start whose box of cells, moved along, is all free too. Such answers are kept
    // by that offset and tolerance; being true of any grid, they are never dropped.
    // Everything is in columns and rows from the start cell.
    struct Box {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    struct OffsetAnswer {
        enum : std::int8_t { UNKNOWN, NO_PATH, PATH } kind = UNKNOWN;
        std::int8_t left = 0;
        std::int8_t top = 0;
        std::int8_t right = 0;
        std::int8_t bottom = 0;
        std::int8_t reachedColumn = 0;
        std::int8_t reachedRow = 0;
        std::int8_t waypointColumn = 0;
        std::int8_t waypointRow = 0;
    };
    // The slot of an offset and the present tolerance; null when none is kept
    // (tolerances above 3, goals farther than kOffsetReach cells).
    OffsetAnswer* OffsetSlot(int goalColumns, int goalRows);
    // Keeps the answer of the search just run, when it read only free cells and
    // its numbers fit.
    void KeepOffsetAnswer(OffsetAnswer& slot, bool found, int reached, int waypoint);
    // Whether every cell of `box` (moved to the start cell) lies on the grid and is
    // free, the start and goal cells counted as free.
    bool IsOpen(const Box& box) const;
    // Cells not free in the rectangle of columns [left, right] and rows [top, bottom].
    int BlockedIn(int left, int top, int right, int bottom) const;

    int m_costLimit;
    int m_lookahead;
    int m_searchCounter = 0;
    int m_width = 0;
    int m_height = 0;
    std::vector<CWaypointNode> m_nodes;
    // Recent requests and what they were answered: the cell accepted (-1 when no
    // path was found) and the waypoint cell.
    struct Answer {
        int start = -1;
        int goal = -1;
        int toleranceColumns = 0;
        int toleranceRows = 0;
        int reached = -1;
        int waypoint = -1;
        bool Matches(int s, int g, int columns, int rows) const {
            return start == s && goal == g && toleranceColumns == columns && toleranceRows == rows;
        }
    };
    std::array<Answer, 128> m_answers;
    // By tolerance in columns x 4 + in rows; each made on first use.
    std::array<std::vector<OffsetAnswer>, 16> m_offsetAnswers;
    // Blocked cells above and left of each grid corner: (width + 1) x (height + 1).
    std::vector<int> m_blockedBefore;
    // The box the last search read: its expanded cells and their side neighbours.
    Box m_read;
    // Each node's cost + estimate, -1 once closed, by cell index. Kept apart from
    // the nodes: the open list compares them on every step of a sift, and packed
    // together they stay in the nearest cache.
    std::vector<int> m_totals;
    int m_startColumn = 0;
    int m_startRow = 0;
    int m_goalColumn = 0;
    int m_goalRow = 0;
    int m_toleranceColumns = 0;
    int m_toleranceRows = 0;
    // A heap of the open cells by their node's current total, smallest on top;
    // kept between searches so a warm calculator does not allocate.
    std::vector<int> m_open;
    // A whole path's search keeps its open cells in two layers instead: with side
    // steps as the estimate every step keeps a cell's total or raises it by two,
    // so the cells of the lowest total, taken last in first, and those two above
    // are all that is ever open, and no heap need order them.
    std::array<std::vector<int>, 2> m_layers;
    int m_layerTotal = 0;
    // While a whole path is searched for: cells beside walls may be entered, and
    // the cells closed for it with the states they had (kept to avoid allocating).
    bool m_besideOpen = false;
    std::vector<std::pair<int, int>> m_closedCells;
    // While a whole path is searched for a walker wider than a cell, the cells it
    // cannot fit in are closed to it: those between walls on opposite sides.
    bool m_wideWalker = false;
    std::vector<bool> m_narrow;
    // Whether the last search stopped at the cost limit with cells still open,
    // and the cells it expanded.
    bool m_cutOff = false;
    int m_expanded = 0;
    // The tick of the last whole-path search and the cells that tick's searches opened.
    std::uint32_t m_searchTick = 0;
    int m_searchCells = 0;
};

}  // namespace DRAV
