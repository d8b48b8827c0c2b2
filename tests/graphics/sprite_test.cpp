// The 2D queue on the recording device: scaling, the three passes, texture
// coordinates, depth order and failures.

#include <gtest/gtest.h>

#include "graphics/graphics_test_util.h"
#include "graphics/ui_sprite.h"
#include "platform/d3d9/recording_device.h"
#include "support/expect_drav.h"

namespace {

using namespace DRAVCommon;
using D3D9Layer::CRecordingDevice;
using DRAVUI::CUISprite;

class SpriteTest : public ::testing::Test {
protected:
    SpriteTest() { m_device->BeginScene(); }

    std::shared_ptr<CXPTexture> Texture(int width, int height) {
        auto surface = QuillmereTest::MakeSurface(width, height, SDL_PIXELFORMAT_ARGB8888, 0xFFFFFFFFu);
        return CreateTextureFromSurface(&m_wrapper, surface.get());
    }
    std::vector<std::string> CallsFrom(std::size_t first) const {
        return {m_device->Calls().begin() + static_cast<std::ptrdiff_t>(first), m_device->Calls().end()};
    }

    D3DPtr<CRecordingDevice> m_device = CRecordingDevice::Create(800, 600);
    CXPDevice m_wrapper{m_device.get()};
    std::shared_ptr<CXPTexture> m_white = CreateColourTexture(&m_wrapper, 0xFFFFFF, 1.0);
};

TEST_F(SpriteTest, EmptyQueueFlushesWithoutTouchingTheDevice) {
    CUISprite sprite(&m_wrapper, 100, m_white);
    const auto before = m_device->Calls().size();
    sprite.Flush();
    EXPECT_EQ(m_device->Calls().size(), before);
}

TEST_F(SpriteTest, BeginSetsTheScreenProjectionThenViewThenWorld) {
    CUISprite sprite(&m_wrapper, 100, m_white);
    const auto before = m_device->Calls().size();
    sprite.Begin();
    EXPECT_EQ(CallsFrom(before), (std::vector<std::string>{"GetViewport()", "SetTransform(3)", "SetTransform(2)",
                                                           "SetTransform(256)"}));
    const D3DMATRIX& projection = m_device->Transform(D3DTS_PROJECTION);
    // The pixel (800, 600) corner maps to clip (1, -1) and z = 0 to depth 0.5.
    EXPECT_FLOAT_EQ(800 * projection._11 + projection._41, 1.0f);
    EXPECT_FLOAT_EQ(600 * projection._22 + projection._42, -1.0f);
    EXPECT_FLOAT_EQ(projection._43, 0.5f);
    m_device->FailCall("SetTransform", D3DERR_INVALIDCALL, 2);
    EXPECT_DRAV_CODE(sprite.Begin(), DRAV_ERR_DEVICE);
}

TEST_F(SpriteTest, FlushDrawsBackgroundsThenAllPlainRectanglesAtOnceThenTexturedOnes) {
    CUISprite sprite(&m_wrapper, 150, m_white);
    auto picture = Texture(64, 32);
    auto background = Texture(16, 16);
    sprite.Draw(RECT{10, 20, 110, 40}, nullptr, 0xFFFF0000u, CUISprite::MODE_STRETCH, nullptr);
    sprite.Draw(RECT{0, 0, 50, 50}, nullptr, 0xFFFFFFFFu, CUISprite::MODE_STRETCH, picture);
    sprite.Draw(RECT{0, 0, 8, 8}, nullptr, 0x80000000u, CUISprite::MODE_STRETCH, nullptr);
    sprite.Draw(RECT{0, 0, 400, 300}, nullptr, 0xFFFFFFFFu, CUISprite::MODE_BACKGROUND, background);
    ASSERT_EQ(sprite.GetPlainCommands().size(), 2u);
    EXPECT_EQ(sprite.GetPlainCommands()[0].dest.left, 15);
    EXPECT_EQ(sprite.GetPlainCommands()[0].dest.top, 30);
    EXPECT_EQ(sprite.GetPlainCommands()[0].dest.right, 165);
    EXPECT_EQ(sprite.GetPlainCommands()[0].dest.bottom, 60);
    m_device->ClearRecord();
    sprite.Flush();

    const auto& draws = m_device->Draws();
    ASSERT_EQ(draws.size(), 3u);
    const auto serial = [](const std::shared_ptr<CXPTexture>& t) { return CRecordingDevice::SerialOf(t->GetTexture()); };
    // Pass 1: the background (textured command 1, after the 2 plain ones).
    EXPECT_EQ(draws[0].textureSerial, serial(background));
    EXPECT_EQ(draws[0].startIndex, 6u * 2 + 6u * 1);
    // Pass 2: both plain rectangles in one call, over the white default texture.
    EXPECT_EQ(draws[1].textureSerial, serial(m_white));
    EXPECT_EQ(draws[1].startIndex, 0u);
    EXPECT_EQ(draws[1].primitiveCount, 4u);
    // Pass 3: the picture.
    EXPECT_EQ(draws[2].textureSerial, serial(picture));
    EXPECT_EQ(draws[2].startIndex, 12u);
    for (const auto& draw : draws) {
        EXPECT_EQ(draw.fvf, 0x142u);
        EXPECT_EQ(draw.vertexCount, 16u);
        EXPECT_EQ(draw.renderStates.at(D3DRS_LIGHTING), 0u);
        EXPECT_EQ(draw.renderStates.at(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_NONE));
        EXPECT_EQ(draw.renderStates.at(D3DRS_ALPHABLENDENABLE), 1u);
    }
    EXPECT_EQ(m_device->Calls().front(), "Clear(0,2,0,1000,0)");  // depth only

    const auto vertices = QuillmereTest::DrawVertices(draws[1]);
    // Half a pixel onto each scaled corner; depth by queue order, colour on every corner.
    EXPECT_FLOAT_EQ(vertices[0].x, 15.5f);
    EXPECT_FLOAT_EQ(vertices[3].y, 60.5f);
    EXPECT_FLOAT_EQ(vertices[0].z, 0.0f);
    EXPECT_FLOAT_EQ(vertices[4].z, 0.002f);
    EXPECT_EQ(vertices[2].colour, 0xFFFF0000u);
    // The picture shows only its image, and the queue is empty with its numbering restarted.
    EXPECT_FLOAT_EQ(vertices[8].z, 0.001f);
    EXPECT_TRUE(sprite.GetPlainCommands().empty());
    EXPECT_TRUE(sprite.GetTexturedCommands().empty());
    EXPECT_EQ(m_device->LiveDefaultPoolObjects(), 3);  // the white, picture and background textures, nothing else
}

TEST_F(SpriteTest, TextureCoordinatesCoverTheSourceOrTheWholeImageOrTheCroppedAspect) {
    auto image = Texture(100, 60);  // held in 128 x 64
    CUISprite sprite(&m_wrapper, 100, m_white);
    const RECT source{32, 16, 64, 48};
    const RECT sliver{10, 0, 10, 60};
    sprite.Draw(RECT{0, 0, 10, 10}, &source, 0xFFFFFFFFu, CUISprite::MODE_STRETCH, image);
    sprite.Draw(RECT{0, 0, 10, 10}, &sliver, 0xFFFFFFFFu, CUISprite::MODE_STRETCH, image);
    auto wide = Texture(600, 400);  // in 1024 x 512; 1.5 wider than high against 800 / 600
    sprite.Draw(RECT{0, 0, 800, 600}, nullptr, 0xFFFFFFFFu, CUISprite::MODE_CROP, wide);
    m_device->ClearRecord();
    sprite.Flush();
    const auto v = QuillmereTest::DrawVertices(m_device->Draws().at(0));
    EXPECT_FLOAT_EQ(v[0].u, 0.25f);
    EXPECT_FLOAT_EQ(v[0].v, 0.25f);
    EXPECT_FLOAT_EQ(v[3].u, 0.5f);
    EXPECT_FLOAT_EQ(v[3].v, 0.75f);
    EXPECT_FLOAT_EQ(v[4].u, 0.0f);  // a zero-width source draws the whole image
    EXPECT_FLOAT_EQ(v[7].u, 100.0f / 128.0f);
    EXPECT_FLOAT_EQ(v[7].v, 60.0f / 64.0f);
    const float used = 600.0f / 1024.0f;
    const float cut = (used - used * (800.0f / 600.0f) / 1.5f) * 0.5f;
    EXPECT_NEAR(v[8].u, cut, 1e-6f);
    EXPECT_NEAR(v[11].u, used - cut, 1e-6f);
    EXPECT_FLOAT_EQ(v[11].v, 400.0f / 512.0f);
}

TEST_F(SpriteTest, UnknownModeOrFailedDeviceCallIsCodeFiveAndKeepsTheQueue) {
    CUISprite sprite(&m_wrapper, 100, m_white);
    auto image = Texture(4, 4);
    sprite.Draw(RECT{0, 0, 4, 4}, nullptr, 0xFFFFFFFFu, 3, image);  // accepted when queued
    EXPECT_DRAV_CODE(sprite.Flush(), DRAV_ERR_DEVICE);
    EXPECT_EQ(sprite.GetTexturedCommands().size(), 1u);

    CUISprite good(&m_wrapper, 100, m_white);
    good.Draw(RECT{0, 0, 4, 4}, nullptr, 0xFFFFFFFFu, 0, image);
    good.Draw(RECT{0, 0, 4, 4}, nullptr, 0xFFFFFFFFu, 0, nullptr);
    for (const char* method : {"CreateVertexBuffer", "DrawIndexedPrimitive"}) {
        m_device->FailCall(method, D3DERR_INVALIDCALL, method == std::string("DrawIndexedPrimitive") ? 1 : 0);
        EXPECT_DRAV_CODE(good.Flush(), DRAV_ERR_DEVICE);
        EXPECT_EQ(good.GetTexturedCommands().size() + good.GetPlainCommands().size(), 2u);
        // Nothing of the failed frame stays in the device to block a reset.
        EXPECT_EQ(m_device->LiveDefaultPoolObjects(), 2) << method;
    }
}

TEST_F(SpriteTest, AFrameLeavesNothingInTheDeviceThatWouldBlockAReset) {
    // The application's frame: default states, scene, queue, flush, present; then a
    // lost device is reset once the caller has let go of its own textures.
    CXPDevice& device = m_wrapper;
    device.SetDefaultRenderStates(true);
    {
        CUISprite sprite(&m_wrapper, 100, m_white);
        sprite.Begin();
        sprite.Draw(RECT{0, 0, 10, 10}, nullptr, 0xFFFFFFFFu, 0, Texture(4, 4));
        sprite.Draw(RECT{0, 0, 10, 10}, nullptr, 0xFF000000u, 0, nullptr);
        sprite.Flush();
    }
    m_device->EndScene();
    m_device->FailCall("Present", D3DERR_DEVICELOST);
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    m_white.reset();
    EXPECT_EQ(m_device->LiveDefaultPoolObjects(), 0);
    D3DPRESENT_PARAMETERS parameters = D3D9Layer::WindowedParameters(800, 600);
    EXPECT_EQ(m_device->Reset(&parameters), D3D_OK);
    device.SetDefaultRenderStates(true);
    EXPECT_EQ(m_device->TestCooperativeLevel(), D3D_OK);
}

}  // namespace

namespace {

TEST_F(SpriteTest, AQueuePastTheIndexRangeDropsItsEarliestRectanglesAndKeepsDepthInRange) {
    CUISprite sprite(&m_wrapper, 100, m_white);
    constexpr std::uint32_t kQueued = 16384 + 10;
    for (std::uint32_t i = 0; i < kQueued; ++i)
        sprite.Draw(RECT{0, 0, 4, 4}, nullptr, 0xFF000000u | i, CUISprite::MODE_STRETCH, nullptr);
    sprite.Flush();
    const auto& draws = m_device->Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].primitiveCount, 2u * 16384u);
    const auto vertices = QuillmereTest::DrawVertices(draws[0]);
    ASSERT_EQ(vertices.size(), 4u * 16384u);
    EXPECT_EQ(vertices.front().colour, 0xFF00000Au);  // the eleventh queued is the first kept
    EXPECT_EQ(vertices.back().colour, 0xFF000000u | (kQueued - 1));
    EXPECT_LT(vertices.back().z, 1.0f);
    EXPECT_GT(vertices.back().z, vertices[vertices.size() - 5].z);
}

}  // namespace
