#include "graphics/autotile/auto_quad.h"

#include "common/exception.h"

namespace DRAVGraph::AutoTile {

void RequireCount(const CSubModelInfo& info, std::size_t least, std::size_t most) {
    const std::size_t count = info.autoParams.size();
    if (count < least || count > most) throw CDRAVException(DRAV_ERR_BAD_DATA);
}

float Number(const CSubModelInfo& info, std::size_t i) {
    return static_cast<float>(info.autoParams.at(i));
}

AtlasSpan Atlas(float count, float index) {
    if (count == 0.0f) throw CDRAVException(DRAV_ERR_BAD_DATA);
    const float low = index / count;
    return {low, low + 1.0f / count};
}

void AddQuadIndices(AutoTileGeometry& geometry, QuadOrder order) {
    // Builders never pass the 16-bit range: their vertex counts are fixed, and the sphere
    // refuses a fineness that would need more.
    const auto first = static_cast<std::uint16_t>(geometry.vertices.size() - 4);
    static constexpr int floorOrder[6] = {0, 2, 1, 0, 3, 2};
    static constexpr int wallOrder[6] = {0, 1, 2, 0, 2, 3};
    const int* corners = order == QuadOrder::Floor ? floorOrder : wallOrder;
    for (int i = 0; i < 6; ++i)
        geometry.indices.push_back(static_cast<std::uint16_t>(first + corners[i]));
}

void AddQuad(AutoTileGeometry& geometry, QuadOrder order, Normal normal,
             const std::array<Corner, 4>& corners) {
    for (const Corner& c : corners)
        geometry.vertices.push_back({c.x, c.y, c.z, normal.x, normal.y, normal.z, c.u, c.v});
    AddQuadIndices(geometry, order);
}

void AddTriangle(AutoTileGeometry& geometry, Normal normal, const std::array<Corner, 3>& corners) {
    for (const Corner& c : corners) {
        geometry.indices.push_back(static_cast<std::uint16_t>(geometry.vertices.size()));
        geometry.vertices.push_back({c.x, c.y, c.z, normal.x, normal.y, normal.z, c.u, c.v});
    }
}

void AddGroundQuad(AutoTileGeometry& geometry, float halfX, float halfZ, float y, AtlasSpan u,
                   AtlasSpan v) {
    AddQuad(geometry, QuadOrder::Floor, {0.0f, 1.0f, 0.0f},
            {{{-halfX, y, -halfZ, u.low, v.low},
              {halfX, y, -halfZ, u.high, v.low},
              {halfX, y, halfZ, u.high, v.high},
              {-halfX, y, halfZ, u.low, v.high}}});
}

void AddCapQuad(AutoTileGeometry& geometry, float halfX, float halfZ, float y) {
    AddQuad(geometry, QuadOrder::Wall, {0.0f, 1.0f, 0.0f},
            {{{-halfX, y, -halfZ, 0.0f, 0.0f},
              {-halfX, y, halfZ, 0.0f, 1.0f},
              {halfX, y, halfZ, 1.0f, 1.0f},
              {halfX, y, -halfZ, 1.0f, 0.0f}}});
}

void ClosePart(AutoTileGeometry& geometry, PartKind kind) {
    AutoTilePart part;
    for (const AutoTilePart& before : geometry.parts) {
        part.firstVertex += before.vertexCount;
        part.firstTriangle += before.triangleCount;
    }
    part.vertexCount = static_cast<std::uint32_t>(geometry.vertices.size()) - part.firstVertex;
    part.triangleCount =
        static_cast<std::uint32_t>(geometry.indices.size() / 3) - part.firstTriangle;
    part.textured = kind == PartKind::Textured;
    const float shade = part.textured ? 1.0f : 0.0f;
    part.material.Diffuse = {shade, shade, shade, 1.0f};
    part.material.Ambient = part.material.Diffuse;
    part.material.Specular = {0.0f, 0.0f, 0.0f, 0.0f};
    part.material.Emissive = {0.0f, 0.0f, 0.0f, 0.0f};
    part.material.Power = 0.0f;
    geometry.parts.push_back(part);
}

}  // namespace DRAVGraph::AutoTile
