#include "world/movement/waypoint_calculator.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "world/area.h"
#include "world/cell.h"

namespace DRAV {

namespace {

constexpr double kNearGateSquared = CWaypointCalculator::kNearestSearched * CWaypointCalculator::kNearestSearched;
// Goals farther than this are not searched for; the squared distance.
constexpr double kFarGateSquared = 10000.0;
// Answers are kept for goals up to this many columns and rows from the start: past
// the 100-unit gate for any goal box of tolerance 3 or less.
constexpr int kOffsetReach = 48;
constexpr int kOffsetSide = 2 * kOffsetReach + 1;
constexpr int kKeptTolerances = 4;

bool FitsByte(int value) { return value >= INT8_MIN && value <= INT8_MAX; }

// The cell of a coordinate. Coordinates left of the grid give -1 and huge ones
// stop at a bound, so no cast overflows and nothing off the grid maps onto it.
int CellOf(double coordinate) {
    const double cell = std::floor(coordinate / kCellSize);
    if (!(cell >= -1.0)) return -1;
    if (cell > INT_MAX / 2) return INT_MAX / 2;
    return static_cast<int>(cell);
}

// The difference moved toward zero by `half`, never past it.
double ShrinkGap(double difference, double half) {
    return difference > 0.0 ? std::max(difference - half, 0.0) : std::min(difference + half, 0.0);
}

// How many cells away from the goal cell a cell may lie and still reach a goal box
// of half-extent `half`: none for a point.
int Tolerance(double half) {
    // Bounded so the cell count always fits; a box that large takes any cell anyway.
    const double bounded = std::clamp(half, 0.0, 1.0e6);
    const int cells = static_cast<int>((bounded + kCellSize - 0.001) / kCellSize);
    return cells > 0 ? cells + 1 : cells;
}

}  // namespace

CWaypointCalculator::CWaypointCalculator(const CArea& area, int costLimit, int lookahead)
    : m_costLimit(costLimit), m_lookahead(lookahead) {
    BuildGrid(area);
}

void CWaypointCalculator::BuildGrid(const CArea& area) {
    m_width = static_cast<int>(std::min<std::uint32_t>(area.GetColumns(), INT_MAX));
    m_height = static_cast<int>(std::min<std::uint32_t>(area.GetRows(), INT_MAX));
    m_nodes.assign(std::size_t(m_width) * m_height, CWaypointNode{});
    m_totals.assign(m_nodes.size(), 0);
    m_open.clear();
    // A search round people opens cells a plain one never enters; room for it is
    // made now rather than in the middle of a walk.
    m_open.reserve(m_nodes.size());
    for (std::vector<int>& layer : m_layers) {
        layer.clear();
        layer.reserve(m_nodes.size());
    }
    m_closedCells.reserve(128);
    m_answers.fill(Answer{});

    for (int row = 0; row < m_height; ++row) {
        for (int column = 0; column < m_width; ++column) {
            CWaypointNode& node = m_nodes[std::size_t(row) * m_width + column];
            node.index = row * m_width + column;
            const CTile* tile = area.GetTile(column, row);
            // A cell no tile covers has nothing to walk on.
            node.state = !tile->GetMaster() || tile->BlocksMovement() ? WAYPOINT_TILE : WAYPOINT_FREE;
        }
    }

    for (const std::shared_ptr<CObject>& object : area.GetObjects()) {
        if (object->GetTemplate().GetKind() == TILE_FLOOR) continue;
        double hx = 0.0;
        double hy = 0.0;
        object->GetHalfExtents(hx, hy);
        const int firstColumn = std::max(CellOf(object->GetX() - hx), 0);
        const int lastColumn = std::min(CellOf(object->GetX() + hx), m_width - 1);
        const int firstRow = std::max(CellOf(object->GetY() - hy), 0);
        const int lastRow = std::min(CellOf(object->GetY() + hy), m_height - 1);
        for (int row = firstRow; row <= lastRow; ++row) {
            for (int column = firstColumn; column <= lastColumn; ++column) {
                CWaypointNode& node = m_nodes[std::size_t(row) * m_width + column];
                if (node.state == WAYPOINT_FREE) node.state = WAYPOINT_OBJECT;
            }
        }
    }

    // A cell between walls on opposite sides is too narrow for a walker wider
    // than a cell.
    m_narrow.assign(m_nodes.size(), false);
    for (int row = 0; row < m_height; ++row)
        for (int column = 0; column < m_width; ++column)
            m_narrow[std::size_t(row) * m_width + column] =
                (IsWallOrEdge(column - 1, row) && IsWallOrEdge(column + 1, row)) ||
                (IsWallOrEdge(column, row - 1) && IsWallOrEdge(column, row + 1));

    // Only walls push paths off: a cell beside an object stays free.
    for (int row = 0; row < m_height; ++row) {
        for (int column = 0; column < m_width; ++column) {
            CWaypointNode& node = m_nodes[std::size_t(row) * m_width + column];
            if (node.state != WAYPOINT_FREE) continue;
            const auto wall = [&](int c, int r) { return OnGrid(c, r) && GetNode(c, r).state == WAYPOINT_TILE; };
            if (wall(column - 1, row) || wall(column + 1, row) || wall(column, row - 1) || wall(column, row + 1))
                node.state = WAYPOINT_BESIDE_TILE;
        }
    }

    const std::size_t stride = std::size_t(m_width) + 1;
    m_blockedBefore.assign(stride * (std::size_t(m_height) + 1), 0);
    for (int row = 0; row < m_height; ++row) {
        int inRow = 0;
        for (int column = 0; column < m_width; ++column) {
            inRow += GetNode(column, row).state != WAYPOINT_FREE;
            m_blockedBefore[(row + 1) * stride + column + 1] = m_blockedBefore[row * stride + column + 1] + inRow;
        }
    }
}

int CWaypointCalculator::BlockedIn(int left, int top, int right, int bottom) const {
    const std::size_t stride = std::size_t(m_width) + 1;
    const int* const before = m_blockedBefore.data();
    return before[(bottom + 1) * stride + right + 1] - before[top * stride + right + 1] -
           before[(bottom + 1) * stride + left] + before[top * stride + left];
}

bool CWaypointCalculator::IsOpen(const Box& box) const {
    const int left = m_startColumn + box.left;
    const int right = m_startColumn + box.right;
    const int top = m_startRow + box.top;
    const int bottom = m_startRow + box.bottom;
    if (left < 0 || top < 0 || right >= m_width || bottom >= m_height) return false;
    int blocked = BlockedIn(left, top, right, bottom);
    // The search frees its start and goal cells for its length.
    blocked -= GetNode(m_startColumn, m_startRow).state != WAYPOINT_FREE;
    if (m_goalColumn >= left && m_goalColumn <= right && m_goalRow >= top && m_goalRow <= bottom &&
        (m_goalColumn != m_startColumn || m_goalRow != m_startRow))
        blocked -= GetNode(m_goalColumn, m_goalRow).state != WAYPOINT_FREE;
    return blocked == 0;
}

CWaypointCalculator::OffsetAnswer* CWaypointCalculator::OffsetSlot(int goalColumns, int goalRows) {
    if (m_toleranceColumns >= kKeptTolerances || m_toleranceRows >= kKeptTolerances) return nullptr;
    if (std::abs(goalColumns) > kOffsetReach || std::abs(goalRows) > kOffsetReach) return nullptr;
    std::vector<OffsetAnswer>& answers = m_offsetAnswers[m_toleranceColumns * kKeptTolerances + m_toleranceRows];
    if (answers.empty()) answers.resize(std::size_t(kOffsetSide) * kOffsetSide);
    return &answers[std::size_t(goalRows + kOffsetReach) * kOffsetSide + goalColumns + kOffsetReach];
}

void CWaypointCalculator::KeepOffsetAnswer(OffsetAnswer& slot, bool found, int reached, int waypoint) {
    const int reachedColumn = reached % m_width - m_startColumn;
    const int reachedRow = reached / m_width - m_startRow;
    const int waypointColumn = waypoint % m_width - m_startColumn;
    const int waypointRow = waypoint / m_width - m_startRow;
    for (const int value : {m_read.left, m_read.top, m_read.right, m_read.bottom})
        if (!FitsByte(value)) return;
    if (found)
        for (const int value : {reachedColumn, reachedRow, waypointColumn, waypointRow})
            if (!FitsByte(value)) return;
    if (!IsOpen(m_read)) return;
    const auto byte = [](int value) { return static_cast<std::int8_t>(value); };
    slot = {found ? OffsetAnswer::PATH : OffsetAnswer::NO_PATH,
            byte(m_read.left),
            byte(m_read.top),
            byte(m_read.right),
            byte(m_read.bottom),
            byte(found ? reachedColumn : 0),
            byte(found ? reachedRow : 0),
            byte(found ? waypointColumn : 0),
            byte(found ? waypointRow : 0)};
}

void CWaypointCalculator::GetNextWaypoint(double& outX, double& outY, double fromX, double fromY, double goalX,
                                          double goalY, double halfWidth, double halfHeight) {
    outX = goalX;
    outY = goalY;
    double dx = fromX - goalX;
    double dy = fromY - goalY;
    if (halfWidth + halfHeight > 0.0) {
        dx = ShrinkGap(dx, halfWidth);
        dy = ShrinkGap(dy, halfHeight);
    }
    const double gap = dx * dx + dy * dy;
    if (gap > kFarGateSquared || gap < kNearGateSquared) return;

    m_startColumn = CellOf(fromX);
    m_startRow = CellOf(fromY);
    m_goalColumn = CellOf(goalX);
    m_goalRow = CellOf(goalY);
    // Ends off the grid have no cell to search from or to.
    if (!OnGrid(m_startColumn, m_startRow) || !OnGrid(m_goalColumn, m_goalRow)) return;
    m_toleranceColumns = Tolerance(halfWidth);
    m_toleranceRows = Tolerance(halfHeight);

    // The answer depends on nothing but the two cells and the tolerance while the
    // grid stands, so a request seen lately (an actor held up by another asks the
    // same again and again) is answered as it was then, without a search.
    const int start = m_startRow * m_width + m_startColumn;
    const int goal = m_goalRow * m_width + m_goalColumn;
    Answer& answer = m_answers[(unsigned(start) * 2654435761u ^ unsigned(goal)) % m_answers.size()];
    if (!answer.Matches(start, goal, m_toleranceColumns, m_toleranceRows)) {
        answer = {start, goal, m_toleranceColumns, m_toleranceRows, -1, -1};
        const int goalColumns = m_goalColumn - m_startColumn;
        const int goalRows = m_goalRow - m_startRow;
        OffsetAnswer* const offset = OffsetSlot(goalColumns, goalRows);
        if (offset && offset->kind != OffsetAnswer::UNKNOWN &&
            IsOpen({offset->left, offset->top, offset->right, offset->bottom})) {
            if (offset->kind == OffsetAnswer::PATH) {
                answer.reached = start + offset->reachedRow * m_width + offset->reachedColumn;
                answer.waypoint = start + offset->waypointRow * m_width + offset->waypointColumn;
            }
        } else {
            const bool found = FindPath();
            if (found) {
                answer.reached = m_goalRow * m_width + m_goalColumn;
                answer.waypoint = WalkBack(start, answer.reached);
            }
            // The search moved the goal cell to the one it accepted; the box test
            // needs the one asked for.
            m_goalColumn = m_startColumn + goalColumns;
            m_goalRow = m_startRow + goalRows;
            if (offset) KeepOffsetAnswer(*offset, found, answer.reached, answer.waypoint);
        }
    }
    if (answer.reached < 0) return;
    m_goalColumn = answer.reached % m_width;
    m_goalRow = answer.reached / m_width;
    outX = (answer.waypoint % m_width) * kCellSize + kCellSize / 2.0;
    outY = (answer.waypoint / m_width) * kCellSize + kCellSize / 2.0;
}

int CWaypointCalculator::PathLength(int start, int reached) const {
    // Parents of one search form a tree rooted at the start; the bound only guards
    // against a walk that would not end.
    const int bound = m_width * m_height;
    int length = 1;
    for (int cell = reached; cell != start && length <= bound; cell = m_nodes[cell].parent) ++length;
    return length;
}

int CWaypointCalculator::WalkBack(int start, int reached) const {
    const int length = PathLength(start, reached);
    const int back = length < m_lookahead ? (length - 1) / 2 : length - m_lookahead / 2;
    int cell = reached;
    for (int step = 0; step < back && cell != start; ++step) cell = m_nodes[cell].parent;
    return cell;
}

void CWaypointCalculator::StandingPoint(int column, int row, double radius, double& outX, double& outY) const {
    const double left = column * kCellSize;
    const double top = row * kCellSize;
    outX = left + kCellSize / 2.0;
    outY = top + kCellSize / 2.0;
    if (IsWallOrEdge(column - 1, row)) outX = std::max(outX, left + radius);
    if (IsWallOrEdge(column + 1, row)) outX = std::min(outX, left + kCellSize - radius);
    if (IsWallOrEdge(column, row - 1)) outY = std::max(outY, top + radius);
    if (IsWallOrEdge(column, row + 1)) outY = std::min(outY, top + kCellSize - radius);
}

bool CWaypointCalculator::FindWholePath(std::vector<int>& outCells, std::size_t mostCells, bool& outCut,
                                        double fromX, double fromY, double goalX, double goalY, double halfWidth,
                                        double halfHeight, double radius, const Closed* closed, std::size_t count,
                                        Spends spends) {
    outCells.clear();
    outCut = false;
    m_startColumn = CellOf(fromX);
    m_startRow = CellOf(fromY);
    m_goalColumn = CellOf(goalX);
    m_goalRow = CellOf(goalY);
    if (!OnGrid(m_startColumn, m_startRow) || !OnGrid(m_goalColumn, m_goalRow)) return false;
    m_toleranceColumns = Tolerance(halfWidth);
    m_toleranceRows = Tolerance(halfHeight);
    // A point on a wall is no place to stand; only a box round it may be reached.
    if (m_toleranceColumns == 0 && m_toleranceRows == 0 && GetNode(m_goalColumn, m_goalRow).state == WAYPOINT_TILE)
        return false;

    m_closedCells.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const Closed& circle = closed[i];
        const int firstColumn = std::max(CellOf(circle.x - circle.reach), 0);
        const int lastColumn = std::min(CellOf(circle.x + circle.reach), m_width - 1);
        const int firstRow = std::max(CellOf(circle.y - circle.reach), 0);
        const int lastRow = std::min(CellOf(circle.y + circle.reach), m_height - 1);
        for (int row = firstRow; row <= lastRow; ++row)
            for (int column = firstColumn; column <= lastColumn; ++column) {
                double cx = 0.0;
                double cy = 0.0;
                StandingPoint(column, row, radius, cx, cy);
                cx -= circle.x;
                cy -= circle.y;
                CWaypointNode& node = m_nodes[std::size_t(row) * m_width + column];
                if (cx * cx + cy * cy >= circle.reach * circle.reach || node.state == WAYPOINT_OBJECT) continue;
                m_closedCells.emplace_back(node.index, node.state);
                node.state = WAYPOINT_OBJECT;
            }
    }
    const int costLimit = m_costLimit;
    m_besideOpen = true;
    m_wideWalker = 2.0 * radius > kCellSize;
    m_costLimit = EstimateCost(m_startRow * m_width + m_startColumn) + kWindowSteps;
    const int spent = m_searchCells;
    bool found = FindPath();
    m_searchCells += m_expanded;
    if (!found && m_cutOff) {
        // Nothing near the straight way leads there: the whole grid, whose cell
        // count bounds any path's total, is searched.
        m_costLimit = INT_MAX;
        found = FindPath();
        m_searchCells += m_expanded;
    }
    if (spends == Spends::kNothing) m_searchCells = spent;
    m_besideOpen = false;
    m_wideWalker = false;
    m_costLimit = costLimit;
    for (const auto& [index, state] : m_closedCells) m_nodes[index].state = state;
    if (!found) return false;
    const int start = m_startRow * m_width + m_startColumn;
    const int reached = m_goalRow * m_width + m_goalColumn;
    const std::size_t length = static_cast<std::size_t>(PathLength(start, reached));
    // The cells nearest the goal are left out of a path too long to keep whole.
    int cell = reached;
    for (std::size_t skipped = 0; skipped + mostCells < length; ++skipped) cell = m_nodes[cell].parent;
    outCut = length > mostCells;
    for (std::size_t kept = 0; kept < std::min(length, mostCells); ++kept, cell = m_nodes[cell].parent)
        outCells.push_back(cell);
    std::reverse(outCells.begin(), outCells.end());
    return true;
}

bool CWaypointCalculator::MaySearchAt(std::uint32_t tick) {
    if (tick != m_searchTick) {
        m_searchTick = tick;
        m_searchCells = 0;
    }
    return m_searchCells < kSearchCellsPerTick;
}

void CWaypointCalculator::StandingPoint(int cell, double radius, double& outX, double& outY) const {
    StandingPoint(cell % m_width, cell / m_width, radius, outX, outY);
}

bool CWaypointCalculator::FindPath() {
    CWaypointNode& start = m_nodes[std::size_t(m_startRow) * m_width + m_startColumn];
    CWaypointNode& goal = m_nodes[std::size_t(m_goalRow) * m_width + m_goalColumn];
    const int startState = start.state;
    const int goalState = goal.state;
    start.state = WAYPOINT_FREE;
    goal.state = WAYPOINT_FREE;
    const bool found = Search();
    start.state = startState;
    goal.state = goalState;
    return found;
}

void CWaypointCalculator::NextStamp() {
    if (m_searchCounter == INT_MAX) {
        // Stamps of long ago would match again after the wrap: void them all once.
        for (CWaypointNode& node : m_nodes) node.stamp = 0;
        m_searchCounter = 0;
    }
    ++m_searchCounter;
}

bool CWaypointCalculator::Search() {
    NextStamp();
    CWaypointNode* const nodes = m_nodes.data();
    const int startIndex = m_startRow * m_width + m_startColumn;
    CWaypointNode& start = nodes[startIndex];
    start.cost = 0;
    m_totals[startIndex] = EstimateCost(startIndex);
    start.stamp = m_searchCounter;
    m_open.clear();
    m_layers[0].clear();
    m_layers[1].clear();
    m_layerTotal = m_totals[startIndex];
    m_cutOff = false;
    m_expanded = 0;
    PushOpen(start);
    int firstColumn = m_startColumn;
    int lastColumn = m_startColumn;
    int firstRow = m_startRow;
    int lastRow = m_startRow;
    bool expanded = false;
    // Expanded cells and their side neighbours: all the cells whose state was read.
    const auto noteRead = [&] {
        if (!expanded) m_read = {};
        else m_read = {firstColumn - 1 - m_startColumn, firstRow - 1 - m_startRow, lastColumn + 1 - m_startColumn,
                       lastRow + 1 - m_startRow};
    };

    // The neighbours' columns and rows follow from the expanded cell's, so the
    // estimate needs no division; the order of the visits is the search's tie order.
    const auto visit = [&](const CWaypointNode& node, int index, int column, int row) {
        CWaypointNode& next = nodes[index];
        if (next.state != WAYPOINT_FREE && !(m_besideOpen && next.state == WAYPOINT_BESIDE_TILE)) return;
        if (m_wideWalker && m_narrow[index]) return;
        if (next.stamp != m_searchCounter) {
            next.cost = 0;
            next.stamp = m_searchCounter;
        }
        const int cost = node.cost + 1;
        if (next.cost == 0 || cost < next.cost) {
            next.cost = cost;
            next.parent = node.index;
            m_totals[index] = cost + Estimate(column, row);
            PushOpenIndex(index);
        }
    };

    while (!IsOpenEmpty()) {
        const int index = OpenTop();
        CWaypointNode& top = nodes[index];
        const int row = index / m_width;
        const int column = index - row * m_width;
        // A cell within tolerance is accepted whatever its total.
        if (std::abs(m_goalColumn - column) <= m_toleranceColumns && std::abs(m_goalRow - row) <= m_toleranceRows) {
            noteRead();
            m_goalColumn = column;
            m_goalRow = row;
            return true;
        }
        if (m_totals[index] > m_costLimit) {
            noteRead();
            m_cutOff = true;
            return false;
        }
        PopOpen();
        if (m_totals[index] == -1) continue;
        m_totals[index] = -1;
        expanded = true;
        ++m_expanded;
        firstColumn = std::min(firstColumn, column);
        lastColumn = std::max(lastColumn, column);
        firstRow = std::min(firstRow, row);
        lastRow = std::max(lastRow, row);

        if (column > 0) visit(top, index - 1, column - 1, row);
        if (column + 1 < m_width) visit(top, index + 1, column + 1, row);
        if (row > 0) visit(top, index - m_width, column, row - 1);
        if (row + 1 < m_height) visit(top, index + m_width, column, row + 1);
    }
    noteRead();
    return false;
}

int CWaypointCalculator::EstimateCost(int cell) const { return Estimate(cell % m_width, cell / m_width); }

void CWaypointCalculator::PushOpen(CWaypointNode& node) { PushOpenIndex(node.index); }

// The open list is the classic array heap (children of slot i at 2i + 1 and 2i + 2)
// with the standard library's push and pop procedures step for step: the hole of a
// pop sinks to a leaf along the smaller children and the moved last entry then
// rises, and ties go the way those procedures send them. Entries are cells and the
// totals are read as they stand at each comparison, stale entries included.
void CWaypointCalculator::PushOpenIndex(int index) {
    if (m_besideOpen) {
        m_layers[m_totals[index] <= m_layerTotal ? 0 : 1].push_back(index);
        return;
    }
    m_open.push_back(index);
    SiftUp(m_open.size() - 1, 0, index);
}

bool CWaypointCalculator::IsOpenEmpty() const {
    return m_besideOpen ? m_layers[0].empty() && m_layers[1].empty() : m_open.empty();
}

int CWaypointCalculator::OpenTop() {
    if (!m_besideOpen) return m_open.front();
    if (m_layers[0].empty()) {
        // The lower layer is spent: the next one's total is two more.
        m_layers[0].swap(m_layers[1]);
        m_layerTotal += 2;
    }
    return m_layers[0].back();
}

void CWaypointCalculator::SiftUp(std::size_t hole, std::size_t top, int index) {
    int* const heap = m_open.data();
    const int* const totals = m_totals.data();
    const int total = totals[index];
    while (hole > top) {
        const std::size_t parent = (hole - 1) / 2;
        if (!(totals[heap[parent]] > total)) break;
        heap[hole] = heap[parent];
        hole = parent;
    }
    heap[hole] = index;
}

void CWaypointCalculator::PopOpen() {
    if (m_besideOpen) {
        m_layers[0].pop_back();
        return;
    }
    const std::size_t size = m_open.size();
    if (size > 1) {
        int* const heap = m_open.data();
        const int* const totals = m_totals.data();
        const int last = heap[size - 1];
        heap[size - 1] = heap[0];
        const std::size_t length = size - 1;
        std::size_t hole = 0;
        std::size_t child = 0;
        while (child < (length - 1) / 2) {
            child = 2 * (child + 1);
            // The right child stays unless the left one ranks strictly higher.
            child -= totals[heap[child]] > totals[heap[child - 1]] ? 1 : 0;
            heap[hole] = heap[child];
            hole = child;
        }
        if ((length & 1) == 0 && child == (length - 2) / 2) {
            child = 2 * (child + 1);
            heap[hole] = heap[child - 1];
            hole = child - 1;
        }
        SiftUp(hole, 0, last);
    }
    m_open.pop_back();
}

}  // namespace DRAV
