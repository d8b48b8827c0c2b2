#pragma once
// A tile placed in an area: it covers a footprint of cells, and every cell of the
// footprint points at it. Doors add their open and lock state.

#include <cstdint>
#include <memory>

#include "rules/vocabulary/animation_direction.h"
#include "rules/definitions/tile_template.h"
#include "world/graphic_handle.h"

namespace DRAVGraph {
class CGraphicConcat;
}

namespace DRAV {

class CActor;
class CArea;

class CMasterTile {
public:
    // The footprint starts at (`column`, `row`); facing east or west turns it, so
    // the definition's width and depth swap.
    CMasterTile(const CTileTemplate& definition, CArea* area, std::uint32_t column, std::uint32_t row,
                Direction facing);
    virtual ~CMasterTile() = default;

    CMasterTile(const CMasterTile&) = delete;
    CMasterTile& operator=(const CMasterTile&) = delete;

    const CTileTemplate& GetDefinition() const { return *m_definition; }
    CArea* GetArea() const { return m_area; }
    std::uint32_t GetColumn() const { return m_column; }
    std::uint32_t GetRow() const { return m_row; }
    // The footprint in cells, as placed.
    std::uint32_t GetWidth() const { return m_width; }
    std::uint32_t GetDepth() const { return m_depth; }
    Direction GetFacing() const { return m_facing; }

    // Kept by the area while it builds and rebuilds its grid.
    std::int32_t GetUsedMark() const { return m_usedMark; }
    void SetUsedMark(std::int32_t mark) { m_usedMark = mark; }

    DRAVGraph::CGraphicHandle GetGraphic() const { return m_graphic; }
    void SetGraphic(std::int32_t id, std::shared_ptr<DRAVGraph::CGraphic> graphic);
    // The merged scenery the tile is drawn through instead of its own graphic, if any.
    const std::shared_ptr<DRAVGraph::CGraphicConcat>& GetSecondGraphic() const { return m_secondGraphic; }
    void SetSecondGraphic(std::shared_ptr<DRAVGraph::CGraphicConcat> group);
    // Drops both handles, when the view clears the area's graphics.
    void ReleaseGraphics();

    // The view's frame counter when it last drew the tile, so a tile over many cells
    // is drawn once a frame.
    std::uint32_t GetFrameStamp() const { return m_frameStamp; }
    void SetFrameStamp(std::uint32_t stamp) { m_frameStamp = stamp; }

private:
    const CTileTemplate* m_definition;
    CArea* m_area;
    std::uint32_t m_column;
    std::uint32_t m_row;
    std::uint32_t m_width;
    std::uint32_t m_depth;
    Direction m_facing;
    std::int32_t m_usedMark = 0;
    std::uint32_t m_frameStamp = 0;
    DRAVGraph::CGraphicHandle m_graphic;
    std::shared_ptr<DRAVGraph::CGraphicConcat> m_secondGraphic;
};

class CMasterTileDoor : public CMasterTile {
public:
    // Made closed, with the definition's lock.
    CMasterTileDoor(const CTileTemplate& definition, CArea* area, std::uint32_t column, std::uint32_t row,
                    Direction facing);

    bool IsOpen() const { return m_open; }
    void SetOpen(bool open) { m_open = open; }

    // 0 once the lock is opened.
    std::uint32_t GetLockValue() const { return m_lockValue; }
    void SetLockValue(std::uint32_t lock) { m_lockValue = lock; }

    // False for a door that never closes, and while a living actor's circle
    // touches the door's cells.
    bool CanClose() const;
    // The first living actor whose circle touches the door's cells; null for none.
    const CActor* FindActorInDoorway() const;

private:
    bool m_open = false;
    std::uint32_t m_lockValue;
};

}  // namespace DRAV
