#include "graphics/particles/billboard_effect.h"

#include <cmath>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "graphics/particles/billboard_renderer.h"

namespace DRAVGraph {
namespace {

// A core billboard shows the effect where the latest update put it, for the one
// render at that game time.
constexpr double kCoreLifetime = 0.001;

}  // namespace

CBillboardEffectTemplate::CBillboardEffectTemplate(const GraphicLoadContext& context, DRAVCommon::DataFileKind kind,
                                                   const std::string& effectName, const CEffectParams* effectParams) {
    DRAVCommon::CDataFileReader reader(*context.source, kind, DRAVCommon::DFS_NONE, effectName + ".drav");
    reader.BeginBlock("effect");
    reader.ReadWordOrEmpty();  // a label, for the reader of the file only
    const std::string core = reader.ReadWordOrEmpty();
    m_height = reader.ReadDouble();
    const double size = reader.ReadDouble();
    const double alpha = reader.ReadDouble();
    if (!core.empty()) {
        auto params = std::make_shared<CParticleParams>();
        params->cell = context.billboards ? context.billboards->GetParticleCell(core) : 0;
        params->lifetime = kCoreLifetime;
        params->startSize = params->endSize = size;
        params->startColour = params->endColour = AlphaByte(alpha) << 24 | 0xFFFFFFu;
        m_coreParams = std::move(params);
    }
    m_trailSpacing = reader.ReadDouble();
    if (reader.IsBlock("emitter")) {
        // The trail fires once per spacing travelled: a spacing that is not positive
        // would fire without end.
        if (!(m_trailSpacing > 0)) reader.Fail(DRAV_ERR_BAD_DATA, "a trail emitter needs a spacing above 0");
        m_trailEmitter = std::make_shared<CParticleEmitter>(context, reader, effectParams);
    } else {
        reader.ReadWordOrEmpty();
    }
    while (!reader.AtBlockEnd())
        m_endEmitters.push_back(std::make_shared<CParticleEmitter>(context, reader, effectParams));
    reader.EndBlock();
}

void CBillboardEffectTemplate::AddCoreBillboard(CBillboardRenderer& renderer, double now, double x, double z) const {
    if (!m_coreParams) return;
    auto particle = std::make_shared<CParticle>();
    particle->params = m_coreParams;
    particle->x = static_cast<float>(x);
    particle->y = static_cast<float>(m_height);
    particle->z = static_cast<float>(z);
    particle->birthTime = particle->lastUpdateTime = now;
    renderer.AddParticle(std::move(particle));
}

CBillboardEffect::CBillboardEffect(const GraphicLoadContext& context, DRAVCommon::DataFileKind kind,
                                   const std::string& effectName, const CEffectParams* effectParams,
                                   std::shared_ptr<CBillboardEffectTemplate> effectTemplate)
    : m_template(effectTemplate ? std::move(effectTemplate)
                                : std::make_shared<CBillboardEffectTemplate>(context, kind, effectName, effectParams)) {}

void CBillboardEffect::Update(CBillboardRenderer& renderer, double now, double x, double z) {
    m_template->AddCoreBillboard(renderer, now, x, z);
    const auto& trail = m_template->GetTrailEmitter();
    const double spacing = m_template->GetTrailSpacing();
    if (trail && spacing > 0) {
        const double dx = x - m_lastX, dz = z - m_lastZ;
        const double distance = std::sqrt(dx * dx + dz * dz);
        double along = spacing - m_trailDistance;
        m_trailDistance += distance;
        while (m_trailDistance > spacing) {
            trail->Emit(renderer, now, m_lastX + dx * along / distance, m_lastZ + dz * along / distance);
            m_trailDistance -= spacing;
            along += spacing;
        }
    }
    m_lastX = x;
    m_lastZ = z;
}

bool CBillboardEffect::Finish(CBillboardRenderer& renderer, double now) {
    const auto& ends = m_template->GetEndEmitters();
    if (!m_finished) {
        m_finished = true;
        m_finishTime = now;
        for (const auto& emitter : ends) emitter->Emit(renderer, now, m_lastX, m_lastZ);
    }
    for (const auto& emitter : ends)
        if (m_finishTime + emitter->GetParams()->lifetime > now) return false;
    return true;
}

}  // namespace DRAVGraph
