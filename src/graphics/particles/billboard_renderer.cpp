#include "graphics/particles/billboard_renderer.h"

#include <algorithm>
#include <cmath>

#include "graphics/coloured_batch.h"

namespace DRAVGraph {
namespace {

// Room for 1000 particles before the lists grow.
constexpr std::size_t kReservedParticles = 1000;

struct Vec3 {
    double x, y, z;
};

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// False for a vector too short to have a direction.
bool Normalise(Vec3& v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 1e-12)) return false;
    v = {v.x / length, v.y / length, v.z / length};
    return true;
}

// Through floats, as the matrix holds them.
Vec3 AsFloats(const Vec3& v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

void SetRow(D3DMATRIX& m, int row, const Vec3& v) {
    float* cells[4][3] = {{&m._11, &m._12, &m._13}, {&m._21, &m._22, &m._23}, {&m._31, &m._32, &m._33},
                          {&m._41, &m._42, &m._43}};
    *cells[row][0] = static_cast<float>(v.x);
    *cells[row][1] = static_cast<float>(v.y);
    *cells[row][2] = static_cast<float>(v.z);
}

}  // namespace

void LerpColour(D3DCOLOR a, D3DCOLOR b, double t, D3DCOLOR& out) {
    if (!(t == t)) t = 0;  // a particle without a lifetime shows its start
    D3DCOLOR result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const double from = (a >> shift) & 0xFFu, to = (b >> shift) & 0xFFu;
        const double mixed = std::clamp(from * (1.0 - t) + to * t, 0.0, 255.0);
        result |= (static_cast<D3DCOLOR>(mixed) & 0xFFu) << shift;
    }
    out = result;
}

void BuildFacingBasis(D3DMATRIX& out, double scale, const D3DVECTOR& direction, const D3DVECTOR& up) {
    Vec3 forward{scale * direction.x, scale * direction.y, scale * direction.z};
    if (!Normalise(forward)) forward = {0, 0, 1};
    forward = AsFloats(forward);
    Vec3 right = Cross(forward, Vec3{up.x, up.y, up.z});
    // Looking along the up vector leaves no horizontal axis; any fixed one will do.
    if (!Normalise(right)) right = {1, 0, 0};
    right = AsFloats(right);
    out = D3DMATRIX{};
    SetRow(out, 0, {-right.x, -right.y, -right.z});
    SetRow(out, 1, AsFloats(Cross(right, forward)));
    SetRow(out, 2, forward);
    out._44 = 1;
}

CBillboardRenderer::CBillboardRenderer(DRAVCommon::CXPDevice* device, DRAVCommon::CDataFileFactory& source)
    : m_set(LoadParticleSet(device, source)) {
    m_vertices.reserve(4 * kReservedParticles);
    m_indices.reserve(6 * kReservedParticles);
}

CBillboardRenderer::~CBillboardRenderer() = default;

std::int32_t CBillboardRenderer::GetParticleCell(const std::string& name) const {
    auto found = m_set.names.find(name);
    return found == m_set.names.end() ? 0 : found->second;
}

void CBillboardRenderer::AddParticle(std::shared_ptr<CParticle> particle) { m_particles.push_back(std::move(particle)); }

void CBillboardRenderer::Advance(double now) {
    // One pass that keeps the order of creation: the live particles move up over
    // the expired ones, which would cost a shift each if erased one by one.
    auto kept = m_particles.begin();
    for (auto& particle : m_particles) {
        if (now - particle->birthTime > particle->params->lifetime) continue;
        const float dt = static_cast<float>(now - particle->lastUpdateTime);
        particle->x += particle->vx * dt;
        particle->y += particle->vy * dt;
        particle->z += particle->vz * dt;
        particle->vy += static_cast<float>(particle->params->riseAcceleration * dt);
        particle->lastUpdateTime = now;
        if (&*kept != &particle) *kept = std::move(particle);
        ++kept;
    }
    m_particles.erase(kept, m_particles.end());
}

void CBillboardRenderer::Render(const SceneRenderContext& context, double now) {
    Advance(now);
    if (m_particles.empty()) return;
    BuildGeometry(*context.viewDirection, m_vertices, m_indices);
    DrawColouredBatch(context.device, m_vertices, m_indices, m_set.atlas, BatchDepth::Test);
}

void CBillboardRenderer::BuildGeometry(const D3DVECTOR& viewDirection, std::vector<ColouredVertex>& vertices,
                                       std::vector<std::uint16_t>& indices) {
    vertices.clear();
    indices.clear();
    D3DMATRIX basis;
    BuildFacingBasis(basis, -1.0, viewDirection, D3DVECTOR{0, 1, 0});
    const float corners[4][3] = {
        {-basis._11 - basis._21, -basis._12 - basis._22, -basis._13 - basis._23},
        {basis._11 - basis._21, basis._12 - basis._22, basis._13 - basis._23},
        {-basis._11 + basis._21, -basis._12 + basis._22, -basis._13 + basis._23},
        {basis._11 + basis._21, basis._12 + basis._22, basis._13 + basis._23},
    };

    m_sorted.assign(m_particles.begin(), m_particles.end());
    for (auto& particle : m_sorted)
        particle->depth = particle->z * viewDirection.z + particle->y * viewDirection.y + particle->x * viewDirection.x;
    std::sort(m_sorted.begin(), m_sorted.end(),
              [](const std::shared_ptr<CParticle>& a, const std::shared_ptr<CParticle>& b) { return a->depth > b->depth; });
    // Past what 16-bit indices reach, the farthest particles are left out.
    const std::size_t skipped = m_sorted.size() > kMaxDrawnParticles ? m_sorted.size() - kMaxDrawnParticles : 0;

    for (std::size_t i = skipped; i < m_sorted.size(); ++i) {
        const CParticle& particle = *m_sorted[i];
        const CParticleParams& params = *particle.params;
        const double t = params.lifetime > 0 ? (particle.lastUpdateTime - particle.birthTime) / params.lifetime : 0.0;
        const float half = static_cast<float>((params.endSize - params.startSize) * t + params.startSize) * 0.5f;
        D3DCOLOR colour;
        LerpColour(params.startColour, params.endColour, t, colour);
        const float uA = static_cast<float>(params.cell % kParticleCellsPerRow) * kParticleCellUv;
        const float vA = static_cast<float>(params.cell / kParticleCellsPerRow) * kParticleCellUv;
        const float uv[4][2] = {{uA, vA + kParticleCellUv}, {uA + kParticleCellUv, vA + kParticleCellUv}, {uA, vA},
                                {uA + kParticleCellUv, vA}};
        const auto base = static_cast<std::uint16_t>(vertices.size());
        for (int c = 0; c < 4; ++c)
            vertices.push_back({particle.x + half * corners[c][0], particle.y + half * corners[c][1],
                                particle.z + half * corners[c][2], colour, uv[c][0], uv[c][1]});
        for (int offset : {0, 1, 2, 1, 3, 2}) indices.push_back(static_cast<std::uint16_t>(base + offset));
    }
}

}  // namespace DRAVGraph
