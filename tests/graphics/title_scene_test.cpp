// The title screen's scene on the sample's icon graphics, with the wall clock set by
// the test: where the emblem and the title are drawn through the intro.

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "graphics/graphic.h"
#include "graphics/scene/icon_graphics_manager.h"
#include "graphics/world_capture_device.h"
#include "support/overlay_source.h"
#include "support/sample_module.h"

namespace {

using namespace DRAVGraph;
using QuillmereTest::WorldCaptureDevice;

class TitleSceneTest : public ::testing::Test {
protected:
    TitleSceneTest() : m_device(WorldCaptureDevice::Create(1024, 768)), m_wrapper(m_device.get()) {
        m_scene.SetDataFileFactory(QuillmereTest::SampleFolderSource());
        m_scene.SetClock([this] { return m_now; });
        m_scene.Load(&m_wrapper);
        m_camera.viewport = &m_viewport;
    }

    // Runs the splash set-up, a first frame at `start` ms, then a frame `seconds` later.
    void StartIntroAndDrawAt(std::uint32_t start, double seconds) {
        m_scene.SetStaticPose(false);
        m_scene.SetClockStarted(false);
        m_now = start;
        RenderInScene();
        m_now = start + static_cast<std::uint32_t>(seconds * 1000.0);
        DrawFrame();
    }
    void DrawFrame() {
        m_device->worlds.clear();
        m_device->ClearRecord();
        RenderInScene();
    }
    void RenderInScene() {
        m_device->BeginScene();
        m_scene.Render(&m_wrapper, m_camera);
        m_device->EndScene();
    }

    // The distinct translations of the 3D draws (the background's world is the identity
    // the 2D queue sets, drawn before them).
    std::vector<D3DVECTOR> Placements() const {
        std::vector<D3DVECTOR> seen;
        for (std::size_t i = 1; i < m_device->worlds.size(); ++i) {
            const D3DMATRIX& w = m_device->worlds[i];
            const D3DVECTOR at{w._41, w._42, w._43};
            if (seen.empty() || seen.back().x != at.x || seen.back().y != at.y || seen.back().z != at.z)
                seen.push_back(at);
        }
        return seen;
    }

    D3DPtr<WorldCaptureDevice> m_device;
    DRAVCommon::CXPDevice m_wrapper;
    CIconGraphicsManager m_scene;
    RECT m_viewport{0, 0, 1024, 768};
    CCamera m_camera;
    std::uint32_t m_now = 0;
};

void ExpectAt(const D3DVECTOR& seen, float x, float y, float z) {
    EXPECT_NEAR(seen.x, x, 1e-3f);
    EXPECT_NEAR(seen.y, y, 1e-3f);
    EXPECT_NEAR(seen.z, z, 1e-3f);
}

TEST_F(TitleSceneTest, BeforeTheSplashSetUpTheEmblemRestsAtTheOriginWithoutTitle) {
    DrawFrame();
    m_now = 7000;
    DrawFrame();
    const auto placements = Placements();
    ASSERT_EQ(placements.size(), 1u);
    ExpectAt(placements[0], 0, 0, 0);
    EXPECT_FLOAT_EQ(m_device->worlds.back()._22, 1.0f);
}

TEST_F(TitleSceneTest, TheEmblemSpinsUpAloneDuringTheFirstFiveSeconds) {
    // Started just before the millisecond clock wraps: time still runs forward.
    StartIntroAndDrawAt(0xFFFFFF00u, 2.5);
    const auto placements = Placements();
    ASSERT_EQ(placements.size(), 1u);
    ExpectAt(placements[0], 0, -250, -25);
    // 2.5 pi: a quarter turn about x past whole turns.
    const D3DMATRIX& world = m_device->worlds.back();
    EXPECT_NEAR(world._22, 0.0f, 1e-4f);
    EXPECT_NEAR(world._23, 1.0f, 1e-4f);
}

TEST_F(TitleSceneTest, EmblemAndTitleGlideTwelveUnitsApartThenRest) {
    struct Moment {
        double seconds;
        float emblemY, emblemZ, titleY, titleZ;
    };
    for (const Moment& m : {Moment{5.0, 0, 0, 0, -12}, Moment{7.5, -17.5f, -2.5f, -17.5f, -14.5f},
                            Moment{10.0, -35, -5, -35, -17}, Moment{600.0, -35, -5, -35, -17}}) {
        SCOPED_TRACE(m.seconds);
        StartIntroAndDrawAt(1000, m.seconds);
        const auto placements = Placements();
        ASSERT_EQ(placements.size(), 2u);
        ExpectAt(placements[0], 0, m.emblemY, m.emblemZ);
        ExpectAt(placements[1], 0, m.titleY, m.titleZ);
    }
}

TEST_F(TitleSceneTest, TheFrameLooksDownFromHighAboveWithTheCamerasFieldOfView) {
    m_camera.fieldOfView = 0.5f;
    DrawFrame();
    const D3DMATRIX& projection = m_device->Transform(D3DTS_PROJECTION);
    EXPECT_NEAR(projection._33, -1.0827068f, 1e-5f);
    EXPECT_NEAR(projection._43, -59.548872f, 1e-3f);
    EXPECT_NEAR(projection._22, 1.0f / std::tan(0.25f), 1e-4f);
    EXPECT_NEAR(projection._11, projection._22 * 768.0f / 1024.0f, 1e-4f);
    // The background fills the viewport before the depth buffer is cleared for the 3D part.
    ASSERT_FALSE(m_device->Draws().empty());
    EXPECT_NE(m_device->Draws().front().textureSerial, 0u);
    EXPECT_EQ(m_device->RenderState(D3DRS_AMBIENT), 0xFF4C4C7Fu);
    // Lit and culled again after the picture's 2D pass.
    EXPECT_EQ(m_device->Draws().back().renderStates.at(D3DRS_LIGHTING), 1u);
}

TEST(TitleSceneFixedEffect, AnEmblemWithAFixedEffectIsDrawnWithoutItsParticles) {
    auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    source->Add(DRAVCommon::DFK_ICON, DRAVCommon::DFS_NONE, "g_icon1.drav", R"(<graphic> g_icon1 0
      <model> anchor "emblem.x" <tex> "emblem.png" </tex> </model>
      <effect> <emitter> gold ( 0.5 1.0 ) 1.0 8 ( 1.0 1.0 ) 0 ( 0.5 0.5 ) ( 1 0 ) burst </emitter> </effect>
    </graphic>)");
    auto device = WorldCaptureDevice::Create(640, 480);
    DRAVCommon::CXPDevice wrapper(device.get());
    CIconGraphicsManager scene;
    scene.SetDataFileFactory(source);
    std::uint32_t now = 0;
    scene.SetClock([&] { return now; });
    scene.Load(&wrapper);
    ASSERT_TRUE(scene.GetEmblem()->GetFixedEffect());
    RECT viewport{0, 0, 640, 480};
    CCamera camera;
    camera.viewport = &viewport;
    for (now = 0; now <= 3000; now += 1000) {
        device->BeginScene();
        EXPECT_NO_THROW(scene.Render(&wrapper, camera));
        device->EndScene();
    }
    EXPECT_FALSE(device->worlds.empty());
}

TEST(TitleSceneUnloaded, DrawsNothingButTheClearedDepthBeforeLoad) {
    auto device = WorldCaptureDevice::Create(640, 480);
    DRAVCommon::CXPDevice wrapper(device.get());
    CIconGraphicsManager scene;
    RECT viewport{0, 0, 640, 480};
    CCamera camera;
    camera.viewport = &viewport;
    device->BeginScene();
    scene.Render(&wrapper, camera);
    device->EndScene();
    EXPECT_TRUE(device->Draws().empty());
}

}  // namespace
