#pragma once
// Every live particle of the scene: moved and aged on game time and drawn at the
// end of each scene render as camera-facing squares, far to near, with the
// particle atlas in one unlit mesh and one draw call.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file.h"
#include "graphics/mesh_vertex.h"
#include "graphics/particles/particle.h"
#include "graphics/particles/particle_set.h"
#include "graphics/render_context.h"
#include "graphics/xp_device.h"
#include "graphics/xp_texture.h"

namespace DRAVGraph {

class CBillboardRenderer {
public:
    // 16-bit indices reach 65536 vertices, four per particle: a frame draws at most
    // this many, the nearest ones.
    static constexpr std::size_t kMaxDrawnParticles = 65536 / 4;

    // Reads "particles.drav" from `source` and builds the atlas; no live particles.
    CBillboardRenderer(DRAVCommon::CXPDevice* device, DRAVCommon::CDataFileFactory& source);
    ~CBillboardRenderer();
    CBillboardRenderer(const CBillboardRenderer&) = delete;
    CBillboardRenderer& operator=(const CBillboardRenderer&) = delete;

    // The atlas cell of a particle name; a name the set does not hold gives cell 0.
    std::int32_t GetParticleCell(const std::string& name) const;
    void AddParticle(std::shared_ptr<CParticle> particle);

    // Moves every live particle to `now` and drops those older than their lifetime.
    void Advance(double now);
    // Advances, then draws every live particle facing the view direction of the
    // context. With none left nothing is drawn and no state changes.
    void Render(const SceneRenderContext& context, double now);
    // The quads of the live particles, farthest first, as Render draws them.
    void BuildGeometry(const D3DVECTOR& viewDirection, std::vector<ColouredVertex>& vertices,
                       std::vector<std::uint16_t>& indices);

    const std::deque<std::shared_ptr<CParticle>>& GetParticles() const { return m_particles; }
    const std::shared_ptr<DRAVCommon::CXPTexture>& GetAtlas() const { return m_set.atlas; }
    const std::map<std::string, std::int32_t>& GetParticleNames() const { return m_set.names; }

private:
    ParticleSet m_set;
    std::deque<std::shared_ptr<CParticle>> m_particles;
    // Kept between frames so that a frame allocates only its mesh.
    std::vector<std::shared_ptr<CParticle>> m_sorted;
    std::vector<ColouredVertex> m_vertices;
    std::vector<std::uint16_t> m_indices;
};

// Each of alpha, red, green and blue: a x (1 - t) + b x t, truncated.
void LerpColour(D3DCOLOR a, D3DCOLOR b, double t, D3DCOLOR& out);

// Rows X, Y, Z of a billboard's orientation: Z = normalise(scale x direction),
// X = -normalise(Z x up), Y = -X x Z. A direction along `up` takes X = (-1, 0, 0).
void BuildFacingBasis(D3DMATRIX& out, double scale, const D3DVECTOR& direction, const D3DVECTOR& up);

}  // namespace DRAVGraph
