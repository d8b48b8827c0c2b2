// The widget base: hit edges, default answers, the info record, moving helpers,
// and the image widget and scroll bar built directly on it.

#include <gtest/gtest.h>

#include "support/expect_drav.h"
#include "ui/ui_image.h"
#include "ui/ui_scroll_bar.h"
#include "ui/ui_test_util.h"

namespace {

using namespace DRAVUI;
using QuillmereTest::ExpectRect;
using QuillmereTest::ProbeElement;

using ElementTest = QuillmereTest::UITest;

TEST_F(ElementTest, HitsExcludeTheRightAndBottomEdgesAndHiddenWidgets) {
    ProbeElement element(8, Config(), RECT{10, 10, 20, 20});
    int id = 0;
    CUIElement* hit = nullptr;
    const POINT inside{19, 19}, right{20, 15}, bottom{15, 20};
    EXPECT_TRUE(element.HitTest(&inside, &hit, &id));
    EXPECT_EQ(id, 8);
    EXPECT_EQ(hit, &element);
    EXPECT_FALSE(element.HitTest(&right, nullptr, nullptr));
    EXPECT_FALSE(element.HitTest(&bottom, nullptr, nullptr));
    element.SetFlag(UIF_SHOWN, false);
    EXPECT_FALSE(element.HitTest(&inside, nullptr, nullptr));
}

TEST_F(ElementTest, BaseAnswersInfoAndPlacement) {
    ProbeElement probe(3, Config(), RECT{0, 0, 5, 5});
    CUIElement& element = probe;
    EXPECT_EQ(element.CUIElement::OnMouse(MOUSE_PRESS, nullptr), ANSWER_CLICK);
    EXPECT_EQ(element.CUIElement::OnMouse(MOUSE_RIGHT_PRESS, nullptr), ANSWER_ALT_CLICK);
    EXPECT_EQ(element.CUIElement::OnMouse(MOUSE_MOVE, nullptr), ANSWER_NONE);
    element.SetFlag(UIF_ALT_IS_CLICK, true);
    EXPECT_EQ(element.CUIElement::OnMouse(MOUSE_DOUBLE_CLICK, nullptr), ANSWER_CLICK);

    element.SetInfoNoAction("Sword", "Sharp");
    EXPECT_EQ(element.GetInfo().kind, INFO_NOTHING);
    element.SetInfo("Sword", "Sharp", "Wield");
    EXPECT_EQ(element.GetInfo().kind, INFO_ACTION);
    EXPECT_EQ(element.GetInfo().subjectId, 3);
    element.GetInfo().hitPointFraction = 0.25;
    element.GetInfo().Clear();
    EXPECT_EQ(element.GetInfo().kind, INFO_NOTHING);
    EXPECT_TRUE(element.GetInfo().actionHint.empty());
    EXPECT_EQ(element.GetInfo().hitPointFraction, 0.25);

    element.CenterOn(POINT{10, 10});
    ExpectRect(*element.GetRect(), 8, 8, 13, 13);
    element.MoveTo(POINT{-4, 2});
    element.SetSize(30, 7);
    ExpectRect(*element.GetRect(), -4, 2, 26, 9);

    CUIElement* target = &element;
    EXPECT_FALSE(element.FindScrollTarget(nullptr, &target));
    EXPECT_EQ(target, nullptr);
    EXPECT_DRAV_CODE(element.GetScrollBar(nullptr, nullptr), DRAV_ERR_OUT_OF_RANGE);
}

TEST_F(ElementTest, AnImageIsFramedAndOnlyHitOnceItsImageIsKnown) {
    CUIImage unknown(Config(), 0, 4);
    unknown.SetRect(RECT{0, 0, 34, 34});
    const POINT inside{5, 5};
    EXPECT_FALSE(unknown.HitTest(&inside, nullptr, nullptr));

    CUIImage icon(Config(), 12, 4);
    icon.SetRect(RECT{0, 0, 34, 34});
    icon.Realize(&m_wrapper, Help());
    EXPECT_TRUE(icon.HitTest(&inside, nullptr, nullptr));
    auto sprite = Sprite();
    icon.Draw(&m_wrapper, Help(), sprite, nullptr);
    EXPECT_EQ(sprite.GetPlainCommands().size(), 4u);
    ASSERT_EQ(sprite.GetTexturedCommands().size(), 1u);
    EXPECT_EQ(sprite.GetTexturedCommands()[0].texture, Image(12));
    ExpectRect(sprite.GetTexturedCommands()[0].dest, 1, 1, 33, 33);

    CUIImage picture(Config(), QuillmereTest::SolidPng(6, 6, 0xFF00FF00));
    picture.Realize(&m_wrapper, Help());
    EXPECT_EQ(picture.GetImageId(), 1000);
}

TEST_F(ElementTest, ScrollBarPositionFollowsTheMouseAndTheThumbFollowsThePosition) {
    CUIScrollBar bar(Config());
    bar.SetRect(RECT{0, 100, 24, 200});
    bar.m_range = 10;
    bar.SetFromMouse(105);
    EXPECT_EQ(bar.m_position, 0u);
    bar.SetFromMouse(195);
    EXPECT_EQ(bar.m_position, 10u);
    bar.SetFromMouse(150);
    EXPECT_EQ(bar.m_position, 5u);
    bar.UpdateThumb();
    ExpectRect(*bar.GetThumb().GetRect(), 1, 140, 23, 160);
    bar.m_position = 10;
    bar.UpdateThumb();
    EXPECT_EQ(bar.GetThumb().GetRect()->bottom, 199);

    bar.m_position = 1;
    bar.Scroll(-3);
    EXPECT_EQ(bar.m_position, 0u);
    bar.m_position = 9;
    bar.Scroll(3);
    EXPECT_EQ(bar.m_position, 10u);

    // A press jumps and starts a drag; a drag move follows.
    const POINT top{5, 100}, middle{5, 150};
    EXPECT_EQ(bar.OnMouse(MOUSE_PRESS, &top), ANSWER_DRAG);
    EXPECT_EQ(bar.m_position, 0u);
    EXPECT_EQ(bar.OnMouse(MOUSE_DRAG_MOVE, &middle), ANSWER_REFRESH);
    EXPECT_EQ(bar.m_position, 5u);
    EXPECT_EQ(bar.OnMouse(MOUSE_WHEEL, &middle), ANSWER_NONE);

    bar.m_range = 0;
    bar.OnMouse(MOUSE_PRESS, &middle);
    EXPECT_EQ(bar.m_position, 0u);
    EXPECT_EQ(bar.GetThumb().GetRect()->top, 101);
}

}  // namespace
