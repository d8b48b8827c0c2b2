#include <gtest/gtest.h>

#include <algorithm>

#include "ui_images/canvas.h"

using namespace QuillmereTools;

namespace {

// Coverage taken at every pixel, without the tile shortcut Draw takes.
Canvas Reference(int w, int h, Canvas::View view, const Sdf& shape, Colour colour) {
    Canvas canvas(w, h);
    canvas.SetView(view);
    canvas.Paint([&](Vec p) { return WithAlpha(colour, std::clamp(0.5f - shape(p) * view.scale, 0.0f, 1.0f)); });
    return canvas;
}

}  // namespace

// Draw skips whole tiles by their centre's distance; a shape smaller than a tile,
// sitting on tile corners, or a thin sliver must still come out pixel for pixel.
TEST(Canvas, TiledDrawingMatchesCoverageAtEveryPixel) {
    struct Case {
        Canvas::View view;
        Sdf shape;
    };
    const Case cases[] = {
        {{0, 0, 1}, Shape::Circle({8, 8}, 0.4f)},                      // a dot on four tiles' corner
        {{0, 0, 1}, Shape::Segment({3, 30}, {37, 2}, 0.6f)},           // a hairline across tiles
        {{2, 3, 2.5f}, Shape::Subtract(Shape::Circle({8, 8}, 6), Shape::Circle({10, 8}, 5))},  // a thin crescent, scaled
        {{0, 0, 1}, Shape::Box(-10, -10, 60, 60)},                     // wholly covering tiles
        {{1, 1, 0.5f}, Shape::Arc({30, 30}, 20, 1, 0.5f, 2.5f)},
    };
    const Colour colour = FromArgb(0xFF6DB33F);
    for (const Case& c : cases) {
        Canvas drawn(40, 34);
        drawn.SetView(c.view);
        drawn.Draw(c.shape, colour);
        Canvas expected = Reference(40, 34, c.view, c.shape, colour);
        std::vector<std::uint8_t> got = drawn.ToRgba(), want = expected.ToRgba();
        int covered = 0;
        for (std::size_t i = 0; i < got.size(); i += 4) {
            ASSERT_EQ(got[i + 3], want[i + 3]) << "pixel " << i / 4;
            if (want[i + 3] == 0) continue;
            ++covered;
            EXPECT_EQ(std::vector<std::uint8_t>(got.begin() + i, got.begin() + i + 3),
                      std::vector<std::uint8_t>(want.begin() + i, want.begin() + i + 3));
        }
        EXPECT_GT(covered, 0);
    }
}

TEST(Canvas, OpaqueFillsKeepTheirExactColourAndBlendOverTheGround) {
    Canvas canvas(4, 1);
    canvas.SetRect(0, 0, 4, 1, FromArgb(0xFF204060));
    canvas.Draw(Shape::Box(0, 0, 1, 1), FromArgb(0xFFE3D29C));
    canvas.Draw(Shape::Box(1, 0, 2, 1), FromArgb(0x80FFFFFF));
    canvas.Draw(Shape::Box(2, 0, 2.5f, 1), FromArgb(0xFF000000));
    std::vector<std::uint8_t> rgba = canvas.ToRgba();
    EXPECT_EQ(std::vector<std::uint8_t>(rgba.begin(), rgba.begin() + 4), (std::vector<std::uint8_t>{0xE3, 0xD2, 0x9C, 0xFF}));
    EXPECT_EQ(rgba[4], 0x90);   // half white over 0x20
    EXPECT_EQ(rgba[7], 0xFF);   // still opaque
    EXPECT_EQ(rgba[8], 0x10);   // half covered by black: half of 0x20
    EXPECT_EQ(std::vector<std::uint8_t>(rgba.begin() + 12, rgba.end()), (std::vector<std::uint8_t>{0x20, 0x40, 0x60, 0xFF}));
}
