// Textures from images on the recording device: power-of-two padding, recolouring,
// colour textures, and bad images refused before anything is made.

#include <SDL.h>
#include <gtest/gtest.h>

#include "common/graphic_colors.h"
#include "graphics/graphics_test_util.h"
#include "graphics/xp_texture.h"
#include "platform/d3d9/recording_device.h"
#include "support/expect_drav.h"

namespace {

using namespace DRAVCommon;
using D3D9Layer::CRecordingDevice;
using QuillmereTest::TexturePixel;

class TextureTest : public ::testing::Test {
protected:
    D3DPtr<CRecordingDevice> m_device = CRecordingDevice::Create(800, 600);
    CXPDevice m_wrapper{m_device.get()};
};

TEST_F(TextureTest, OddSizedImageIsPaddedWithTransparentBlack) {
    auto surface = QuillmereTest::MakeSurface(100, 60, SDL_PIXELFORMAT_ABGR8888, 0xFF336699u);
    QuillmereTest::SetPixel(surface.get(), 99, 59, 0x80FF0000u);
    auto texture = LoadTexture(&m_wrapper, QuillmereTest::EncodePng(surface.get()), nullptr, "ui\\panel.png");
    EXPECT_EQ(texture->GetImageWidth(), 100);
    EXPECT_EQ(texture->GetImageHeight(), 60);
    EXPECT_EQ(texture->GetTextureWidth(), 128);
    EXPECT_EQ(texture->GetTextureHeight(), 64);
    EXPECT_EQ(TexturePixel(*texture, 0, 0), 0xFF336699u);
    EXPECT_EQ(TexturePixel(*texture, 99, 59), 0x80FF0000u);  // alpha kept, not blended
    for (int x : {100, 127}) EXPECT_EQ(TexturePixel(*texture, x, 10), 0u);
    for (int y : {60, 63}) EXPECT_EQ(TexturePixel(*texture, 10, y), 0u);
    // Staged in system memory, then one default-pool texture is all that stays alive.
    EXPECT_EQ(m_device->LiveDefaultPoolObjects(), 1);
    texture.reset();
    EXPECT_EQ(m_device->LiveDefaultPoolObjects(), 0);
}

TEST_F(TextureTest, RecolouringMixesHairSkinAndTrimByTheMaskChannels) {
    DRAVGraph::CGraphicColors colours;
    colours.SetColor(DRAVGraph::CGraphicColors::HAIR, 0xC86400);  // (200, 100, 0)
    colours.SetColor(DRAVGraph::CGraphicColors::SKIN, 0x0064C8);  // (0, 100, 200)
    colours.SetColor(DRAVGraph::CGraphicColors::TRIM, 0xFFFFFF);
    auto surface = QuillmereTest::MakeSurface(2, 1, SDL_PIXELFORMAT_ARGB8888, 0xFF808000u);
    QuillmereTest::SetPixel(surface.get(), 1, 0, 0x7FFF00FFu);
    auto texture = LoadTexture(&m_wrapper, QuillmereTest::EncodePng(surface.get()), &colours, "actor\\tex\\m.png");
    EXPECT_EQ(TexturePixel(*texture, 0, 0), 0xFF646464u);  // (100, 100, 100)
    // Full red and full blue: red and green clamp at 0xFF00 before >> 8; blue 255 x 255 gives 254.
    EXPECT_EQ(TexturePixel(*texture, 1, 0), 0x7FFFFFFEu);
}

TEST_F(TextureTest, ColourTextureTruncatesItsAlpha) {
    auto texture = CreateColourTexture(&m_wrapper, 0x102030, 0.5);
    EXPECT_EQ(texture->GetTextureWidth(), 1);
    EXPECT_EQ(TexturePixel(*texture, 0, 0), 0x7F102030u);
}

TEST_F(TextureTest, AlreadyPowerOfTwoArgbImagesAreUploadedAsTheyAre) {
    auto argb = QuillmereTest::MakeSurface(64, 32, SDL_PIXELFORMAT_ARGB8888, 0xFF010203u);
    EXPECT_TRUE(IsPowerOfTwoArgb(argb.get()));
    auto abgr = QuillmereTest::MakeSurface(64, 32, SDL_PIXELFORMAT_ABGR8888, 0xFF010203u);
    EXPECT_FALSE(IsPowerOfTwoArgb(abgr.get()));
    auto texture = CreateTextureFromSurface(&m_wrapper, abgr.get());
    EXPECT_EQ(texture->GetTextureWidth(), 64);
    EXPECT_EQ(texture->GetTextureHeight(), 32);
    EXPECT_EQ(TexturePixel(*texture, 63, 31), 0xFF010203u);
}

TEST_F(TextureTest, BadImagesAreCodeOneNamingTheFileAndMakeNoTexture) {
    DRAVCommon::CDataFileFactoryMemory source;
    source.Add(DFK_ITEM, DFS_TEX, "broken.png", ByteVector{0x89, 'P', 'N', 'G', 1, 2, 3});
    auto check = [&](const std::string& name, const std::string& shown) {
        auto error = QuillmereTest::CatchDrav([&] { LoadTextureFile(&m_wrapper, source, DFK_ITEM, DFS_TEX, name); });
        ASSERT_TRUE(error.has_value()) << name;
        EXPECT_EQ(error->GetCode(), DRAV_ERR_BAD_DATA);
        EXPECT_NE(error->GetMessage().find(shown), std::string::npos) << error->GetMessage();
    };
    check("broken.png", "broken.png");
    // Larger than the device can hold: 3000 pixels need a 4096 texture.
    D3DCAPS9 caps{2048, 2048, 8, 8, 0xFFFFF, 0xFFFFFF};
    m_device->SetCaps(caps);
    auto wide = QuillmereTest::MakeSurface(3000, 2, SDL_PIXELFORMAT_ARGB8888, 0xFFFFFFFFu);
    source.Add(DFK_ITEM, DFS_TEX, "wide.png", QuillmereTest::EncodePng(wide.get()));
    check("wide.png", "wide.png");
    for (const auto& call : m_device->Calls()) EXPECT_EQ(call.rfind("CreateTexture", 0), std::string::npos);
}

TEST_F(TextureTest, AFailedDeviceStepIsCodeFiveAndLeavesNothingBehind) {
    auto surface = QuillmereTest::MakeSurface(8, 8, SDL_PIXELFORMAT_ARGB8888, 0xFFFFFFFFu);
    for (const char* method : {"CreateTexture", "UpdateTexture"}) {
        m_device->FailCall(method, D3DERR_OUTOFVIDEOMEMORY, method == std::string("CreateTexture") ? 1 : 0);
        EXPECT_DRAV_CODE(CreateTextureFromSurface(&m_wrapper, surface.get()), DRAV_ERR_DEVICE);
        EXPECT_EQ(m_device->LiveDefaultPoolObjects(), 0) << method;
    }
}

}  // namespace
