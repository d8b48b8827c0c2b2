#include "world/movement/party_visibility.h"

#include <cmath>
#include <utility>
#include <vector>

#include "world/area.h"
#include "world/cell.h"

namespace DRAV {

namespace {

// Cells within this many flood steps of a member count as explored.
constexpr int kExploredRings = 49;
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

// The grid's border and every cell whose tile blocks the view; a cell no tile
// covers has nothing to look through.
CCellBits StopGrid(const CArea& area) {
    CCellBits stop;
    stop.Resize(area.GetColumns(), area.GetRows());
    for (std::uint32_t row = 0; row < area.GetRows(); ++row) {
        for (std::uint32_t column = 0; column < area.GetColumns(); ++column) {
            const bool border =
                row == 0 || column == 0 || row + 1 == area.GetRows() || column + 1 == area.GetColumns();
            const CTile* tile = area.GetTile(column, row);
            if (border || !tile->GetMaster() || tile->BlocksView()) stop.Set(column, row, true);
        }
    }
    return stop;
}

}  // namespace

bool UpdatePartyVisibility(CArea* area, const ActorList& party) {
    if (!area) return false;
    CCellBits& seen = area->GetSeenCells();
    CCellBits& flooded = area->GetSecondSeenCells();
    CCellBits& explored = area->GetExploredCells();

    const bool full = area->IsViewStale();
    Cell cell{};
    if (full) {
        area->ClearVisibilityBits();
    } else {
        bool allFlooded = true;
        for (const std::shared_ptr<CActor>& member : party)
            if (MemberCell(*member, *area, cell) && !flooded.Get(cell.column, cell.row)) allFlooded = false;
        if (allFlooded) return false;
    }

    const CCellBits stop = StopGrid(*area);
    CCellBits visited;
    visited.Resize(area->GetColumns(), area->GetRows());
    std::vector<Cell> ring;
    std::vector<Cell> next;
    ring.reserve(kRingReserve);
    next.reserve(kRingReserve);

    for (const std::shared_ptr<CActor>& member : party) {
        if (!MemberCell(*member, *area, cell) || flooded.Get(cell.column, cell.row)) continue;
        flooded.Set(cell.column, cell.row, true);
        ring.push_back(cell);
        seen.Set(cell.column, cell.row, true);
        explored.Set(cell.column, cell.row, true);
        visited.Set(cell.column, cell.row, true);
    }

    for (int r = 0; !ring.empty(); ++r) {
        const bool markExplored = r < kExploredRings;
        if (!markExplored && !full) break;
        next.clear();
        next.reserve(kRingReserve);
        for (const Cell& from : ring) {
            for (const int dc : {-1, 0, 1}) {
                for (const int dr : {-1, 0, 1}) {
                    if (dc == 0 && dr == 0) continue;
                    // Cells off the grid have no bits: a seed on the border skips them.
                    if ((dc < 0 && from.column == 0) || (dr < 0 && from.row == 0)) continue;
                    const std::uint32_t column = from.column + dc;
                    const std::uint32_t row = from.row + dr;
                    if (column >= area->GetColumns() || row >= area->GetRows() || visited.Get(column, row))
                        continue;
                    seen.Set(column, row, true);
                    visited.Set(column, row, true);
                    if (markExplored) explored.Set(column, row, true);
                    if (!stop.Get(column, row)) next.push_back({column, row});
                }
            }
        }
        std::swap(ring, next);
    }

    area->SetViewStale(false);
    return full;
}

}  // namespace DRAV
