#include "world/movement/party_visibility.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "world/area.h"
#include "world/cell.h"

namespace DRAV {

namespace {

// Cells within this many flood steps of a member count as explored.
constexpr std::uint32_t kExploredRings = 49;
// The ring queues are reserved to this many cells so a pass rarely grows them.
constexpr std::size_t kRingReserve = 5000;

struct Cell {
    std::uint32_t column;
    std::uint32_t row;
};

// The cell a living member stands on; false for the dead and for anyone off the grid.
bool MemberCell(const CActor& member, const CArea& area, Cell& cell) {
    if (!member.IsAlive()) return false;
    const double column = std::floor(member.GetX() / kCellSize);
    const double row = std::floor(member.GetY() / kCellSize);
    if (!(column >= 0.0 && row >= 0.0 && column < area.GetColumns() && row < area.GetRows())) return false;
    cell = {static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(row)};
    return true;
}

// Whether the cells from index `first` to `last` are all seen and explored.
bool AllKnown(const CArea& area, std::size_t first, std::size_t last) {
    const std::uint32_t* const seen = area.GetSeenCells().words.data();
    const std::uint32_t* const explored = area.GetExploredCells().words.data();
    // The cells of a word lie side by side in it: test them together.
    for (std::size_t cell = first; cell <= last;) {
        const std::size_t word = CCellBits::WordOf(cell);
        const std::size_t end = std::min(last, word * CCellBits::kCellsPerWord + CCellBits::kCellsPerWord - 1);
        const std::uint32_t bits = ((2u << (end - cell)) - 1u) << CCellBits::BitOf(cell);
        if ((seen[word] & explored[word] & bits) != bits) return false;
        cell = end + 1;
    }
    return true;
}

}  // namespace

bool UpdatePartyVisibility(CArea* area, const ActorList& party) {
    return area ? area->GetPartyView().Update(*area, party) : false;
}

void CPartyView::BuildStops(const CArea& area) {
    m_columns = area.GetColumns();
    m_rows = area.GetRows();
    m_allKnown = false;
    const std::size_t cells = std::size_t{m_columns} * m_rows;
    m_stops.resize(cells);
    if (m_reached.size() != cells) {
        m_reached.assign(cells, 0);
        m_pass = 0;
    }
    for (std::uint32_t row = 0; row < m_rows; ++row) {
        for (std::uint32_t column = 0; column < m_columns; ++column) {
            const bool border = row == 0 || column == 0 || row + 1 == m_rows || column + 1 == m_columns;
            const CTile* tile = area.GetTile(column, row);
            m_stops[std::size_t{row} * m_columns + column] = border || !tile->GetMaster() || tile->BlocksView();
        }
    }
}

void CPartyView::NextPass() {
    if (++m_pass == 0) {
        // Passes of long ago would count as this one after the wrap.
        std::fill(m_reached.begin(), m_reached.end(), 0u);
        m_pass = 1;
    }
}

bool CPartyView::IsAllKnown(const CArea& area) const {
    return m_columns == 0 || m_rows == 0 || AllKnown(area, 0, std::size_t{m_columns} * m_rows - 1);
}

bool CPartyView::IsSettled(const CArea& area, std::uint32_t column, std::uint32_t row) const {
    const std::uint32_t left = column > kExploredRings ? column - kExploredRings : 0;
    const std::uint32_t right = std::min(column + kExploredRings, m_columns - 1);
    const std::uint32_t top = row > kExploredRings ? row - kExploredRings : 0;
    const std::uint32_t bottom = std::min(row + kExploredRings, m_rows - 1);
    for (std::uint32_t y = top; y <= bottom; ++y)
        if (!AllKnown(area, std::size_t{y} * m_columns + left, std::size_t{y} * m_columns + right)) return false;
    return true;
}

void CPartyView::Reach(CArea& area, std::uint32_t cell, bool explore) {
    m_reached[cell] = m_pass;
    area.GetSeenCells().SetCell(cell);
    if (explore) area.GetExploredCells().SetCell(cell);
    if (!m_stops[cell]) m_next.push_back(cell);
}

bool CPartyView::Update(CArea& area, const ActorList& party) {
    CCellBits& seen = area.GetSeenCells();
    CCellBits& flooded = area.GetSecondSeenCells();
    CCellBits& explored = area.GetExploredCells();

    const bool full = area.IsViewStale();
    Cell cell{};
    if (full) {
        area.ClearVisibilityBits();
        m_allKnown = false;
    } else {
        bool allFlooded = true;
        for (const std::shared_ptr<CActor>& member : party)
            if (MemberCell(*member, area, cell) && !flooded.Get(cell.column, cell.row)) allFlooded = false;
        if (allFlooded) return false;
    }

    if (full || m_columns != area.GetColumns() || m_rows != area.GetRows()) BuildStops(area);
    NextPass();
    m_ring.clear();
    m_ring.reserve(kRingReserve);
    m_next.reserve(kRingReserve);

    bool askedAll = false;
    for (const std::shared_ptr<CActor>& member : party) {
        if (!MemberCell(*member, area, cell) || flooded.Get(cell.column, cell.row)) continue;
        flooded.Set(cell.column, cell.row, true);
        seen.Set(cell.column, cell.row, true);
        explored.Set(cell.column, cell.row, true);
        // A partial flood never leaves the square of its reach round the seed: when
        // all of it is known already, it would add nothing.
        if (!full) {
            if (!m_allKnown && !askedAll) {
                m_allKnown = IsAllKnown(area);
                askedAll = true;
            }
            if (m_allKnown || IsSettled(area, cell.column, cell.row)) continue;
        }
        const std::uint32_t index = cell.row * m_columns + cell.column;
        m_reached[index] = m_pass;
        m_ring.push_back(index);
    }

    // Neighbours in visiting order: the column to the left top to bottom, the same
    // column above and below, the column to the right top to bottom.
    constexpr int kColumnSteps[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
    constexpr int kRowSteps[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
    const std::uint32_t width = m_columns;
    std::int64_t offsets[8];
    for (int n = 0; n < 8; ++n) offsets[n] = std::int64_t{kRowSteps[n]} * width + kColumnSteps[n];
    for (std::uint32_t r = 0; !m_ring.empty(); ++r) {
        const bool explore = r < kExploredRings;
        if (!explore && !full) break;
        m_next.clear();
        for (const std::uint32_t from : m_ring) {
            const std::uint32_t column = from % width;
            const std::uint32_t row = from / width;
            // Only the seeds can lie on the border (every other cell of a ring is open
            // to view, and the border stops it); cells off the grid have no bits.
            const bool inside = column > 0 && row > 0 && column + 1 < width && row + 1 < m_rows;
            for (int n = 0; n < 8; ++n) {
                if (!inside) {
                    const int dc = kColumnSteps[n];
                    const int dr = kRowSteps[n];
                    if ((dc < 0 && column == 0) || (dr < 0 && row == 0) || (dc > 0 && column + 1 >= width) ||
                        (dr > 0 && row + 1 >= m_rows))
                        continue;
                }
                const auto next = static_cast<std::uint32_t>(from + offsets[n]);
                if (m_reached[next] != m_pass) Reach(area, next, explore);
            }
        }
        std::swap(m_ring, m_next);
    }

    area.SetViewStale(false);
    return full;
}

}  // namespace DRAV
