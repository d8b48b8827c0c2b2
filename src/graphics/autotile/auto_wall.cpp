#include "graphics/autotile/auto_wall.h"

#include "graphics/autotile/auto_quad.h"

namespace DRAVGraph::AutoTile {

AutoTileGeometry BuildAutoWall(const CSubModelInfo& info, bool twoSided) {
    RequireCount(info, 3, ANY_COUNT);
    const float half = Number(info, 0) * HALF_CELL;
    const AtlasSpan u = Atlas(Number(info, 1), Number(info, 2));
    const float h = WALL_HEIGHT;
    const float z = HALF_CELL;
    AutoTileGeometry geometry;
    // The front (-z) shows the same column counted from the image's right edge, so that
    // both faces read unmirrored from their own side.
    const float frontL = 1.0f - u.low;
    const float frontR = 1.0f - u.high;
    AddQuad(geometry, QuadOrder::Wall, {0.0f, 0.0f, -1.0f},
            {{{-half, 0.0f, -z, frontL, 1.0f},
              {-half, h, -z, frontL, 0.0f},
              {half, h, -z, frontR, 0.0f},
              {half, 0.0f, -z, frontR, 1.0f}}});
    if (twoSided) ClosePart(geometry, PartKind::Textured);
    AddQuad(geometry, QuadOrder::Wall, {0.0f, 0.0f, 1.0f},
            {{{half, 0.0f, z, u.high, 1.0f},
              {half, h, z, u.high, 0.0f},
              {-half, h, z, u.low, 0.0f},
              {-half, 0.0f, z, u.low, 1.0f}}});
    ClosePart(geometry, PartKind::Textured);
    AddCapQuad(geometry, half, z, h);
    ClosePart(geometry, PartKind::BlackCap);
    return geometry;
}

AutoTileGeometry BuildAutoPillar(const CSubModelInfo& info, bool wrap, bool repeat,
                                 bool texturedTop) {
    RequireCount(info, 1, ANY_COUNT);
    const float w = Number(info, 0) * HALF_CELL;
    const float height = info.autoParams.size() >= 2 ? Number(info, 1) : WALL_HEIGHT;
    // The image keeps the scale of a full wall and stays anchored at the ground.
    const float vTop = (WALL_HEIGHT - height) / WALL_HEIGHT;

    struct Side {
        float startX, startZ, endX, endZ;
        Normal normal;
    };
    // Clockwise around the prism seen from above.
    const Side sides[4] = {
        {-w, -w, w, -w, {0.0f, 0.0f, -1.0f}},
        {w, -w, w, w, {1.0f, 0.0f, 0.0f}},
        {w, w, -w, w, {0.0f, 0.0f, 1.0f}},
        {-w, w, -w, -w, {-1.0f, 0.0f, 0.0f}},
    };
    // Wrapped, the image runs once around, a quarter per side, meeting itself at the
    // corner x = -w, z = -w.
    static constexpr float wrapU[5] = {1.0f, 0.75f, 0.5f, 0.25f, 0.0f};
    const bool partPerSide = !wrap && !repeat;

    AutoTileGeometry geometry;
    for (int k = 0; k < 4; ++k) {
        const Side& side = sides[k];
        const float s = wrap ? wrapU[k] : 1.0f;
        const float e = wrap ? wrapU[k + 1] : 0.0f;
        AddQuad(geometry, QuadOrder::Wall, side.normal,
                {{{side.startX, 0.0f, side.startZ, s, 1.0f},
                  {side.startX, height, side.startZ, s, vTop},
                  {side.endX, height, side.endZ, e, vTop},
                  {side.endX, 0.0f, side.endZ, e, 1.0f}}});
        if (partPerSide) ClosePart(geometry, PartKind::Textured);
    }
    if (!partPerSide) ClosePart(geometry, PartKind::Textured);
    AddCapQuad(geometry, w, w, height);
    ClosePart(geometry, texturedTop ? PartKind::Textured : PartKind::BlackCap);
    return geometry;
}

}  // namespace DRAVGraph::AutoTile
