// The 2D queue on the OpenGL device, read back pixel by pixel.

#include "graphics/pixel/pixel_fixture.h"

namespace {

using namespace QuillmereTest;
using DRAVUI::CUISprite;

TEST_F(PixelTest, ScaledRectangleCoversItsDevicePixelsLikeDirect3D) {
    const Frame frame = DrawQueue(150, [](CUISprite& sprite) {
        sprite.Draw(RECT{10, 20, 110, 40}, nullptr, 0xFFFF0000u, CUISprite::MODE_STRETCH, nullptr);
    });
    // Queued as (15, 30, 165, 60) and drawn half a pixel further: Direct3D lights the
    // pixels whose centres (at integer coordinates) fall in [15.5, 165.5) x [30.5, 60.5).
    const RECT box = frame.BoundsOfNot(0);
    EXPECT_EQ(box.left, 16);
    EXPECT_EQ(box.top, 31);
    EXPECT_EQ(box.right, 166);
    EXPECT_EQ(box.bottom, 61);
    EXPECT_EQ(frame.Rgb(16, 31), 0xFF0000u);
    EXPECT_EQ(frame.Rgb(165, 60), 0xFF0000u);
}

TEST_F(PixelTest, TexelsLandOnPixelsWithoutAHalfPixelShift) {
    auto surface = MakeSurface(8, 8, SDL_PIXELFORMAT_ARGB8888, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            SetPixel(surface.get(), x, y, 0xFF000000u | static_cast<std::uint32_t>(x * 32) << 16 |
                                              static_cast<std::uint32_t>(y * 32) << 8 | 0x40u);
    auto texture = DRAVCommon::CreateTextureFromSurface(&m_wrapper, surface.get());
    // Bilinear filtering (the default states) blends neighbours wherever a pixel's
    // centre misses a texel's centre, so exact colours prove the alignment.
    const Frame frame = DrawQueue(100, [&](CUISprite& sprite) {
        sprite.Draw(RECT{40, 50, 48, 58}, nullptr, 0xFFFFFFFFu, CUISprite::MODE_STRETCH, texture);
    });
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_TRUE(NearColour(frame.Rgb(41 + x, 51 + y),
                                   static_cast<std::uint32_t>(x * 32) << 16 | static_cast<std::uint32_t>(y * 32) << 8 |
                                       0x40u, 1))
                << x << "," << y;
}

TEST_F(PixelTest, TranslucentPlainRectangleQueuedLaterHidesTheTexturedOneInTheOverlap) {
    auto blue = SolidTexture(0xFF0000FFu);
    const Frame frame = DrawQueue(100, [&](CUISprite& sprite) {
        sprite.Draw(RECT{20, 20, 60, 60}, nullptr, 0xFFFFFFFFu, CUISprite::MODE_STRETCH, blue);
        sprite.Draw(RECT{40, 40, 80, 80}, nullptr, 0x80FF0000u, CUISprite::MODE_STRETCH, nullptr);
    });
    EXPECT_EQ(frame.Rgb(30, 30), 0x0000FFu);
    // The plain pass ran first and wrote the nearer depth: the blue never reaches the
    // overlap, where half red over the black clear shows.
    EXPECT_TRUE(NearColour(frame.Rgb(50, 50), 0x800000u));
    EXPECT_TRUE(NearColour(frame.Rgb(70, 70), 0x800000u));
}

TEST_F(PixelTest, TexturedRectangleQueuedAfterATranslucentOneIsBlendedOverIt) {
    auto blue = SolidTexture(0x800000FFu);
    const Frame frame = DrawQueue(100, [&](CUISprite& sprite) {
        sprite.Draw(RECT{40, 40, 80, 80}, nullptr, 0xFFFF0000u, CUISprite::MODE_STRETCH, nullptr);
        sprite.Draw(RECT{20, 20, 60, 60}, nullptr, 0xFFFFFFFFu, CUISprite::MODE_STRETCH, blue);
    });
    EXPECT_TRUE(NearColour(frame.Rgb(50, 50), 0x7F0080u, 3));
    EXPECT_TRUE(NearColour(frame.Rgb(30, 30), 0x000080u, 3));
}

TEST_F(PixelTest, BackgroundStaysBehindLaterRectanglesAndCoversEarlierOnes) {
    auto green = SolidTexture(0xFF00FF00u);
    const Frame frame = DrawQueue(100, [&](CUISprite& sprite) {
        sprite.Draw(RECT{150, 150, 200, 200}, nullptr, 0xFFFFFF00u, CUISprite::MODE_STRETCH, nullptr);
        sprite.Draw(RECT{0, 0, 300, 220}, nullptr, 0xFFFFFFFFu, CUISprite::MODE_BACKGROUND, green);
        sprite.Draw(RECT{20, 20, 40, 40}, nullptr, 0xFFFF0000u, CUISprite::MODE_STRETCH, nullptr);
    });
    EXPECT_EQ(frame.Rgb(100, 100), 0x00FF00u);
    EXPECT_EQ(frame.Rgb(30, 30), 0xFF0000u);
    EXPECT_EQ(frame.Rgb(175, 175), 0x00FF00u);  // queued before the background, so behind it
}

TEST_F(PixelTest, TexelsBelowTheAlphaReferenceLeaveWhatIsBehind) {
    auto clear = SolidTexture(0x07FFFFFFu);
    const Frame frame = DrawQueue(100, [&](CUISprite& sprite) {
        sprite.Draw(RECT{0, 0, 100, 100}, nullptr, 0xFFFFFFFFu, CUISprite::MODE_BACKGROUND, clear);
        sprite.Draw(RECT{10, 10, 50, 50}, nullptr, 0xFF0000FFu, CUISprite::MODE_STRETCH, nullptr);
    });
    EXPECT_EQ(frame.Rgb(5, 5), 0u);
    EXPECT_EQ(frame.Rgb(30, 30), 0x0000FFu);
}

}  // namespace

namespace {

using namespace QuillmereTest;
using DRAVUI::CUISprite;

TEST_F(PixelTest, TheTopmostOfTwoThousandRectanglesIsStillDrawnOnTop) {
    // 1,998 plain rectangles (a crowded store), then a textured one and a plain one
    // on top: the hover window and the dragged icon of that screen.
    auto blue = SolidTexture(0xFF0000FFu);
    const Frame frame = DrawQueue(100, [&](CUISprite& sprite) {
        for (int i = 0; i < 1998; ++i) {
            const LONG x = (i % 40) * 8, y = (i / 40) * 4;
            sprite.Draw(RECT{x, y, x + 8, y + 4}, nullptr, 0xFF00FF00u | static_cast<std::uint32_t>(i % 2) << 16,
                        CUISprite::MODE_STRETCH, nullptr);
        }
        sprite.Draw(RECT{100, 100, 140, 140}, nullptr, 0xFFFFFFFFu, CUISprite::MODE_STRETCH, blue);
        sprite.Draw(RECT{10, 10, 30, 30}, nullptr, 0xFFFF0000u, CUISprite::MODE_STRETCH, nullptr);
    });
    EXPECT_EQ(frame.Rgb(120, 120), 0x0000FFu);
    EXPECT_EQ(frame.Rgb(20, 20), 0xFF0000u);
    // The first rectangles are still there where nothing covers them.
    EXPECT_EQ(frame.Rgb(4, 2), 0x00FF00u);
}

TEST_F(PixelTest, ARectangleLeftOfAndAboveTheWindowKeepsItsShape) {
    const Frame frame = DrawQueue(150, [](CUISprite& sprite) {
        sprite.Draw(RECT{-14, -14, 34, 34}, nullptr, 0xFFFF0000u, CUISprite::MODE_STRETCH, nullptr);
    });
    // (-21, -21, 51, 51) after scaling: the part inside the window, nothing more.
    const RECT box = frame.BoundsOfNot(0);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 52);
    EXPECT_EQ(box.bottom, 52);
}

}  // namespace
