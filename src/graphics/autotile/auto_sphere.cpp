#include "graphics/autotile/auto_sphere.h"

#include <cmath>
#include <cstdint>

#include "common/exception.h"
#include "graphics/autotile/auto_quad.h"

namespace DRAVGraph::AutoTile {

namespace {

constexpr float PI = 3.1415927f;
constexpr float HALF_PI = 1.5707964f;
constexpr float TWO_PI = 6.2831855f;

// The point of latitude phi and longitude lambda; it is its own normal.
void AddSpherePoint(AutoTileGeometry& geometry, float phi, float lambda, float u, float v) {
    const float x = std::cos(lambda) * std::cos(phi);
    const float y = std::sin(phi);
    const float z = std::sin(lambda) * std::cos(phi);
    geometry.vertices.push_back({x, y, z, x, y, z, u, v});
}

}  // namespace

AutoTileGeometry BuildAutoSphere(const CSubModelInfo& info) {
    RequireCount(info, 0, ANY_COUNT);
    const std::int64_t fineness = info.autoParams.empty() ? 0 : info.autoParams[0];
    const std::int64_t rings = fineness == 0 ? 4 : 4 * fineness;
    const std::int64_t segments = fineness == 0 ? 8 : 8 * fineness;
    // Every quad has four vertices of its own, and all of them must be reachable by
    // 16-bit indices; checked before anything is allocated.
    const auto limit = static_cast<std::int64_t>(MAX_MESH_VERTICES);
    if (fineness < 0 || rings > limit || rings * segments * 4 > limit)
        throw CDRAVException(DRAV_ERR_BAD_DATA);

    AutoTileGeometry geometry;
    geometry.vertices.reserve(static_cast<std::size_t>(4 * rings * segments));
    geometry.indices.reserve(static_cast<std::size_t>(6 * rings * segments));
    // Ring-major from the bottom pole up; v runs from 0 at the bottom to 1 at the top.
    for (std::int64_t i = 0; i < rings; ++i) {
        const float t0 = static_cast<float>(i) / static_cast<float>(rings);
        const float t1 = static_cast<float>(i + 1) / static_cast<float>(rings);
        const float phi0 = t0 * PI - HALF_PI;
        const float phi1 = t1 * PI - HALF_PI;
        for (std::int64_t j = 0; j < segments; ++j) {
            const float p0 = static_cast<float>(j) / static_cast<float>(segments);
            const float p1 = static_cast<float>(j + 1) / static_cast<float>(segments);
            const float lambda0 = p0 * TWO_PI;
            const float lambda1 = p1 * TWO_PI;
            AddSpherePoint(geometry, phi0, lambda0, p0, t0);
            AddSpherePoint(geometry, phi0, lambda1, p1, t0);
            AddSpherePoint(geometry, phi1, lambda1, p1, t1);
            AddSpherePoint(geometry, phi1, lambda0, p0, t1);
            AddQuadIndices(geometry, QuadOrder::Floor);
        }
    }
    ClosePart(geometry, PartKind::Textured);
    return geometry;
}

}  // namespace DRAVGraph::AutoTile
