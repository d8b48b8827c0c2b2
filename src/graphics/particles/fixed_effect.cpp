#include "graphics/particles/fixed_effect.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "graphics/particles/billboard_renderer.h"

namespace DRAVGraph {
namespace {

constexpr double kTicksPerSecond = 30.0;
// Firings allowed per update, in ticks of game time.
constexpr double kCatchUpTicks = 2.0;

}  // namespace

CFixedEffect::CFixedEffect(const GraphicLoadContext& context, DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("effect");
    m_emitter = std::make_shared<CParticleEmitter>(context, reader, nullptr);
    reader.EndBlock();
}

void CFixedEffect::Update(const SceneRenderContext& context, double now) {
    if (!context.billboards || !context.world) return;
    const double x = context.world->_41, z = context.world->_43;
    if (m_lastEmissionTime == 0) m_lastEmissionTime = now;
    const double interval = m_emitter->GetParams()->lifetime / m_emitter->GetCount();
    // A lifetime or count of 0 gives no rate at all: such an emitter makes nothing,
    // rather than firing without end.
    if (!(interval > 0) || !std::isfinite(interval)) return;
    const double allowed = kCatchUpTicks / interval / kTicksPerSecond;
    std::uint32_t cap = allowed >= std::numeric_limits<std::uint32_t>::max()
                            ? std::numeric_limits<std::uint32_t>::max()
                            : std::max<std::uint32_t>(static_cast<std::uint32_t>(allowed), 1u);
    while (now > m_lastEmissionTime + interval && cap > 0) {
        m_emitter->Emit(*context.billboards, now, x, z);
        --cap;
        m_lastEmissionTime += interval;
    }
    if (m_lastEmissionTime + interval < now) m_lastEmissionTime = now;
}

}  // namespace DRAVGraph
