#pragma once
// An "<emitter>" block: where and how many particles one firing makes, and the
// parameters every particle it makes shares.

#include <cstdint>
#include <memory>

#include "common/data_file_reader.h"
#include "common/effect_params.h"
#include "graphics/particles/particle.h"
#include "graphics/render_context.h"

namespace DRAVGraph {

class CBillboardRenderer;

class CParticleEmitter {
public:
    enum Shape : std::uint32_t { SHAPE_POINT = 0, SHAPE_RING = 1, SHAPE_BURST = 2 };

    // Reads one "<emitter>" block at the reader's current token. Speeds, the rise
    // acceleration and the sizes are scaled by the parameters' scale (1.0 without
    // them); "<param> i" names the particle by word i of the parameters.
    CParticleEmitter(const GraphicLoadContext& context, DRAVCommon::CDataFileReader& reader,
                     const CEffectParams* effectParams);
    // For emitters made in code.
    CParticleEmitter(double spread, double height, std::uint32_t count, double riseSpeed, double speed, Shape shape,
                     std::shared_ptr<const CParticleParams> params);

    // One firing at the ground position (x, z), by the shape; a shape outside the
    // three is code 2.
    void Emit(CBillboardRenderer& renderer, double now, double x, double z) const;

    double GetSpread() const { return m_spread; }
    double GetHeight() const { return m_height; }
    std::uint32_t GetCount() const { return m_count; }
    double GetRiseSpeed() const { return m_riseSpeed; }
    double GetSpeed() const { return m_speed; }
    Shape GetShape() const { return m_shape; }
    const std::shared_ptr<const CParticleParams>& GetParams() const { return m_params; }

private:
    void AddScattered(CBillboardRenderer& renderer, double now, float cx, float cz) const;

    double m_spread = 0;
    double m_height = 0;
    std::uint32_t m_count = 0;
    double m_riseSpeed = 0;
    double m_speed = 0;
    Shape m_shape = SHAPE_POINT;
    std::shared_ptr<const CParticleParams> m_params;
};

// The alpha byte of an alpha number from 0 to 1, truncated (0.5 gives 127);
// numbers outside are clamped.
std::uint32_t AlphaByte(double alpha);

}  // namespace DRAVGraph
