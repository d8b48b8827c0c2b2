// The geometric tests movement, placement and reach rest on: may an actor's circle
// stand at a point, and is the segment from an actor to a point free. Outside the
// grid there is nothing to stand on or see through: those cells block.

#include <algorithm>
#include <cmath>

#include "world/area.h"
#include "world/cell.h"

namespace DRAV {

namespace {

// The cell index of a coordinate, clamped to one cell either side of [0, limit).
std::int64_t ClampedCell(double coordinate, std::int64_t limit) {
    const double cell = std::floor(coordinate / kCellSize);
    if (!(cell >= -1.0)) return -1;
    if (cell >= static_cast<double>(limit)) return limit;
    return static_cast<std::int64_t>(cell);
}

// Per-axis gap from a point to an interval, 0 inside.
double Gap(double value, double low, double high) {
    if (value < low) return low - value;
    if (value > high) return value - high;
    return 0.0;
}

// A cell no tile covers has nothing to stand on and nothing to look through.
bool BlocksMovement(const CTile& cell) { return !cell.GetMaster() || cell.BlocksMovement(); }
bool BlocksLine(const CTile& cell) { return !cell.GetMaster() || cell.BlocksLine(); }

struct Footprint {
    double left, right, bottom, top;
};

Footprint FootprintOf(const CObject& object) {
    double hx = 0.0;
    double hy = 0.0;
    object.GetHalfExtents(hx, hy);
    return {object.GetX() - hx, object.GetX() + hx, object.GetY() - hy, object.GetY() + hy};
}

// The first actor in the area's order, but those `passed`, whose circle touches that
// of `actor` standing at (x, y); null when none does. Only those the grid files
// near the point can touch it.
template <typename Passed>
CActor* FirstTouched(const CActorGrid& grid, const CActor& actor, double x, double y, Passed passed) {
    CNearActors near;
    grid.Near(x, y, actor.GetRadius(), near);
    for (CActor* other : near) {
        if (passed(*other)) continue;
        const double reach = other->GetRadius() + actor.GetRadius();
        const double dx = x - other->GetX();
        const double dy = y - other->GetY();
        // Touching circles block.
        if (reach * reach >= dx * dx + dy * dy) return other;
    }
    return nullptr;
}

}  // namespace

bool CArea::TestTiles(const CActor& actor, CThing** blocker, double x, double y) const {
    const double width = m_columns * kCellSize;
    const double depth = m_rows * kCellSize;
    if (!(x >= 0.0 && x < width && y >= 0.0 && y < depth)) {
        if (blocker) *blocker = nullptr;
        return false;
    }
    const double r = actor.GetRadius();
    const std::int64_t firstColumn = ClampedCell(x - r, m_columns);
    const std::int64_t lastColumn = ClampedCell(x + r, m_columns);
    const std::int64_t firstRow = ClampedCell(y - r, m_rows);
    const std::int64_t lastRow = ClampedCell(y + r, m_rows);
    for (std::int64_t column = firstColumn; column <= lastColumn; ++column) {
        for (std::int64_t row = firstRow; row <= lastRow; ++row) {
            const double dx = Gap(x, column * kCellSize, (column + 1) * kCellSize);
            const double dy = Gap(y, row * kCellSize, (row + 1) * kCellSize);
            // A cell exactly a radius away blocks.
            if (std::sqrt(dx * dx + dy * dy) > r) continue;
            const CTile* cell = CellAt(column, row);
            if (cell && !BlocksMovement(*cell)) continue;
            if (blocker) *blocker = const_cast<CTile*>(cell);
            return false;
        }
    }
    return true;
}

void CArea::FindRoomOnGround(const CActor& actor, double x, double y, double& outX, double& outY) const {
    constexpr int kPoints = 16;
    constexpr double kRingStep = 0.25;
    outX = x;
    outY = y;
    if (!(x >= 0.0 && y >= 0.0 && x < m_columns * kCellSize && y < m_rows * kCellSize)) return;
    const CTile* ground = CellAt(static_cast<std::int64_t>(x / kCellSize), static_cast<std::int64_t>(y / kCellSize));
    if (!ground || BlocksMovement(*ground)) return;
    if (TestTiles(actor, nullptr, x, y) && TestObjects(actor, nullptr, x, y)) return;
    const int rings = static_cast<int>(std::ceil(actor.GetRadius() / kRingStep));
    for (int ring = 1; ring <= rings; ++ring)
        for (int point = 0; point < kPoints; ++point) {
            const double angle = 2.0 * M_PI * point / kPoints;
            const double px = x + ring * kRingStep * std::cos(angle);
            const double py = y + ring * kRingStep * std::sin(angle);
            if (!TestTiles(actor, nullptr, px, py) || !TestObjects(actor, nullptr, px, py)) continue;
            outX = px;
            outY = py;
            return;
        }
}

bool CArea::TestObjects(const CActor& actor, CThing** blocker, double x, double y) const {
    for (const std::shared_ptr<CObject>& object : m_objects) {
        if (object->GetTemplate().GetKind() == TILE_FLOOR) continue;
        // Touching the footprint exactly is free.
        if (actor.GetRadius() > object->DistanceTo(x, y)) {
            if (blocker) *blocker = object.get();
            return false;
        }
    }
    return true;
}

bool CArea::TestActors(const CActor& actor, CThing** blocker, double x, double y) const {
    CActor* other = FirstTouched(m_actorGrid, actor, x, y, [&](const CActor& one) { return &one == &actor; });
    if (other && blocker) *blocker = other;
    return !other;
}

bool CArea::CanMoveToPast(const CActor& actor, const CActor& past, double x, double y) const {
    return TestTiles(actor, nullptr, x, y) && TestObjects(actor, nullptr, x, y) &&
           !FirstTouched(m_actorGrid, actor, x, y, [&](const CActor& one) { return &one == &actor || &one == &past; });
}

bool CArea::TestTileColumn(std::uint32_t column, std::uint32_t firstRow, std::uint32_t lastRow,
                           bool emptyBlocks) const {
    for (std::uint64_t row = firstRow; row <= lastRow; ++row) {
        const CTile* cell = GetTile(column, static_cast<std::uint32_t>(row));
        if (!cell || BlocksLine(*cell)) return false;
        if (emptyBlocks && cell->GetMaster()->GetDefinition().GetKind() == TILE_EMPTY) return false;
    }
    return true;
}

bool CArea::TestTileLine(const CActor& actor, bool emptyBlocks, double x, double y) const {
    const double ax = actor.GetX();
    const double ay = actor.GetY();
    const double width = m_columns * kCellSize;
    const double depth = m_rows * kCellSize;
    // Both ends inside the grid keep every cell between them inside too.
    for (const auto& [px, py] : {std::pair{ax, ay}, std::pair{x, y}})
        if (!(px >= 0.0 && px < width && py >= 0.0 && py < depth)) return false;

    const auto cellOf = [](double coordinate, std::uint32_t count) {
        return static_cast<std::uint32_t>(std::clamp<std::int64_t>(ClampedCell(coordinate, count), 0, count - 1));
    };
    const std::uint32_t actorColumn = cellOf(ax, m_columns);
    const std::uint32_t pointColumn = cellOf(x, m_columns);
    if (actorColumn == pointColumn)
        return TestTileColumn(actorColumn, cellOf(std::min(ay, y), m_rows), cellOf(std::max(ay, y), m_rows),
                              emptyBlocks);

    const bool actorFirst = ax < x;
    const double x0 = actorFirst ? ax : x;
    const double y0 = actorFirst ? ay : y;
    const double x1 = actorFirst ? x : ax;
    const double y1 = actorFirst ? y : ay;
    const double slope = (y1 - y0) / (x1 - x0);
    const std::uint32_t firstColumn = cellOf(x0, m_columns);
    const std::uint32_t lastColumn = cellOf(x1, m_columns);
    for (std::uint32_t column = firstColumn; column <= lastColumn; ++column) {
        const double enter = column == firstColumn ? y0 : (column * kCellSize - x0) * slope + y0;
        const double leave = column == lastColumn ? y1 : ((column + 1) * kCellSize - x0) * slope + y0;
        if (!TestTileColumn(column, cellOf(std::min(enter, leave), m_rows), cellOf(std::max(enter, leave), m_rows),
                            emptyBlocks))
            return false;
    }
    return true;
}

bool CArea::TestObjectLine(const CActor& actor, double x, double y) const {
    const double ax = actor.GetX();
    const double ay = actor.GetY();
    for (const std::shared_ptr<CObject>& object : m_objects) {
        if (object->GetTemplate().GetKind() != TILE_SOLID) continue;
        const Footprint box = FootprintOf(*object);
        if (ax != x) {
            const double slope = (ay - y) / (ax - x);
            for (const double edge : {box.left, box.right}) {
                if (edge < std::min(ax, x) || edge > std::max(ax, x)) continue;
                const double crossing = (edge - ax) * slope + ay;
                if (box.bottom <= crossing && crossing <= box.top) return false;
            }
        }
        if (ay != y) {
            const double slope = (ax - x) / (ay - y);
            for (const double edge : {box.bottom, box.top}) {
                if (edge < std::min(ay, y) || edge > std::max(ay, y)) continue;
                const double crossing = (edge - ay) * slope + ax;
                if (box.left <= crossing && crossing <= box.right) return false;
            }
        }
    }
    return true;
}

void CArea::ReplaceBlockedActors() {
    for (std::size_t index = 0; index < m_actors.size();) {
        std::shared_ptr<CActor> actor = m_actors[index];
        if (CanMoveTo(*actor, nullptr, actor->GetX(), actor->GetY())) {
            ++index;
            continue;
        }
        EraseActor(index);
        const auto cellOf = [](double coordinate) {
            return static_cast<std::uint32_t>(std::max<std::int64_t>(ClampedCell(coordinate, UINT32_MAX), 0));
        };
        if (PlaceActor(cellOf(actor->GetX()), cellOf(actor->GetY()), true, actor)) continue;
        // Another actor for which no spot is found leaves the area. A party member
        // stays where it stands: lost from the area's list it would still count as
        // in it, and the party could never leave.
        if (actor->IsPartyMember()) {
            InsertActor(index, std::move(actor));
            ++index;
        }
    }
}

}  // namespace DRAV
