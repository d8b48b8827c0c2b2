#include "world/tile.h"

#include <string>

#include "common/exception.h"

namespace DRAV {

namespace {

constexpr std::uint32_t kTileRowStride = 1000;

}  // namespace

ThingId MakeTileId(std::uint32_t row, std::uint32_t column) {
    const std::uint64_t serial = std::uint64_t{row} * kTileRowStride + column;
    if (serial > kMaxThingSerial)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE,
                             "tile cell out of range: row " + std::to_string(row) + ", column " + std::to_string(column));
    ThingId id = 0;
    MakeThingId(id, THING_TILE, static_cast<std::uint32_t>(serial));
    return id;
}

CTile::CTile(std::uint32_t row, std::uint32_t column, CMasterTile* master)
    : CThing(MakeTileId(row, column)), m_master(master) {}

bool CTile::IsDoor() const { return m_master && m_master->GetDefinition().GetKind() == TILE_DOOR; }

CMasterTileDoor* CTile::GetDoor() const {
    auto* door = dynamic_cast<CMasterTileDoor*>(m_master);
    if (!door || door->GetDefinition().GetKind() != TILE_DOOR)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the cell holds no door");
    return door;
}

CTile::Blocking CTile::GetBlocking() const {
    if (!m_master) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no tile covers the cell");
    switch (m_master->GetDefinition().GetKind()) {
        case TILE_FLOOR: return {false, false, false};
        case TILE_EMPTY: return {true, false, false};
        case TILE_SOLID: return {true, true, true};
        case TILE_BLOCK: return {true, true, false};
        case TILE_DOOR: {
            const bool closed = !GetDoor()->IsOpen();
            return {closed, closed, closed};
        }
        default: break;
    }
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE,
                         "tile kind out of range: " + std::to_string(m_master->GetDefinition().GetKind()));
}

bool CTile::BlocksMovement() const { return GetBlocking().movement; }
bool CTile::BlocksLine() const { return GetBlocking().line; }
bool CTile::BlocksView() const { return GetBlocking().view; }

}  // namespace DRAV
