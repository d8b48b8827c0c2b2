// Text textures and their placement on the recording device.

#include <gtest/gtest.h>

#include "graphics/graphics_test_util.h"
#include "graphics/ui_font_draw.h"
#include "platform/d3d9/recording_device.h"
#include "support/expect_drav.h"

namespace {

using namespace DRAVCommon;
using D3D9Layer::CRecordingDevice;
using DRAVUI::CUIFontDraw;
using DRAVUI::CUISprite;
using DRAVUI::CUITextTexture;

class FontTest : public ::testing::Test {
protected:
    FontTest() { QuillmereTest::AddInterfaceFont(m_source); }

    // A text texture of a known rendered size, as if the font had made it.
    CUITextTexture FakeText(LONG width, LONG height) {
        auto surface = QuillmereTest::MakeSurface(width, height, SDL_PIXELFORMAT_ARGB8888, 0xFFFFFFFFu);
        return CUITextTexture{CreateTextureFromSurface(&m_wrapper, surface.get()), "text", RECT{0, 0, width, height},
                              RECT{0, 0, 100, 50}};
    }
    RECT Placed(CUIFontDraw& font, std::uint32_t scale, std::uint32_t alignment, const CUITextTexture& text,
                const RECT& box, std::int32_t* used = nullptr, RECT* source = nullptr) {
        CUISprite sprite(&m_wrapper, scale, nullptr);
        const std::int32_t height = font.PlaceText(alignment, sprite, text, box, 0xFFFFFFFFu);
        if (used) *used = height;
        const auto& command = sprite.GetTexturedCommands().at(0);
        if (source) *source = command.source;
        return command.dest;
    }

    D3DPtr<CRecordingDevice> m_device = CRecordingDevice::Create(800, 600);
    CXPDevice m_wrapper{m_device.get()};
    DRAVCommon::CDataFileFactoryMemory m_source;
};

void ExpectRect(const RECT& rect, LONG left, LONG top, LONG right, LONG bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

TEST_F(FontTest, EveryAlignmentPlacesTheTextInItsBox) {
    CUIFontDraw font(m_source, 12, 100);
    const auto text = FakeText(40, 20);
    const RECT box{0, 0, 101, 50};
    ExpectRect(Placed(font, 100, 0, text, box), 30, 0, 70, 20);
    ExpectRect(Placed(font, 100, 1, text, box), 0, 15, 40, 35);
    ExpectRect(Placed(font, 100, 2, text, box), 30, 15, 70, 35);
    ExpectRect(Placed(font, 100, 3, text, box), 0, 0, 40, 20);
    ExpectRect(Placed(font, 100, 4, text, box), 61, 30, 101, 50);
    ExpectRect(Placed(font, 100, 5, text, box), 0, 0, 40, 20);
    ExpectRect(Placed(font, 100, 6, text, box), 0, 30, 40, 50);
    ExpectRect(Placed(font, 100, 7, text, box), 0, 0, 101, 50);  // stretched
}

TEST_F(FontTest, TooTallTextIsCutToTheBoxFromTheTopOrTheBottom) {
    CUIFontDraw font(m_source, 12, 150);
    const auto text = FakeText(60, 30);  // 40 x 20 UI pixels at 150 percent
    std::int32_t used = 0;
    RECT source{};
    const RECT box{10, 10, 110, 22};
    ExpectRect(Placed(font, 150, 5, text, box, &used, &source), 10 * 150 / 100, 10 * 150 / 100, 50 * 150 / 100,
               22 * 150 / 100);
    EXPECT_EQ(used, 20);
    ExpectRect(source, 0, 0, 60, 18);  // the first 12 UI pixels
    Placed(font, 150, 6, text, box, &used, &source);
    ExpectRect(source, 0, 12, 60, 30);  // the last 12
}

TEST_F(FontTest, SlotIsRenderedAgainOnlyForANewTextOrWidth) {
    CUIFontDraw font(m_source, 12, 100);
    CUISprite sprite(&m_wrapper, 100, nullptr);
    std::shared_ptr<CUITextTexture> slot;
    EXPECT_GT(font.DrawText(sprite, slot, "Reedwater ferry", RECT{0, 0, 200, 40}, 0xFFFFFFFFu, 3), 0);
    ASSERT_TRUE(slot);
    auto first = slot;
    EXPECT_GT(first->textRect.right, 0);
    font.DrawText(sprite, slot, "Reedwater ferry", RECT{50, 60, 250, 70}, 0xFFFFFFFFu, 3);  // moved, shorter
    EXPECT_EQ(slot, first);
    font.DrawText(sprite, slot, "Reedwater ferry", RECT{0, 0, 201, 40}, 0xFFFFFFFFu, 3);
    EXPECT_NE(slot, first);
    auto second = slot;
    font.DrawText(sprite, slot, "Reedwater landing", RECT{0, 0, 201, 40}, 0xFFFFFFFFu, 3);
    EXPECT_NE(slot, second);
    EXPECT_EQ(sprite.GetTexturedCommands().size(), 4u);
}

TEST_F(FontTest, EmptyTextOrABoxWithoutWidthDrawsNothingAndMakesNoTexture) {
    CUIFontDraw font(m_source, 12, 100);
    CUISprite sprite(&m_wrapper, 100, nullptr);
    std::shared_ptr<CUITextTexture> slot;
    font.DrawText(sprite, slot, "Old text", RECT{0, 0, 100, 20}, 0xFFFFFFFFu, 3);
    auto old = slot;
    const auto textures = m_device->LiveDefaultPoolObjects();
    EXPECT_EQ(font.DrawText(sprite, slot, "", RECT{0, 0, 100, 20}, 0xFFFFFFFFu, 3), 0);
    EXPECT_EQ(slot, old);  // kept for when the text comes back
    std::shared_ptr<CUITextTexture> narrow;
    EXPECT_EQ(font.DrawText(sprite, narrow, "Words", RECT{40, 0, 40, 20}, 0xFFFFFFFFu, 3), 0);
    EXPECT_EQ(font.DrawText(sprite, narrow, "Words", RECT{40, 0, 30, 20}, 0xFFFFFFFFu, 3), 0);
    EXPECT_FALSE(narrow);
    EXPECT_EQ(m_device->LiveDefaultPoolObjects(), textures);
    EXPECT_EQ(sprite.GetTexturedCommands().size(), 1u);
}

TEST_F(FontTest, WrappedTextStaysWithinTheScaledWidth) {
    CUIFontDraw font(m_source, 12, 150);
    CUISprite sprite(&m_wrapper, 150, nullptr);
    std::shared_ptr<CUITextTexture> slot;
    const std::int32_t used = font.DrawText(sprite, slot,
                                            "The ferryman waits at the landing while the reeds bend in the wind",
                                            RECT{10, 10, 110, 200}, 0xFFFFFFFFu, 3);
    ASSERT_TRUE(slot);
    EXPECT_LE(slot->textRect.right, 150);
    EXPECT_GT(used, 20);  // more than one line
}

TEST_F(FontTest, MissingFontIsTheSourcesCodeOne) {
    DRAVCommon::CDataFileFactoryMemory empty;
    EXPECT_DRAV_CODE(CUIFontDraw(empty, 12, 100), DRAV_ERR_BAD_DATA);
}

}  // namespace

namespace {

TEST_F(FontTest, ABoxLeftOfTheWindowWrapsAtItsOwnWidthAndLinesKeepTheirHeightAtAnyScale) {
    const std::string text = "The ferry waits at the landing while the river runs high under the willows.";
    CUIFontDraw scaled(m_source, 12, 150);
    CUISprite sprite(&m_wrapper, 150, nullptr);
    // A dialog wider than the window starts at x = -100: wrapped to 200 units, 300 pixels.
    const auto wrapped = scaled.RenderTextTexture(sprite, text, RECT{-100, 0, 100, 200});
    ASSERT_TRUE(wrapped);
    EXPECT_LE(wrapped->textRect.right, 300);
    EXPECT_GT(wrapped->textRect.bottom, 2 * scaled.GetLineHeight());  // several lines, in pixels at 150 %
    // A line is as high in UI units at 150 % as at 100 %, give or take rounding.
    CUIFontDraw plain(m_source, 12, 100);
    EXPECT_GT(plain.GetLineHeight(), 12);
    EXPECT_NEAR(scaled.GetLineHeight(), plain.GetLineHeight(), 1);
}

}  // namespace
