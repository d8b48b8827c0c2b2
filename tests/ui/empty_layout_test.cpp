// Widgets laid out with no room: zero and negative rectangles, lists of no rows,
// scroll bars too short for their end zones. They draw nothing inside and never
// divide by zero.

#include <gtest/gtest.h>

#include <deque>

#include "support/expect_drav.h"
#include "ui/ui_background.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_image.h"
#include "ui/ui_list_element.h"
#include "ui/ui_static_text.h"
#include "ui/ui_test_util.h"
#include "ui/ui_text_element.h"

namespace {

using namespace DRAVUI;
using QuillmereTest::ProbeElement;

using EmptyLayoutTest = QuillmereTest::UITest;

TEST_F(EmptyLayoutTest, WidgetsWithoutRoomQueueNothing) {
    const std::deque<std::string> log{"The ferry is gone."};
    std::vector<std::shared_ptr<CUIElement>> widgets{
        std::make_shared<CUITextButton>(1, "Rest", Config()),
        std::make_shared<CUIImageButton>(Config(), 2, 12),
        std::make_shared<CUICheckButton>(Config(), 3, "Sound", true),
        std::make_shared<CUIStaticText>("Name", 4, Config()),
        std::make_shared<CUIImage>(Config(), 12, 5),
        std::make_shared<CUIImageBackground>(Config(), 9, 0xFFFFFFFF),
        std::make_shared<CUITextElement>(Config(), 6, "Some LINE text", true, false),
        std::make_shared<CUIMessageWindow>(7, &log, false, Config()),
    };
    const POINT mouse{-3, -3};
    for (const RECT& rect : {RECT{10, 10, 10, 10}, RECT{-2, -2, -6, -9}}) {
        for (auto& widget : widgets) {
            widget->SetRect(rect);
            widget->Realize(&m_wrapper, Help());
            auto sprite = Sprite();
            widget->Draw(&m_wrapper, Help(), sprite, &mouse);
            EXPECT_TRUE(sprite.GetTexturedCommands().empty()) << typeid(*widget).name();
            if (rect.right < rect.left) {
                EXPECT_TRUE(sprite.GetPlainCommands().empty()) << typeid(*widget).name();
            }
        }
    }
    // Two units high: a frame, but no room for a line of text inside it.
    auto text = std::make_shared<CUITextElement>(Config(), 6, "Some LINE text", false, true);
    text->SetRect(RECT{0, 0, 100, 3});
    auto sprite = Sprite();
    text->Draw(&m_wrapper, Help(), sprite, nullptr);
    EXPECT_TRUE(sprite.GetTexturedCommands().empty());
}

TEST_F(EmptyLayoutTest, ListsOfNoRowsAndScrollBarsOverEmptyListsStayStill) {
    CUIListElement noHeight(Config(), 1, "", 0, 2, 48);
    noHeight.SetRect(RECT{0, 0, 120, 200});
    noHeight.AddCell(0, std::make_shared<ProbeElement>(2, Config(), RECT{0, 0, 48, 48}));
    EXPECT_DRAV_CODE(noHeight.AddCell(5, std::make_shared<ProbeElement>(3, Config(), RECT{0, 0, 48, 48})),
                     DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(noHeight.RowsInView(), 0);
    EXPECT_EQ(noHeight.CellAt(POINT{10, 50}), nullptr);
    auto sprite = Sprite();
    noHeight.Draw(&m_wrapper, Help(), sprite, nullptr);

    CUIListElement flat(Config(), 1, "Empty", 48, 1, 48);
    flat.SetRect(RECT{0, 0, 72, 10});
    EXPECT_EQ(flat.RowsInView(), 0);
    const POINT below{5, 12};
    EXPECT_FALSE(flat.FindScrollTarget(&below, nullptr));

    CUIListElement empty(Config(), 0, "", 48, 1, 48);
    empty.SetRect(RECT{0, 0, 72, 200});
    CUIScrollBar& bar = empty.ScrollBar();
    const POINT onBar{60, 100};
    EXPECT_EQ(bar.OnMouse(MOUSE_PRESS, &onBar), ANSWER_DRAG);
    EXPECT_EQ(bar.m_position, 0u);
    bar.Scroll(5);
    EXPECT_EQ(bar.m_position, 0u);

    // Shorter than its two end zones: only the ends can be chosen.
    CUIScrollBar shortBar(Config());
    shortBar.SetRect(RECT{0, 0, 24, 20});
    shortBar.m_range = 6;
    for (int y = -5; y <= 25; ++y) {
        shortBar.SetFromMouse(y);
        EXPECT_TRUE(shortBar.m_position == 0 || shortBar.m_position == 6) << y;
    }
    shortBar.m_position = 6;
    shortBar.UpdateThumb();
    EXPECT_EQ(shortBar.GetThumb().GetRect()->top, 1);
}

}  // namespace
