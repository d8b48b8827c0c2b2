#pragma once
// The look of an effect in flight (a missile, a launched spell), read from its
// effect file, and one running instance of it: a core billboard carried along, a
// trail fired every so many units travelled, and end emitters fired once when
// the effect ends.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file.h"
#include "common/effect_params.h"
#include "graphics/particles/particle_emitter.h"
#include "graphics/render_context.h"

namespace DRAVGraph {

class CBillboardRenderer;

class CBillboardEffectTemplate {
public:
    // Reads the file `effectName` + ".drav" of `kind`. A trail emitter with a
    // spacing of 0 or less is code 1 naming the file.
    CBillboardEffectTemplate(const GraphicLoadContext& context, DRAVCommon::DataFileKind kind,
                             const std::string& effectName, const CEffectParams* effectParams);

    // One particle living 0.001 seconds at (x, height, z), when there is a core.
    void AddCoreBillboard(CBillboardRenderer& renderer, double now, double x, double z) const;

    const std::shared_ptr<const CParticleParams>& GetCoreParams() const { return m_coreParams; }
    double GetHeight() const { return m_height; }
    double GetTrailSpacing() const { return m_trailSpacing; }
    const std::shared_ptr<CParticleEmitter>& GetTrailEmitter() const { return m_trailEmitter; }
    const std::vector<std::shared_ptr<CParticleEmitter>>& GetEndEmitters() const { return m_endEmitters; }

private:
    std::shared_ptr<const CParticleParams> m_coreParams;
    double m_height = 0;
    double m_trailSpacing = 0;
    std::shared_ptr<CParticleEmitter> m_trailEmitter;
    std::vector<std::shared_ptr<CParticleEmitter>> m_endEmitters;
};

class CBillboardEffect {
public:
    // Shares `effectTemplate`, or loads it from the effect file when it is null.
    CBillboardEffect(const GraphicLoadContext& context, DRAVCommon::DataFileKind kind, const std::string& effectName,
                     const CEffectParams* effectParams, std::shared_ptr<CBillboardEffectTemplate> effectTemplate);

    // One step of the running effect at its new ground position.
    void Update(CBillboardRenderer& renderer, double now, double x, double z);
    // Fires the end emitters on the first call; true once their particles have died.
    bool Finish(CBillboardRenderer& renderer, double now);

    const std::shared_ptr<CBillboardEffectTemplate>& GetTemplate() const { return m_template; }

    // The graphics manager places the effect and keeps its own tick stamp.
    void SetLastPosition(double x, double z) {
        m_lastX = x;
        m_lastZ = z;
    }
    double GetLastX() const { return m_lastX; }
    double GetLastZ() const { return m_lastZ; }
    void SetTrailDistance(double distance) { m_trailDistance = distance; }
    double GetTrailDistance() const { return m_trailDistance; }
    void SetFinished(bool finished) { m_finished = finished; }
    bool IsFinished() const { return m_finished; }
    double GetFinishTime() const { return m_finishTime; }
    void SetTickStamp(std::uint32_t tick) { m_tickStamp = tick; }
    std::uint32_t GetTickStamp() const { return m_tickStamp; }

private:
    std::shared_ptr<CBillboardEffectTemplate> m_template;
    double m_lastX = 0;
    double m_lastZ = 0;
    // Distance travelled since the trail last fired, less one spacing.
    double m_trailDistance = 0;
    bool m_finished = false;
    double m_finishTime = 0;
    std::uint32_t m_tickStamp = 0;
};

}  // namespace DRAVGraph
