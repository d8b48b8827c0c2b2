// The button look and answers on the recording device: which image a hovered or
// selected button shows, labels, the check box and the colour swatch.

#include <gtest/gtest.h>

#include "support/expect_drav.h"
#include "ui/ui_button.h"
#include "ui/ui_test_util.h"

namespace {

using namespace DRAVUI;
using QuillmereTest::ExpectRect;

class ButtonTest : public QuillmereTest::UITest {
protected:
    ButtonTest() {
        for (int image = 1; image <= 12; ++image) Help().LoadImage(&m_wrapper, image);
    }

    // The textures of the button's frame under the mouse at its centre, or not.
    std::vector<std::shared_ptr<DRAVCommon::CXPTexture>> Textures(CUIElement& button, bool hovered,
                                                                  std::vector<SpriteCommand>* plain = nullptr) {
        button.Realize(&m_wrapper, Help());
        const RECT r = *button.GetRect();
        const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, away{-50, -50};
        auto sprite = Sprite();
        button.Draw(&m_wrapper, Help(), sprite, hovered ? &centre : &away);
        if (plain) *plain = sprite.GetPlainCommands();
        std::vector<std::shared_ptr<DRAVCommon::CXPTexture>> textures;
        for (const auto& command : sprite.GetTexturedCommands()) textures.push_back(command.texture);
        return textures;
    }
};

TEST_F(ButtonTest, AHoveredButtonShowsTheFaceOfItsProportion) {
    const struct {
        LONG w, h;
        int image;
    } cases[] = {{192, 32, 1}, {64, 32, 3}, {48, 48, 4}, {100, 40, 3}};
    for (const auto& c : cases) {
        CUIImageButton button(Config(), 1, 0);
        button.SetRect(RECT{0, 0, c.w, c.h});
        const auto textures = Textures(button, true);
        ASSERT_EQ(textures.size(), 1u) << c.w << "x" << c.h;
        EXPECT_EQ(textures[0], Image(c.image)) << c.w << "x" << c.h;
    }
}

TEST_F(ButtonTest, SelectionShowsGreenOrTheSelectedImage) {
    CUIImageButton button(Config(), 1, 0);
    button.SetRect(RECT{0, 0, 64, 64});
    std::vector<SpriteCommand> plain;
    EXPECT_TRUE(Textures(button, false, &plain).empty());
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[0].colour, 0xFFFFFFFFu);
    button.SetFlag(UIF_SELECTED, true);
    Textures(button, false, &plain);
    ASSERT_EQ(plain.size(), 5u);
    EXPECT_EQ(plain[0].colour, 0x4000FF00u);
    EXPECT_EQ(Textures(button, true), std::vector{Image(8)});
    button.SetFlag(UIF_SHOW_SELECTED_IMAGE, true);
    EXPECT_EQ(Textures(button, false), std::vector{Image(8)});
}

TEST_F(ButtonTest, ABlinkingButtonTogglesToItsBrightImageAtMostTwiceASecond) {
    CUIImageButton button(Config(), 1, 0);
    button.SetRect(RECT{0, 0, 64, 64});
    button.SetFlag(UIF_BLINK, true);
    // The first frame is more than 500 ms after the start of the clock: the bright phase.
    EXPECT_EQ(Textures(button, false), std::vector{Image(6)});
    // Drawn again at once, it stays in that phase.
    EXPECT_EQ(Textures(button, false), std::vector{Image(6)});
    EXPECT_EQ(Textures(button, true), std::vector{Image(4)});
}

TEST_F(ButtonTest, TextButtonLabelTurnsBlackUnderTheMouse) {
    CUITextButton button(5, "Rest", Config());
    button.SetRect(RECT{0, 0, 192, 32});
    auto sprite = Sprite();
    const POINT over{10, 10};
    button.Realize(&m_wrapper, Help());
    button.Draw(&m_wrapper, Help(), sprite, &over);
    ASSERT_EQ(sprite.GetTexturedCommands().size(), 2u);
    EXPECT_EQ(sprite.GetTexturedCommands()[1].colour, 0xFF000000u);
    // Centred in the box shrunk by 2.
    const RECT label = sprite.GetTexturedCommands()[1].dest;
    EXPECT_NEAR(label.left + label.right, 192, 1);
    EXPECT_EQ(button.OnMouse(MOUSE_RIGHT_PRESS, &over), ANSWER_CLICK);
    button.SetFlag(UIF_ALT_IS_CLICK, false);
    EXPECT_EQ(button.OnMouse(MOUSE_RIGHT_PRESS, &over), ANSWER_ALT_CLICK);
    EXPECT_EQ(button.OnMouse(MOUSE_RELEASE, &over), ANSWER_NONE);
    button.SetFlag(UIF_SHOWN, false);
    auto hidden = Sprite();
    button.Draw(&m_wrapper, Help(), hidden, &over);
    EXPECT_TRUE(hidden.GetPlainCommands().empty() && hidden.GetTexturedCommands().empty());
}

TEST_F(ButtonTest, ImageButtonsDrawTheirImageStretchedOrAtNaturalSize) {
    CUIImageButton icon(Config(), 2, 12);
    icon.SetRect(RECT{0, 0, 48, 48});
    EXPECT_EQ(Textures(icon, false), std::vector{Image(12)});
    icon.SetFlag(UIF_CENTRED, true);
    auto sprite = Sprite();
    icon.Draw(&m_wrapper, Help(), sprite, nullptr);
    ExpectRect(sprite.GetTexturedCommands()[0].dest, 8, 8, 40, 40);

    CUIImageButton picture(Config(), 3, QuillmereTest::SolidPng(10, 6, 0xFF0000FF));
    picture.SetRect(RECT{0, 0, 48, 48});
    picture.Realize(&m_wrapper, Help());
    EXPECT_EQ(picture.GetImageId(), 1000);
    auto stretched = Sprite();
    picture.Draw(&m_wrapper, Help(), stretched, nullptr);
    ExpectRect(stretched.GetTexturedCommands()[0].dest, 1, 1, 47, 47);
}

TEST_F(ButtonTest, CheckBoxTogglesOnEveryPressAndShowsTheTickInItsBox) {
    CUICheckButton check(Config(), 9, "Sound", false);
    check.SetRect(RECT{0, 0, 120, 24});
    const POINT over{50, 12};
    EXPECT_EQ(check.OnMouse(MOUSE_PRESS, &over), ANSWER_CLICK);
    EXPECT_EQ(check.OnMouse(MOUSE_DOUBLE_CLICK, &over), ANSWER_CLICK);
    EXPECT_FALSE(check.m_checked);
    check.SetFlag(UIF_ALT_IS_CLICK, false);
    EXPECT_EQ(check.OnMouse(MOUSE_RIGHT_PRESS, &over), ANSWER_ALT_CLICK);
    EXPECT_FALSE(check.m_checked);
    check.SetFlag(UIF_ALT_IS_CLICK, true);
    EXPECT_EQ(check.OnMouse(MOUSE_RIGHT_PRESS, &over), ANSWER_CLICK);
    ASSERT_TRUE(check.m_checked);

    check.Realize(&m_wrapper, Help());
    auto sprite = Sprite();
    check.Draw(&m_wrapper, Help(), sprite, nullptr);
    const auto& textured = sprite.GetTexturedCommands();
    ASSERT_EQ(textured.size(), 2u);
    EXPECT_EQ(textured[0].texture, Image(11));
    // Inside r = {1,1,119,23}: the box {2, 4, 18, 20} shrunk by 2.
    ExpectRect(textured[0].dest, 4, 6, 16, 18);
    EXPECT_GE(textured[1].dest.left, 19);

    check.m_label.clear();
    auto failing = Sprite();
    EXPECT_DRAV_CODE(check.Draw(&m_wrapper, Help(), failing, nullptr), DRAV_ERR_UNEXPECTED);
}

TEST_F(ButtonTest, ColourButtonFillsWithItsRedGreenBlueBytes) {
    CUIColorButton red(Config(), 4, 0x000000FF);
    EXPECT_EQ(red.GetSwatchColour(), 0xFFFF0000u);
    red.SetRect(RECT{0, 0, 20, 20});
    auto sprite = Sprite();
    red.Draw(&m_wrapper, Help(), sprite, nullptr);
    ASSERT_EQ(sprite.GetPlainCommands().size(), 9u);
    ExpectRect(sprite.GetPlainCommands().back().dest, 4, 4, 16, 16);
    EXPECT_EQ(sprite.GetPlainCommands().back().colour, 0xFFFF0000u);
    red.SetFlag(UIF_SELECTED, true);
    auto selected = Sprite();
    red.Draw(&m_wrapper, Help(), selected, nullptr);
    ASSERT_EQ(selected.GetPlainCommands().size(), 17u);
    EXPECT_EQ(selected.GetPlainCommands()[0].colour, 0xFF80FF80u);
}

}  // namespace
