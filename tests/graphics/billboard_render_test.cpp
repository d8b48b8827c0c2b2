// The billboards' one draw on the recording device.

#include <gtest/gtest.h>

#include "graphics/particle_test_support.h"
#include "graphics/particles/particle_emitter.h"
#include "support/expect_drav.h"

namespace {

using namespace DRAVGraph;
using D3D9Layer::CRecordingDevice;

class BillboardRenderTest : public ::testing::Test, protected QuillmereTest::ParticleTestBase {
protected:
    BillboardRenderTest() {
        m_device->BeginScene();
        auto params = std::make_shared<CParticleParams>();
        params->lifetime = 1;
        params->startSize = params->endSize = 1;
        m_burst = std::make_unique<CParticleEmitter>(0.5, 1, 3, 0, 0, CParticleEmitter::SHAPE_BURST, params);
    }

    SceneRenderContext Context() { return {&m_wrapper, &Renderer(), nullptr, &m_view}; }

    D3DVECTOR m_view{0.6f, -0.8f, 0};
    std::unique_ptr<CParticleEmitter> m_burst;
};

TEST_F(BillboardRenderTest, AllParticlesGoInOneUnlitDrawWithTheAtlas) {
    m_burst->Emit(Renderer(), 0, 0, 0);
    m_burst->Emit(Renderer(), 0, 5, 5);
    m_device->ClearRecord();
    Renderer().Render(Context(), 0.5);
    ASSERT_EQ(m_device->Draws().size(), 1u);
    const auto& draw = m_device->Draws()[0];
    EXPECT_EQ(draw.vertexCount, 24u);
    EXPECT_EQ(draw.primitiveCount, 12u);
    EXPECT_EQ(draw.fvf, COLOURED_VERTEX_FVF);
    EXPECT_EQ(draw.textureSerial, CRecordingDevice::SerialOf(Renderer().GetAtlas()->GetTexture()));
    EXPECT_EQ(draw.renderStates.at(D3DRS_LIGHTING), 0u);
    EXPECT_EQ(draw.renderStates.at(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(m_device->RenderState(D3DRS_LIGHTING), 1u);
    // Advanced to the render's time.
    EXPECT_EQ(Renderer().GetParticles().front()->lastUpdateTime, 0.5);
}

TEST_F(BillboardRenderTest, NothingLiveDrawsNothingAndSetsNothing) {
    m_burst->Emit(Renderer(), 0, 0, 0);
    m_device->ClearRecord();
    Renderer().Render(Context(), 2.0);  // all expired
    EXPECT_TRUE(m_device->Calls().empty());
    EXPECT_TRUE(Renderer().GetParticles().empty());
}

TEST_F(BillboardRenderTest, FailedWorldTransformIsCodeFiveAndKeepsTheParticles) {
    m_burst->Emit(Renderer(), 0, 0, 0);
    m_device->FailCall("SetTransform", D3DERR_INVALIDCALL);
    EXPECT_DRAV_CODE(Renderer().Render(Context(), 0.1), DRAV_ERR_DEVICE);
    EXPECT_EQ(Renderer().GetParticles().size(), 3u);
    EXPECT_EQ(m_device->RenderState(D3DRS_LIGHTING), 1u);
}

}  // namespace
