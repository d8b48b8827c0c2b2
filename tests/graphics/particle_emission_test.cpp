// Emission by point, ring and burst; running billboard effects (core, trail at its
// spacing, the end burst and when it is over); the steady rate of fixed effects.

#include <gtest/gtest.h>

#include <cmath>

#include "graphics/matrix.h"
#include "graphics/particle_test_support.h"
#include "graphics/particles/billboard_effect.h"
#include "graphics/particles/fixed_effect.h"

namespace {

using namespace DRAVGraph;

std::shared_ptr<CParticleParams> Params(double lifetime) {
    auto params = std::make_shared<CParticleParams>();
    params->lifetime = lifetime;
    return params;
}

class ParticleEmissionTest : public ::testing::Test, protected QuillmereTest::ParticleTestBase {
protected:
    std::size_t LiveCount() { return Renderer().GetParticles().size(); }
    const CParticle& Particle(std::size_t i) { return *Renderer().GetParticles().at(i); }

    // An effect whose trail and end emitters make one still particle each, exactly
    // where they are fired.
    CBillboardEffect MakeEffect(const std::string& core, double spacing, double endLifetime) {
        AddText(DRAVCommon::DFK_EFFECT, "trail.drav",
                "<effect> t " + core + " 1.5 2 1 " + std::to_string(spacing) +
                    " <emitter> p1 (0 0.5) 5 1 (0 0) 0 (1 1) (1 1) point </emitter>"
                    " <emitter> p2 (0 0.5) " + std::to_string(endLifetime) +
                    " 1 (0 0) 0 (1 1) (1 1) point </emitter> </effect>");
        CBillboardEffect effect(LoadContext(), DRAVCommon::DFK_EFFECT, "trail", nullptr, nullptr);
        return effect;
    }
};

TEST_F(ParticleEmissionTest, RingSpreadsItsCountOutwardFromTheCentre) {
    CParticleEmitter ring(0, 1.5, 4, 3, 2, CParticleEmitter::SHAPE_RING, Params(1));
    ring.Emit(Renderer(), 7.0, 10, 20);
    ASSERT_EQ(LiveCount(), 4u);
    const float velocities[4][2] = {{0, 2}, {2, 0}, {0, -2}, {-2, 0}};
    for (std::size_t i = 0; i < 4; ++i) {
        const CParticle& p = Particle(i);
        EXPECT_EQ(p.x, 10);
        EXPECT_EQ(p.y, 1.5);
        EXPECT_EQ(p.z, 20);
        EXPECT_NEAR(p.vx, velocities[i][0], 1e-6);
        EXPECT_EQ(p.vy, 3);
        EXPECT_NEAR(p.vz, velocities[i][1], 1e-6);
        EXPECT_EQ(p.birthTime, 7.0);
        EXPECT_EQ(p.lastUpdateTime, 7.0);
    }
}

TEST_F(ParticleEmissionTest, PointMakesOneParticleAndBurstItsCountWithinTheSpread) {
    CParticleEmitter point(0.5, 2, 10, 1, 0.25, CParticleEmitter::SHAPE_POINT, Params(1));
    CParticleEmitter burst(0.5, 2, 10, 1, 0.25, CParticleEmitter::SHAPE_BURST, Params(1));
    point.Emit(Renderer(), 0, 4, -4);
    EXPECT_EQ(LiveCount(), 1u);
    burst.Emit(Renderer(), 0, 4, -4);
    ASSERT_EQ(LiveCount(), 11u);
    for (const auto& p : Renderer().GetParticles()) {
        EXPECT_LE(std::fabs(p->x - 4), 0.5);
        EXPECT_LE(std::fabs(p->z + 4), 0.5);
        EXPECT_EQ(p->y, 2);
        EXPECT_LE(std::fabs(p->vx), 0.25);
        EXPECT_LE(std::fabs(p->vy - 1), 0.25);
    }
    // Each burst particle draws its own numbers.
    EXPECT_NE(Particle(1).x, Particle(2).x);
}

TEST_F(ParticleEmissionTest, CountOfZeroMakesNothingButAPointStillFires) {
    CParticleEmitter(0, 0, 0, 0, 0, CParticleEmitter::SHAPE_RING, Params(1)).Emit(Renderer(), 0, 0, 0);
    CParticleEmitter(0, 0, 0, 0, 0, CParticleEmitter::SHAPE_BURST, Params(1)).Emit(Renderer(), 0, 0, 0);
    EXPECT_EQ(LiveCount(), 0u);
    CParticleEmitter(0, 0, 0, 0, 0, CParticleEmitter::SHAPE_POINT, Params(1)).Emit(Renderer(), 0, 0, 0);
    EXPECT_EQ(LiveCount(), 1u);
}

TEST_F(ParticleEmissionTest, TrailFiresOncePerSpacingAtThePointsOfThePath) {
    auto effect = MakeEffect("0", 1, 1);
    effect.SetLastPosition(0, 0);
    effect.Update(Renderer(), 1.0, 0, 3.5);
    ASSERT_EQ(LiveCount(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Particle(i).x, 0);
        EXPECT_FLOAT_EQ(Particle(i).z, static_cast<float>(i + 1));
        EXPECT_EQ(Particle(i).params->cell, 1);
    }
    EXPECT_DOUBLE_EQ(effect.GetTrailDistance(), 0.5);
    effect.Update(Renderer(), 1.1, 0, 4.0);  // exactly one spacing since the last firing
    EXPECT_EQ(LiveCount(), 3u);
    effect.Update(Renderer(), 1.2, 0, 4.6);
    ASSERT_EQ(LiveCount(), 4u);
    EXPECT_FLOAT_EQ(Particle(3).z, 4.0f);
    // Standing still fires nothing.
    effect.Update(Renderer(), 1.3, 0, 4.6);
    EXPECT_EQ(LiveCount(), 4u);
}

TEST_F(ParticleEmissionTest, CoreBillboardFollowsTheEffectForOneRender) {
    auto effect = MakeEffect("p7", 100, 1);
    effect.SetLastPosition(0, 0);
    effect.Update(Renderer(), 2.0, 3, 4);
    ASSERT_EQ(LiveCount(), 1u);
    EXPECT_EQ(Particle(0).params->cell, 7);
    EXPECT_EQ(Particle(0).x, 3);
    EXPECT_EQ(Particle(0).y, 1.5);
    EXPECT_EQ(Particle(0).z, 4);
    Renderer().Advance(2.0);
    EXPECT_EQ(LiveCount(), 1u);  // a paused game keeps showing it
    Renderer().Advance(2.0 + 1.0 / 30);
    EXPECT_EQ(LiveCount(), 0u);
}

TEST_F(ParticleEmissionTest, FinishBurstsOnceAndHoldsUntilTheEndParticlesHaveDied) {
    auto effect = MakeEffect("0", 100, 2);
    effect.SetLastPosition(5, 6);
    EXPECT_FALSE(effect.Finish(Renderer(), 10.0));
    ASSERT_EQ(LiveCount(), 1u);
    EXPECT_EQ(Particle(0).x, 5);
    EXPECT_EQ(Particle(0).z, 6);
    EXPECT_FALSE(effect.Finish(Renderer(), 11.9));
    EXPECT_TRUE(effect.Finish(Renderer(), 12.0));
    EXPECT_EQ(LiveCount(), 1u);  // the end emitters fired only on the first call
    EXPECT_EQ(effect.GetFinishTime(), 10.0);
}

class FixedEffectTest : public ParticleEmissionTest {
protected:
    std::size_t UpdateAt(CFixedEffect& effect, double now) {
        D3DMATRIX world = Mat4Identity();
        world._41 = 12;
        world._42 = 99;
        world._43 = -3;
        SceneRenderContext context{&m_wrapper, &Renderer(), &world, nullptr};
        const std::size_t before = LiveCount();
        effect.Update(context, now);
        return LiveCount() - before;
    }
};

TEST_F(FixedEffectTest, FiresCountOverLifetimeTimesPerSecondAtTheGraphicsGroundPosition) {
    CFixedEffect effect(std::make_shared<CParticleEmitter>(0, 0.5, 5, 0, 0, CParticleEmitter::SHAPE_POINT, Params(1)));
    EXPECT_EQ(UpdateAt(effect, 1.0), 0u);  // the first update only records the time
    EXPECT_EQ(effect.GetLastEmissionTime(), 1.0);
    EXPECT_EQ(UpdateAt(effect, 1.1), 0u);
    EXPECT_EQ(UpdateAt(effect, 1.25), 1u);
    EXPECT_DOUBLE_EQ(effect.GetLastEmissionTime(), 1.2);
    EXPECT_EQ(Particle(0).x, 12);
    EXPECT_EQ(Particle(0).y, 0.5f);  // the emitter's height, not the graphic's
    EXPECT_EQ(Particle(0).z, -3);
    // After a long pause one firing (two ticks' worth is less than one), then the backlog is dropped.
    EXPECT_EQ(UpdateAt(effect, 11.25), 1u);
    EXPECT_EQ(effect.GetLastEmissionTime(), 11.25);
}

TEST_F(FixedEffectTest, CatchUpIsCappedAtTwoTicksWorthOfFirings) {
    // 300 firings a second: 20 in two ticks.
    CFixedEffect effect(std::make_shared<CParticleEmitter>(0, 0, 300, 0, 0, CParticleEmitter::SHAPE_POINT, Params(1)));
    UpdateAt(effect, 1.0);
    EXPECT_EQ(UpdateAt(effect, 2.0), 20u);
}

TEST_F(FixedEffectTest, LifetimeOrCountOfZeroEmitsNothing) {
    for (auto [lifetime, count] : {std::pair{0.0, 5u}, std::pair{1.0, 0u}, std::pair{0.0, 0u}}) {
        CFixedEffect effect(
            std::make_shared<CParticleEmitter>(0, 0, count, 0, 0, CParticleEmitter::SHAPE_BURST, Params(lifetime)));
        UpdateAt(effect, 1.0);
        EXPECT_EQ(UpdateAt(effect, 5.0), 0u) << lifetime << " " << count;
    }
}

TEST_F(FixedEffectTest, ReadsOneEmitterBlock) {
    DRAVCommon::CDataFileReader reader(
        QuillmereTest::TextStream("<effect> <emitter> p6 (0.2 3) 0.8 4 (1 0.1) 0 (0.3 0.1) (1 0) point </emitter> "
                                  "</effect> after"),
        "torch.drav");
    CFixedEffect effect(LoadContext(), reader);
    EXPECT_EQ(effect.GetEmitter()->GetParams()->cell, 6);
    EXPECT_EQ(effect.GetEmitter()->GetCount(), 4u);
    EXPECT_EQ(effect.GetLastEmissionTime(), 0);
    EXPECT_EQ(reader.GetToken(), "after");
}

}  // namespace
