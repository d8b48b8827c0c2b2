#include "graphics/adornment_draw.h"

#include <cmath>

#include "graphics/coloured_batch.h"

namespace DRAVGraph {
namespace {

constexpr float kMarkerHeight = 0.1f;
constexpr float kBandWidth = 0.15f;
constexpr std::uint32_t kRingSegments = 16;
constexpr float kHatchStep = 2.5f;
constexpr float kLineHalfWidth = 0.1f;
constexpr float kArrowHeadHalfWidth = 0.625f;
constexpr float kArrowHeadLength = 2.5f;
constexpr float kCrossReach = 1.581f;
constexpr float kCrossHalfBase = 0.395f;

}  // namespace

CAdornmentDraw::CAdornmentDraw() {
    m_vertices.reserve(1000);
    m_indices.reserve(3000);
}

CAdornmentDraw::~CAdornmentDraw() = default;

void CAdornmentDraw::AddVertex(float x, float z, D3DCOLOR colour) {
    m_vertices.push_back({x, kMarkerHeight, z, colour, 0, 0});
}

void CAdornmentDraw::AddSequentialIndices(std::size_t count) {
    const std::size_t base = m_vertices.size() - count;
    for (std::size_t i = 0; i < count; ++i) m_indices.push_back(static_cast<std::uint16_t>(base + i));
}

void CAdornmentDraw::AddRing(float x, float z, float radius, const D3DCOLOR& colour, bool emphasised) {
    const std::uint32_t bands = emphasised ? 2 : 1;
    const std::size_t base = m_vertices.size();
    for (std::uint32_t r = 0; r < bands; ++r) {
        const float inner = static_cast<float>(r + r) * kBandWidth + radius;
        const float outer = inner + kBandWidth;
        const std::size_t k = base + 2 * kRingSegments * r;
        for (std::uint32_t s = 0; s < kRingSegments; ++s) {
            const float angle = static_cast<float>(s) * 6.2831855f * 0.0625f;
            AddVertex(x + std::sin(angle) * inner, z + std::cos(angle) * inner, colour);
            AddVertex(x + std::sin(angle) * outer, z + std::cos(angle) * outer, colour);
            const std::size_t a = k + 2 * s;
            const std::size_t c = k + (2 * s + 2) % (2 * kRingSegments);
            const std::size_t d = k + (2 * s + 3) % (2 * kRingSegments);
            for (std::size_t index : {a, a + 1, c, a + 1, d, c}) m_indices.push_back(static_cast<std::uint16_t>(index));
        }
    }
}

void CAdornmentDraw::AddHatchedRect(float x, float halfWidth, float z, float halfDepth, const D3DCOLOR& colour) {
    const float x0 = x - halfWidth, x1 = x + halfWidth, z0 = z - halfDepth, z1 = z + halfDepth;
    AddGroundLine({x0, 0, z0}, {x1, 0, z0}, colour);
    AddGroundLine({x1, 0, z0}, {x1, 0, z1}, colour);
    AddGroundLine({x1, 0, z1}, {x0, 0, z1}, colour);
    AddGroundLine({x0, 0, z1}, {x0, 0, z0}, colour);
    if (!(z1 > z0)) return;
    // P walks along the top edge and down the right one, Q down the left edge and
    // along the bottom one, in equal steps, so every hatch line runs at 45 degrees.
    D3DVECTOR p{x0, 0, z1}, q{x0, 0, z1};
    bool first = true;
    do {
        if (!(x1 > q.x)) break;
        if (first) first = false;
        else AddGroundLine(p, q, colour);
        p.x += kHatchStep;
        if (p.x > x1) {
            p.z -= p.x - x1;
            p.x = x1;
        }
        q.z -= kHatchStep;
        if (q.z < z0) {
            q.x += z0 - q.z;
            q.z = z0;
        }
    } while (p.z > z0);
}

void CAdornmentDraw::AddArrow(float fromX, float fromZ, float toX, float toZ, const D3DCOLOR& colour) {
    const float dx = toX - fromX, dz = toZ - fromZ;
    const float length = std::sqrt(dx * dx + dz * dz);
    if (!(length > 0)) return;
    const float ux = dx / length, uz = dz / length;
    const float nx = uz, nz = -ux;
    const float w = kLineHalfWidth;
    AddVertex(toX + w * nx, toZ + w * nz, colour);
    AddVertex(fromX + w * nx, fromZ + w * nz, colour);
    AddVertex(fromX - w * nx, fromZ - w * nz, colour);
    AddVertex(toX - w * nx, toZ - w * nz, colour);
    AddVertex(toX + w * nx, toZ + w * nz, colour);
    AddVertex(fromX - w * nx, fromZ - w * nz, colour);
    const float h = kArrowHeadHalfWidth, back = kArrowHeadLength;
    AddVertex(toX, toZ, colour);
    AddVertex(toX + h * nx - back * ux, toZ + h * nz - back * uz, colour);
    AddVertex(toX - h * nx - back * ux, toZ - h * nz - back * uz, colour);
    AddSequentialIndices(9);
}

void CAdornmentDraw::AddCross(float x, float z, const D3DCOLOR& colour) {
    const float a = kCrossReach, b = kCrossHalfBase;
    const float spikes[4][4] = {
        {x - a + b, z - a - b, x - a - b, z - a + b},
        {x - a - b, z + a - b, x - a + b, z + a + b},
        {x + a + b, z - a + b, x + a - b, z - a - b},
        {x + a - b, z + a + b, x + a + b, z + a - b},
    };
    for (const auto& spike : spikes) {
        AddVertex(x, z, colour);
        AddVertex(spike[0], spike[1], colour);
        AddVertex(spike[2], spike[3], colour);
    }
    AddSequentialIndices(12);
}

void CAdornmentDraw::AddGroundLine(const D3DVECTOR& from, const D3DVECTOR& to, const D3DCOLOR& colour) {
    const float dx = to.x - from.x, dy = to.y - from.y, dz = to.z - from.z;
    const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (!(length > 0)) return;
    const float a = dz / length * kLineHalfWidth;
    const float c = -dx / length * kLineHalfWidth;
    AddVertex(to.x + a, to.z + c, colour);
    AddVertex(from.x + a, from.z + c, colour);
    AddVertex(from.x - a, from.z - c, colour);
    AddVertex(to.x - a, to.z - c, colour);
    AddVertex(to.x + a, to.z + c, colour);
    AddVertex(from.x - a, from.z - c, colour);
    AddSequentialIndices(6);
}

void CAdornmentDraw::Flush(DRAVCommon::CXPDevice* device) {
    if (m_vertices.empty()) return;
    // Over the ground whatever its depth; the depth written lets actors drawn
    // later stand in front of the markers.
    DrawColouredBatch(device, m_vertices, m_indices, nullptr, BatchDepth::AlwaysPass);
    m_vertices.clear();
    m_indices.clear();
}

}  // namespace DRAVGraph
