#include "graphics/particles/particle_emitter.h"

#include <algorithm>
#include <cmath>

#include "common/exception.h"
#include "common/random.h"
#include "graphics/particles/billboard_renderer.h"

namespace DRAVGraph {
namespace {

constexpr D3DCOLOR kWhite = 0x00FFFFFFu;

// "(" A B ")": the emitter needs every one of its groups.
void ReadPair(DRAVCommon::CDataFileReader& reader, const char* what, double& first, double& second) {
    if (!reader.BeginGroup(2, true)) reader.Fail(DRAV_ERR_BAD_DATA, std::string("emitter needs ") + what);
    first = reader.ReadDouble();
    second = reader.ReadDouble();
}

// The particle's name: a word, or "<param> i", word i of the effect parameters.
// An index the parameters do not hold names nothing, and so cell 0.
std::string ReadParticleName(DRAVCommon::CDataFileReader& reader, const CEffectParams* effectParams) {
    if (!reader.IsBlock("param")) return reader.ReadWordOrEmpty();
    reader.BeginBlock("param");
    const std::int32_t index = reader.ReadInt();
    reader.EndBlock();
    if (!effectParams || index < 0 || static_cast<std::size_t>(index) >= effectParams->GetWords().size()) return {};
    return effectParams->GetWords()[static_cast<std::size_t>(index)];
}

CParticleEmitter::Shape ReadShape(DRAVCommon::CDataFileReader& reader) {
    const std::string word = reader.GetToken();
    CParticleEmitter::Shape shape;
    if (word == "point") shape = CParticleEmitter::SHAPE_POINT;
    else if (word == "ring") shape = CParticleEmitter::SHAPE_RING;
    else if (word == "burst") shape = CParticleEmitter::SHAPE_BURST;
    else reader.Fail(DRAV_ERR_BAD_DATA, "emitter shape must be point, ring or burst");
    reader.Advance();
    return shape;
}

double SignedDraw() { return 2.0 * DRAVCommon::DisplayRandom() - 1.0; }

}  // namespace

std::uint32_t AlphaByte(double alpha) {
    return static_cast<std::uint32_t>(std::clamp(alpha, 0.0, 1.0) * 255.0);
}

CParticleEmitter::CParticleEmitter(const GraphicLoadContext& context, DRAVCommon::CDataFileReader& reader,
                                   const CEffectParams* effectParams) {
    const double scale = effectParams ? effectParams->GetScale() : 1.0;
    auto params = std::make_shared<CParticleParams>();
    reader.BeginBlock("emitter");
    const std::string particle = ReadParticleName(reader, effectParams);
    params->cell = context.billboards ? context.billboards->GetParticleCell(particle) : 0;
    ReadPair(reader, "( spread height )", m_spread, m_height);
    params->lifetime = reader.ReadDouble();
    m_count = reader.ReadUInt();
    double rise = 0, speed = 0;
    ReadPair(reader, "( rise speed )", rise, speed);
    m_riseSpeed = rise * scale;
    m_speed = speed * scale;
    params->riseAcceleration = reader.ReadDouble() * scale;
    double startSize = 0, endSize = 0;
    ReadPair(reader, "( start-size end-size )", startSize, endSize);
    params->startSize = startSize * scale;
    params->endSize = endSize * scale;
    double startAlpha = 0, endAlpha = 0;
    ReadPair(reader, "( start-alpha end-alpha )", startAlpha, endAlpha);
    m_shape = ReadShape(reader);
    std::uint32_t start = kWhite, end = kWhite;
    if (!reader.AtBlockEnd()) {
        reader.ReadColour(start);
        reader.ReadColour(end);
    }
    params->startColour = AlphaByte(startAlpha) << 24 | (start & 0xFFFFFFu);
    params->endColour = AlphaByte(endAlpha) << 24 | (end & 0xFFFFFFu);
    reader.EndBlock();
    m_params = std::move(params);
}

CParticleEmitter::CParticleEmitter(double spread, double height, std::uint32_t count, double riseSpeed, double speed,
                                   Shape shape, std::shared_ptr<const CParticleParams> params)
    : m_spread(spread), m_height(height), m_count(count), m_riseSpeed(riseSpeed), m_speed(speed), m_shape(shape),
      m_params(std::move(params)) {}

void CParticleEmitter::AddScattered(CBillboardRenderer& renderer, double now, float cx, float cz) const {
    const double s1 = SignedDraw(), s2 = SignedDraw(), s3 = SignedDraw(), s4 = SignedDraw(), s5 = SignedDraw();
    auto particle = std::make_shared<CParticle>();
    particle->params = m_params;
    particle->x = cx + static_cast<float>(s1 * m_spread);
    particle->y = static_cast<float>(m_height);
    particle->z = cz + static_cast<float>(s2 * m_spread);
    particle->vx = static_cast<float>(s3 * m_speed);
    particle->vy = static_cast<float>(m_riseSpeed) + static_cast<float>(s4 * m_speed);
    particle->vz = static_cast<float>(s5 * m_speed);
    particle->birthTime = particle->lastUpdateTime = now;
    renderer.AddParticle(std::move(particle));
}

void CParticleEmitter::Emit(CBillboardRenderer& renderer, double now, double x, double z) const {
    const float cx = static_cast<float>(x), cz = static_cast<float>(z);
    switch (m_shape) {
    case SHAPE_POINT:
        AddScattered(renderer, now, cx, cz);
        return;
    case SHAPE_BURST:
        for (std::uint32_t i = 0; i < m_count; ++i) AddScattered(renderer, now, cx, cz);
        return;
    case SHAPE_RING:
        for (std::uint32_t i = 0; i < m_count; ++i) {
            const double angle = static_cast<double>(i) / m_count * static_cast<double>(6.2831854820251465f);
            auto particle = std::make_shared<CParticle>();
            particle->params = m_params;
            particle->x = cx;
            particle->y = static_cast<float>(m_height);
            particle->z = cz;
            particle->vx = static_cast<float>(std::sin(angle) * m_speed);
            particle->vy = static_cast<float>(m_riseSpeed);
            particle->vz = static_cast<float>(std::cos(angle) * m_speed);
            particle->birthTime = particle->lastUpdateTime = now;
            renderer.AddParticle(std::move(particle));
        }
        return;
    }
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "emitter shape " + std::to_string(m_shape) + " is not a shape");
}

}  // namespace DRAVGraph
