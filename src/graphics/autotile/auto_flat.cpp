#include "graphics/autotile/auto_flat.h"

#include "graphics/autotile/auto_quad.h"

namespace DRAVGraph::AutoTile {

namespace {
constexpr float DECAL_HEIGHT = 0.05f;  // just clear of the floor beneath
constexpr float MURAL_OFFSET = -0.05f;  // just in front of the wall plane z = 0
}  // namespace

AutoTileGeometry BuildAutoFloor(const CSubModelInfo& info) {
    RequireCount(info, 5, 5);
    const float half = Number(info, 0) * HALF_CELL;
    const AtlasSpan u = Atlas(Number(info, 1), Number(info, 2));
    const AtlasSpan v = Atlas(Number(info, 3), Number(info, 4));
    AutoTileGeometry geometry;
    AddGroundQuad(geometry, half, half, 0.0f, u, v);
    ClosePart(geometry, PartKind::Textured);
    return geometry;
}

AutoTileGeometry BuildAutoDecal(const CSubModelInfo& info) {
    RequireCount(info, 2, 2);
    const float halfX = Number(info, 0) * 0.5f;
    const float halfZ = Number(info, 1) * 0.5f;
    AutoTileGeometry geometry;
    AddGroundQuad(geometry, halfX, halfZ, DECAL_HEIGHT, {0.0f, 1.0f}, {0.0f, 1.0f});
    ClosePart(geometry, PartKind::Textured);
    return geometry;
}

AutoTileGeometry BuildAutoMural(const CSubModelInfo& info) {
    RequireCount(info, 3, 3);
    const float bottom = Number(info, 0);
    const float half = Number(info, 1) * 0.5f;
    const float top = bottom + Number(info, 2);
    AutoTileGeometry geometry;
    // Faces -z; u runs from x = half (the viewer's left) to x = -half.
    AddQuad(geometry, QuadOrder::Wall, {0.0f, 1.0f, 0.0f},
            {{{-half, top, MURAL_OFFSET, 1.0f, 0.0f},
              {half, top, MURAL_OFFSET, 0.0f, 0.0f},
              {half, bottom, MURAL_OFFSET, 0.0f, 1.0f},
              {-half, bottom, MURAL_OFFSET, 1.0f, 1.0f}}});
    ClosePart(geometry, PartKind::Textured);
    return geometry;
}

}  // namespace DRAVGraph::AutoTile
