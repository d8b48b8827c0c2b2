// Static text: its look under the mouse and the keys that edit it.

#include <gtest/gtest.h>

#include "platform/win32/virtual_keys.h"
#include "ui/ui_static_text.h"
#include "ui/ui_test_util.h"

namespace {

using namespace DRAVUI;

using StaticTextTest = QuillmereTest::UITest;

void Type(CUIStaticText& field, std::initializer_list<std::uint32_t> keys, bool shift = false) {
    for (std::uint32_t key : keys) field.OnKey(key, shift);
}

TEST_F(StaticTextTest, KeysEditTheTextAndNothingElseDoes) {
    CUIStaticText field("", 0, Config());
    Type(field, {VK_BACK});
    EXPECT_EQ(field.m_text, "");
    Type(field, {'A', 'L', 'D', VK_SPACE, '5', VK_SUBTRACT, VK_OEM_MINUS});
    Type(field, {'5', 'R', VK_SUBTRACT}, true);
    EXPECT_EQ(field.m_text, "ald 5--R_");
    // Keypad digits, punctuation, arrows, delete, enter and codes past the key range.
    Type(field, {0x65, 0xBB, 0xBE, 0x25, 0x2E, 0x0D, 0x1B, 0x141, 0xFFFFFF30});
    Type(field, {0x60, 0x6B}, true);
    EXPECT_EQ(field.m_text, "ald 5--R_");
    Type(field, {VK_BACK, VK_BACK});
    EXPECT_EQ(field.m_text, "ald 5--");
}

TEST_F(StaticTextTest, TypingStopsAtTheFieldsLength) {
    CUIStaticText field("", 0, Config());
    for (int i = 0; i < 100; ++i) field.OnKey('A' + i % 26, false);
    EXPECT_EQ(field.m_text.size(), CUIStaticText::kDefaultMaxLength);
    field.SetMaxLength(4);
    Type(field, {VK_BACK});
    EXPECT_EQ(field.m_text.size(), CUIStaticText::kDefaultMaxLength - 1);
    field.m_text = "abc";
    Type(field, {'D', 'E', 'F'}, true);
    EXPECT_EQ(field.m_text, "abcD");
    Type(field, {VK_BACK, '9'});
    EXPECT_EQ(field.m_text, "abc9");
}

TEST_F(StaticTextTest, HoveredWithBackgroundItShowsBlackTextOnWhiteAndClicksWithItsId) {
    CUIStaticText label("Save one", 21, Config());
    label.SetRect(RECT{0, 0, 120, 20});
    label.SetFlag(UIF_BACKGROUND | UIF_FRAMED, true);
    const POINT over{10, 10};
    auto sprite = Sprite();
    label.Draw(&m_wrapper, Help(), sprite, &over);
    ASSERT_EQ(sprite.GetPlainCommands().size(), 5u);
    EXPECT_EQ(sprite.GetPlainCommands()[0].colour, 0xFFFFFFFFu);
    EXPECT_EQ(sprite.GetPlainCommands()[1].colour, 0xFF808080u);
    ASSERT_EQ(sprite.GetTexturedCommands().size(), 1u);
    EXPECT_EQ(sprite.GetTexturedCommands()[0].colour, 0xFF000000u);
    EXPECT_EQ(sprite.GetTexturedCommands()[0].dest.left, 2);

    m_manager.AddElement(std::make_shared<CUIStaticText>("Save one", 21, Config()));
    m_manager.GetElements()[0]->SetRect(RECT{0, 0, 120, 20});
    EXPECT_TRUE(Mouse(MOUSE_PRESS, 10, 10));
    EXPECT_EQ(DrainEvents(), (std::vector<std::string>{"1(21)", "0"}));
}

TEST_F(StaticTextTest, TallTextIsCutAtTheBottomAndTheSmallFontIsSmaller) {
    const std::string words = "Reeds bend over the water where the old ferry once crossed to the far bank";
    CUIStaticText text(words, 0, Config());
    text.SetRect(RECT{0, 0, 60, 20});
    auto sprite = Sprite();
    text.Draw(&m_wrapper, Help(), sprite, nullptr);
    ASSERT_EQ(sprite.GetTexturedCommands().size(), 1u);
    const RECT cut = sprite.GetTexturedCommands()[0].dest;
    EXPECT_EQ(cut.top, 0);
    EXPECT_EQ(cut.bottom, 20);

    CUIStaticText small(words, 0, Config());
    small.SetRect(RECT{0, 0, 600, 40});
    small.SetFlag(UIF_SMALL_FONT | UIF_ONE_LINE, true);
    CUIStaticText large(words, 0, Config());
    large.SetRect(RECT{0, 0, 600, 40});
    large.SetFlag(UIF_ONE_LINE, true);
    auto a = Sprite(), b = Sprite();
    small.Draw(&m_wrapper, Help(), a, nullptr);
    large.Draw(&m_wrapper, Help(), b, nullptr);
    ASSERT_EQ(a.GetTexturedCommands().size(), 1u);
    ASSERT_EQ(b.GetTexturedCommands().size(), 1u);
    EXPECT_LT(Width(a.GetTexturedCommands()[0].dest), Width(b.GetTexturedCommands()[0].dest));
}

}  // namespace
