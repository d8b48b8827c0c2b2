#include "world/master_tile.h"

#include <cmath>
#include <utility>

#include "world/area.h"
#include "world/cell.h"

namespace DRAV {

namespace {

bool IsTurned(Direction facing) { return facing != DIR_NORTH && facing != DIR_SOUTH; }

}  // namespace

CMasterTile::CMasterTile(const CTileTemplate& definition, CArea* area, std::uint32_t column, std::uint32_t row,
                         Direction facing)
    : m_definition(&definition),
      m_area(area),
      m_column(column),
      m_row(row),
      m_width(IsTurned(facing) ? definition.GetDepth() : definition.GetWidth()),
      m_depth(IsTurned(facing) ? definition.GetWidth() : definition.GetDepth()),
      m_facing(facing) {}

void CMasterTile::SetGraphic(std::int32_t id, std::shared_ptr<DRAVGraph::CGraphic> graphic) {
    m_graphic = {id, std::move(graphic)};
}

void CMasterTile::SetSecondGraphic(std::shared_ptr<DRAVGraph::CGraphicConcat> group) {
    m_secondGraphic = std::move(group);
}

void CMasterTile::ReleaseGraphics() {
    m_graphic = {};
    m_secondGraphic.reset();
}

CMasterTileDoor::CMasterTileDoor(const CTileTemplate& definition, CArea* area, std::uint32_t column,
                                 std::uint32_t row, Direction facing)
    : CMasterTile(definition, area, column, row, facing), m_lockValue(definition.GetLockValue()) {}

bool CMasterTileDoor::CanClose() const {
    return !GetDefinition().HasFlag(TILE_FLAG_NOCLOSE) && !FindActorInDoorway();
}

const CActor* CMasterTileDoor::FindActorInDoorway() const {
    if (!GetArea()) return nullptr;
    const double centreX = GetColumn() * kCellSize + GetWidth() * kCellSize / 2.0;
    const double centreY = GetRow() * kCellSize + GetDepth() * kCellSize / 2.0;
    const double halfWidth = GetWidth() * kCellSize / 2.0;
    const double halfDepth = GetDepth() * kCellSize / 2.0;
    for (const std::shared_ptr<CActor>& actor : GetArea()->GetActors()) {
        if (!actor || !actor->IsAlive()) continue;
        const double radius = actor->GetRadius();
        // Someone stands in the doorway.
        if (std::abs(actor->GetX() - centreX) <= halfWidth + radius &&
            std::abs(actor->GetY() - centreY) <= halfDepth + radius)
            return actor.get();
    }
    return nullptr;
}

}  // namespace DRAV
