// Widgets drawn on OpenGL with the generated interface images: the hover face of
// a wide button and the tick of a checked box show their images' colours.

#include <gtest/gtest.h>

#include "ui/pixel/ui_pixel_fixture.h"
#include "ui/ui_button.h"
#include "ui_images/ui_image_palette.h"

namespace {

using namespace DRAVUI;
using QuillmereTest::NearColour;
namespace Palette = QuillmereTools::UiPalette;

class WidgetPixelTest : public QuillmereTest::UIPixelTest {};

TEST_F(WidgetPixelTest, AHoveredWideButtonShowsTheFaceOfImageOne) {
    auto button = std::make_shared<CUITextButton>(5, "Rest", m_manager.GetConfig());
    button->SetRect(RECT{100, 100, 292, 132});
    m_manager.AddElement(button);
    Realize();
    // Beside the centred label, inside the face's border.
    const int x = 100 + 12, y = 100 + 16;
    const POINT over{150, 110};
    const auto hovered = DrawFrame(&over);
    EXPECT_TRUE(NearColour(hovered.Rgb(x, y), Palette::kButtonHoverFill & 0xFFFFFF));
    EXPECT_TRUE(NearColour(hovered.Rgb(280, 104), Palette::kButtonHoverFill & 0xFFFFFF));
    // Away from the mouse: only the white and grey bevel, black inside. The 2D
    // queue's half-pixel corners put each edge one pixel right of and below its
    // rectangle's coordinates.
    const auto plain = DrawFrame(nullptr);
    EXPECT_EQ(plain.Rgb(x, y), 0u);
    EXPECT_EQ(plain.Rgb(150, 101), 0xFFFFFFu);
    EXPECT_EQ(plain.Rgb(150, 132), 0x808080u);
    EXPECT_EQ(plain.Rgb(150, 133), 0u);
}

TEST_F(WidgetPixelTest, ACheckedBoxShowsTheTickOfImageElevenInsideTheBoxAtEveryScale) {
    for (std::uint32_t scale : {100u, 150u}) {
        m_manager.Clear();
        auto check = std::make_shared<CUICheckButton>(m_manager.GetConfig(), 9, "Sound", true);
        check->SetRect(RECT{40, 40, 200, 64});
        m_manager.AddElement(check);
        Realize(scale);
        // r = {41, 41, 199, 63}; the tick fills {44, 46, 56, 58}, centre (50, 52).
        const int cx = 50 * static_cast<int>(scale) / 100, cy = 52 * static_cast<int>(scale) / 100;
        const auto checked = DrawFrame(nullptr);
        EXPECT_TRUE(NearColour(checked.Rgb(cx, cy), Palette::kCrossMark & 0xFFFFFF)) << scale;
        check->m_checked = false;
        const auto unchecked = DrawFrame(nullptr);
        EXPECT_EQ(unchecked.Rgb(cx, cy), 0u) << scale;
    }
}

}  // namespace
