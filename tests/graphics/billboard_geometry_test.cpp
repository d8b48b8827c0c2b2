// Moving, ageing and laying out the billboards: camera-facing corners, atlas
// cells, colour and size over life, far-to-near order.

#include <gtest/gtest.h>

#include "graphics/particle_test_support.h"

namespace {

using namespace DRAVGraph;

class BillboardGeometryTest : public ::testing::Test, protected QuillmereTest::ParticleTestBase {
protected:
    std::shared_ptr<CParticle> Add(float x, float y, float z, std::shared_ptr<const CParticleParams> params,
                                   double born = 0) {
        auto particle = std::make_shared<CParticle>();
        particle->params = std::move(params);
        particle->x = x;
        particle->y = y;
        particle->z = z;
        particle->birthTime = particle->lastUpdateTime = born;
        Renderer().AddParticle(particle);
        return particle;
    }

    static std::shared_ptr<CParticleParams> Params(double lifetime, double size, std::int32_t cell = 0) {
        auto params = std::make_shared<CParticleParams>();
        params->lifetime = lifetime;
        params->startSize = params->endSize = size;
        params->cell = cell;
        params->startColour = params->endColour = 0xFFFFFFFFu;
        return params;
    }

    void Build(D3DVECTOR view = {0, 0, 1}) { Renderer().BuildGeometry(view, m_vertices, m_indices); }

    std::vector<ColouredVertex> m_vertices;
    std::vector<std::uint16_t> m_indices;
};

TEST_F(BillboardGeometryTest, QuadFacesTheCameraWithTheCellsCorners) {
    Add(0, 0, 0, Params(1, 2, 17));
    Build();
    ASSERT_EQ(m_vertices.size(), 4u);
    const float corners[4][3] = {{1, -1, 0}, {-1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    const float uv[4][2] = {{0.0625f, 0.125f}, {0.125f, 0.125f}, {0.0625f, 0.0625f}, {0.125f, 0.0625f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(m_vertices[i].x, corners[i][0]) << i;
        EXPECT_FLOAT_EQ(m_vertices[i].y, corners[i][1]) << i;
        EXPECT_FLOAT_EQ(m_vertices[i].z, corners[i][2]) << i;
        EXPECT_FLOAT_EQ(m_vertices[i].u, uv[i][0]) << i;
        EXPECT_FLOAT_EQ(m_vertices[i].v, uv[i][1]) << i;
    }
    EXPECT_EQ(m_indices, (std::vector<std::uint16_t>{0, 1, 2, 1, 3, 2}));
}

TEST_F(BillboardGeometryTest, FarthestParticlesAreWrittenFirst) {
    Add(0, 0, 5, Params(1, 1, 1));
    Add(0, 0, 9, Params(1, 1, 2));
    Add(0, 0, -3, Params(1, 1, 3));
    Build();
    ASSERT_EQ(m_vertices.size(), 12u);
    EXPECT_FLOAT_EQ(m_vertices[0].z, 9);
    EXPECT_FLOAT_EQ(m_vertices[4].z, 5);
    EXPECT_FLOAT_EQ(m_vertices[8].z, -3);
    EXPECT_EQ(m_indices[6], 4);  // the second quad's indices follow its vertices
}

TEST_F(BillboardGeometryTest, SizeAndColourFollowTheAgeAndTheLastAgeStaysForOneRender) {
    auto params = Params(2, 2);
    params->endSize = 4;
    params->startColour = 0xFFFF0000u;
    params->endColour = 0x000000FFu;
    Add(0, 0, 0, params);
    Renderer().Advance(1.0);
    Build();
    ASSERT_EQ(m_vertices.size(), 4u);
    EXPECT_EQ(m_vertices[0].diffuse, 0x7F7F007Fu);
    EXPECT_FLOAT_EQ(m_vertices[0].x, 1.5f);  // size 3
    Renderer().Advance(2.0);  // age = lifetime: drawn at its end
    Build();
    ASSERT_EQ(m_vertices.size(), 4u);
    EXPECT_EQ(m_vertices[0].diffuse, 0x000000FFu);
    EXPECT_FLOAT_EQ(m_vertices[0].x, 2.0f);
    Renderer().Advance(2.001);
    EXPECT_TRUE(Renderer().GetParticles().empty());
}

TEST_F(BillboardGeometryTest, VelocityMovesBeforeTheRiseAccelerationChangesIt) {
    auto params = Params(10, 1);
    params->riseAcceleration = -10;
    auto particle = Add(0, 3, 0, params);
    particle->vx = 2;
    Renderer().Advance(0.5);
    EXPECT_EQ(particle->y, 3);
    EXPECT_EQ(particle->vy, -5);
    EXPECT_EQ(particle->x, 1);
    Renderer().Advance(1.0);
    EXPECT_FLOAT_EQ(particle->y, 0.5f);
    EXPECT_EQ(particle->lastUpdateTime, 1.0);
}

TEST_F(BillboardGeometryTest, ExpiredParticlesLeaveTheOthersInOrder) {
    auto a = Add(1, 0, 0, Params(5, 1));
    Add(2, 0, 0, Params(1, 1));
    auto c = Add(3, 0, 0, Params(5, 1));
    Add(4, 0, 0, Params(1, 1));
    Renderer().Advance(2);
    ASSERT_EQ(Renderer().GetParticles().size(), 2u);
    EXPECT_EQ(Renderer().GetParticles()[0], a);
    EXPECT_EQ(Renderer().GetParticles()[1], c);
}

TEST_F(BillboardGeometryTest, ParticleWithoutLifetimeShowsItsStartOnce) {
    auto params = Params(0, 2);
    params->endSize = 6;
    Add(0, 0, 0, params, 3.0);
    Renderer().Advance(3.0);
    Build();
    ASSERT_EQ(m_vertices.size(), 4u);
    EXPECT_FLOAT_EQ(m_vertices[0].x, 1);
    Renderer().Advance(3.01);
    EXPECT_TRUE(Renderer().GetParticles().empty());
}

TEST_F(BillboardGeometryTest, LookingStraightDownStillGivesASquare) {
    Add(0, 0, 0, Params(1, 2));
    Build({0, -1, 0});
    ASSERT_EQ(m_vertices.size(), 4u);
    for (const auto& vertex : m_vertices) {
        EXPECT_FLOAT_EQ(std::fabs(vertex.x) + std::fabs(vertex.y) + std::fabs(vertex.z), 2) ;
        EXPECT_FLOAT_EQ(vertex.y, 0);  // flat under a camera looking down
    }
}

TEST_F(BillboardGeometryTest, BeyondSixteenBitIndicesOnlyTheNearestAreWritten) {
    const auto params = Params(1, 1);
    for (std::size_t i = 0; i < CBillboardRenderer::kMaxDrawnParticles + 10; ++i)
        Add(0, 0, static_cast<float>(i), params);
    Build({0, 0, -1});  // looking toward -z: small z is far
    ASSERT_EQ(m_vertices.size(), 65536u);
    EXPECT_FLOAT_EQ(m_vertices[0].z, 10);
    EXPECT_EQ(m_indices.back(), 65534);
}

}  // namespace
