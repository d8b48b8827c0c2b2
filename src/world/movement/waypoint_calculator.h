#pragma once
// The grid path search of one area. A walking actor never follows a whole path:
// it asks for the next waypoint toward its goal, walks straight at it for a while
// and asks again. The calculator answers with the centre of a cell a few steps
// along an A* path over the area's cells, or with the goal itself when a search
// is not worthwhile (goal too near or too far) or finds nothing.

#include <cstdint>
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
    // cost + estimate; -1 once closed.
    int total = 0;
    int parent = -1;
    // The search that last touched the node: older costs are void.
    int stamp = 0;
};

class CWaypointCalculator {
public:
    // The grid of `area` as it stands now; the area makes a new calculator when
    // doors or tiles change.
    CWaypointCalculator(const CArea& area, int costLimit, int lookahead);

    // The next point to walk at from (fromX, fromY) toward the box of half-extents
    // (halfWidth, halfHeight) around (goalX, goalY); both 0 for a plain point.
    // Never fails: without a worthwhile path the answer is the goal itself.
    void GetNextWaypoint(double& outX, double& outY, double fromX, double fromY, double goalX, double goalY,
                         double halfWidth, double halfHeight);

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
    CWaypointNode& PopOpen();
    // Starts a new search generation.
    void NextStamp();

    int m_costLimit;
    int m_lookahead;
    int m_searchCounter = 0;
    int m_width = 0;
    int m_height = 0;
    std::vector<CWaypointNode> m_nodes;
    int m_startColumn = 0;
    int m_startRow = 0;
    int m_goalColumn = 0;
    int m_goalRow = 0;
    int m_toleranceColumns = 0;
    int m_toleranceRows = 0;
    // A heap of the open nodes by their current total, smallest on top; kept
    // between searches so a warm calculator does not allocate.
    std::vector<CWaypointNode*> m_open;
};

}  // namespace DRAV
