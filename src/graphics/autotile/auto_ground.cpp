#include "graphics/autotile/auto_ground.h"

#include <cmath>

#include "graphics/autotile/auto_quad.h"

namespace DRAVGraph::AutoTile {

namespace {

constexpr float C = HALF_CELL;

// The +z face of a pit down to -depth, facing into the cell, u from uStart at x = -C.
void AddPitFace(AutoTileGeometry& geometry, float uStart, float uEnd, float depth) {
    AddQuad(geometry, QuadOrder::Wall, {0.0f, 0.0f, -1.0f},
            {{{-C, 0.0f, C, uStart, 0.0f},
              {C, 0.0f, C, uEnd, 0.0f},
              {C, -depth, C, uEnd, 1.0f},
              {-C, -depth, C, uStart, 1.0f}}});
}

// The leaning normals of the slopes: those of a fall of D over one unit of run.
struct SlopeNormals {
    Normal fallingMinusZ;
    Normal fallingPlusX;
};
SlopeNormals SlopeNormalsFor(float depth) {
    const float length = std::sqrt(depth * depth + 1.0f);
    return {{0.0f, 1.0f / length, -depth / length}, {depth / length, 1.0f / length, 0.0f}};
}

}  // namespace

AutoTileGeometry BuildAutoDownEdge(const CSubModelInfo& info, bool plusZ) {
    RequireCount(info, 5, 5);
    const AtlasSpan u = Atlas(Number(info, 0), Number(info, 1));
    const AtlasSpan v = Atlas(Number(info, 2), Number(info, 3));
    const float depth = Number(info, 4);
    AutoTileGeometry geometry;
    AddGroundQuad(geometry, C, C, 0.0f, u, v);
    ClosePart(geometry, PartKind::Textured);
    // The +z drop face is the -z one turned half round about the y axis.
    const float s = plusZ ? -1.0f : 1.0f;
    AddQuad(geometry, QuadOrder::Wall, {0.0f, 0.0f, -s},
            {{{-C * s, 0.0f, -C * s, u.low, 0.0f},
              {C * s, 0.0f, -C * s, u.high, 0.0f},
              {C * s, -depth, -C * s, u.high, 1.0f},
              {-C * s, -depth, -C * s, u.low, 1.0f}}});
    ClosePart(geometry, PartKind::Textured);
    return geometry;
}

AutoTileGeometry BuildAutoVoidEdge(const CSubModelInfo& info) {
    RequireCount(info, 3, 3);
    const AtlasSpan u = Atlas(Number(info, 0), Number(info, 1));
    AutoTileGeometry geometry;
    AddPitFace(geometry, u.low, u.high, Number(info, 2));
    ClosePart(geometry, PartKind::Textured);
    return geometry;
}

AutoTileGeometry BuildAutoVoidCorner(const CSubModelInfo& info) {
    RequireCount(info, 1, 1);
    const float depth = Number(info, 0);
    AutoTileGeometry geometry;
    AddPitFace(geometry, 0.5f, 1.0f, depth);
    AddQuad(geometry, QuadOrder::Wall, {1.0f, 0.0f, 0.0f},
            {{{-C, 0.0f, -C, 0.0f, 0.0f},
              {-C, 0.0f, C, 0.5f, 0.0f},
              {-C, -depth, C, 0.5f, 1.0f},
              {-C, -depth, -C, 0.0f, 1.0f}}});
    ClosePart(geometry, PartKind::Textured);
    return geometry;
}

AutoTileGeometry BuildAutoSlopeDown(const CSubModelInfo& info) {
    RequireCount(info, 3, 3);
    const AtlasSpan u = Atlas(Number(info, 0), Number(info, 1));
    const float depth = Number(info, 2);
    AutoTileGeometry geometry;
    AddQuad(geometry, QuadOrder::Wall, SlopeNormalsFor(depth).fallingMinusZ,
            {{{-C, 0.0f, C, u.low, 0.0f},
              {C, 0.0f, C, u.high, 0.0f},
              {C, -depth, -C, u.high, 1.0f},
              {-C, -depth, -C, u.low, 1.0f}}});
    ClosePart(geometry, PartKind::Textured);
    return geometry;
}

namespace {

// Both corner slopes are cut along the diagonal from (-C, 0, C) to (C, -D, -C) into two
// flat triangles with vertices of their own; each shows the image as a slope falling its
// way would.
AutoTileGeometry BuildCornerSlope(const CSubModelInfo& info, bool outer) {
    RequireCount(info, 1, 1);
    const float d = Number(info, 0);
    const SlopeNormals normals = SlopeNormalsFor(d);
    AutoTileGeometry geometry;
    if (outer) {
        AddTriangle(geometry, normals.fallingPlusX,
                    {{{-C, 0.0f, C, 1.0f, 0.0f}, {C, -d, -C, 0.0f, 1.0f}, {-C, 0.0f, -C, 0.0f, 0.0f}}});
        AddTriangle(geometry, normals.fallingMinusZ,
                    {{{-C, 0.0f, C, 0.0f, 0.0f}, {C, 0.0f, C, 1.0f, 0.0f}, {C, -d, -C, 1.0f, 1.0f}}});
    } else {
        AddTriangle(geometry, normals.fallingMinusZ,
                    {{{-C, 0.0f, C, 0.0f, 0.0f}, {C, -d, -C, 1.0f, 1.0f}, {-C, -d, -C, 0.0f, 1.0f}}});
        AddTriangle(geometry, normals.fallingPlusX,
                    {{{-C, 0.0f, C, 1.0f, 0.0f}, {C, -d, C, 1.0f, 1.0f}, {C, -d, -C, 0.0f, 1.0f}}});
    }
    ClosePart(geometry, PartKind::Textured);
    return geometry;
}

}  // namespace

AutoTileGeometry BuildAutoSlopeDownInner(const CSubModelInfo& info) {
    return BuildCornerSlope(info, false);
}

AutoTileGeometry BuildAutoSlopeDownOuter(const CSubModelInfo& info) {
    return BuildCornerSlope(info, true);
}

}  // namespace DRAVGraph::AutoTile
