#pragma once
// The "<effect>" block of a graphic definition: one emitter fired at a steady
// rate wherever the graphic is drawn (a torch's flame, a fountain's spray).

#include <memory>

#include "common/data_file_reader.h"
#include "graphics/particles/particle_emitter.h"
#include "graphics/render_context.h"

namespace DRAVGraph {

class CFixedEffect {
public:
    // Reads "<effect>", one emitter block without effect parameters, "</effect>".
    CFixedEffect(const GraphicLoadContext& context, DRAVCommon::CDataFileReader& reader);
    explicit CFixedEffect(std::shared_ptr<CParticleEmitter> emitter) : m_emitter(std::move(emitter)) {}

    // Fires the emitter count / lifetime times per second of game time at the
    // ground position of the context's world matrix; at most two ticks' worth of
    // firings per call. The first call only records the time.
    void Update(const SceneRenderContext& context, double now);

    const std::shared_ptr<CParticleEmitter>& GetEmitter() const { return m_emitter; }
    double GetLastEmissionTime() const { return m_lastEmissionTime; }

private:
    std::shared_ptr<CParticleEmitter> m_emitter;
    double m_lastEmissionTime = 0;
};

}  // namespace DRAVGraph
