// Text panels: splitting a text into lines, which lines a frame draws and where,
// and the message window over the message log.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "ui/product_title.h"
#include "ui/ui_text_element.h"
#include "ui/ui_test_util.h"

namespace {

using namespace DRAVUI;
using Lines = std::deque<std::string>;

class TextElementTest : public QuillmereTest::UITest {
protected:
    // The line index of each text quad of a frame, in the order they were queued,
    // with each quad's top.
    std::vector<std::pair<int, LONG>> DrawnLines(CUIBaseTextElement& text) {
        auto sprite = Sprite();
        text.Draw(&m_wrapper, Help(), sprite, nullptr);
        std::vector<std::pair<int, LONG>> drawn;
        for (const auto& command : sprite.GetTexturedCommands())
            for (const auto& [index, slot] : text.GetLineSlots())
                if (slot && slot->texture == command.texture) drawn.emplace_back(index, command.dest.top);
        return drawn;
    }
};

TEST_F(TextElementTest, LineAndGameNameAreWholeWordsOfTheText) {
    CUITextElement text(Config(), 0, "Welcome  to\tGAMENAME LINE LINE Enjoy", false, true);
    EXPECT_EQ(text.GetOwnLines(), (Lines{"Welcome to " + GetProductTitle(), "", "Enjoy"}));
    text.SetText("LINES of GAMENAMEs LINE");
    EXPECT_EQ(text.GetOwnLines(), (Lines{"LINES of GAMENAMEs"}));
    text.SetText("");
    EXPECT_TRUE(text.GetOwnLines().empty());
    text.SetRect(RECT{0, 0, 200, 100});
    auto sprite = Sprite();
    text.Draw(&m_wrapper, Help(), sprite, nullptr);
    EXPECT_TRUE(sprite.GetTexturedCommands().empty());
    EXPECT_EQ(sprite.GetPlainCommands().size(), 4u);
}

TEST_F(TextElementTest, NotFromTopTheLastLineSitsAtTheBottomAndEarlierOnesAboveIt) {
    CUITextElement text(Config(), 0, "one LINE two LINE three LINE four LINE five", true, false);
    text.SetRect(RECT{0, 0, 200, 400});
    EXPECT_EQ(text.GetScrollBarPointer()->m_range, 4u);
    EXPECT_EQ(text.GetScrollBarPointer()->m_position, 4u);
    const auto drawn = DrawnLines(text);
    ASSERT_EQ(drawn.size(), 5u);
    for (std::size_t i = 0; i < drawn.size(); ++i) EXPECT_EQ(drawn[i].first, 4 - static_cast<int>(i));
    for (std::size_t i = 1; i < drawn.size(); ++i) EXPECT_LT(drawn[i].second, drawn[i - 1].second);

    // From the top, scrolled by one: lines 1 to 4 downward.
    CUITextElement fromTop(Config(), 0, "one LINE two LINE three LINE four LINE five", true, true);
    fromTop.SetRect(RECT{0, 0, 200, 400});
    fromTop.GetScrollBarPointer()->Scroll(1);
    const auto down = DrawnLines(fromTop);
    ASSERT_EQ(down.size(), 4u);
    EXPECT_EQ(down.front().first, 1);
    EXPECT_EQ(down.front().second, 2);
    EXPECT_GT(down.back().second, down.front().second);
}

TEST_F(TextElementTest, TheMessageWindowOverAFullLogDrawsOnlyTheLastLinesNewestAtTheBottom) {
    Lines log;
    for (int i = 1; i <= 400; ++i) log.push_back("Message " + std::to_string(i));
    CUIMessageWindow window(30, &log, true, Config());
    window.SetRect(RECT{0, 0, 300, 120});
    EXPECT_EQ(window.GetInfo().title, "Messages");
    EXPECT_EQ(window.GetInfo().actionHint, "Show All");
    EXPECT_EQ(window.GetInfo().subjectId, 30);

    const auto drawn = DrawnLines(window);
    ASSERT_GE(drawn.size(), 3u);
    ASSERT_LT(drawn.size(), 20u);
    for (std::size_t i = 0; i < drawn.size(); ++i) EXPECT_EQ(drawn[i].first, 399 - static_cast<int>(i));
    for (std::size_t i = 1; i < drawn.size(); ++i) EXPECT_LT(drawn[i].second, drawn[i - 1].second);
    // Only the lines of this frame keep their rendered text.
    EXPECT_EQ(window.GetLineSlots().size(), drawn.size());
    EXPECT_EQ(window.GetLineSlots().begin()->first, 400 - static_cast<int>(drawn.size()));

    // A message too long for one row takes the room of two.
    log.push_back("A heron lifts from the reeds, and somewhere beyond the ferry a bell rings twice across the water");
    const auto wrapped = DrawnLines(window);
    ASSERT_EQ(wrapped.front().first, 400);
    EXPECT_EQ(wrapped.size(), drawn.size() - 1);

    // A conversation's line in the log ends its lines at the markers.
    log.push_back("Hollis the Innkeeper : Let me write your company in the book: LINE - Wren (Common 1) LINE ");
    const auto marked = DrawnLines(window);
    ASSERT_EQ(marked.front().first, 401);
    EXPECT_EQ(window.GetLineSlots().at(401)->text,
              "Hollis the Innkeeper : Let me write your company in the book:\n- Wren (Common 1)");
}

TEST_F(TextElementTest, AScrollPositionPastAShortenedListShowsItsLastLine) {
    Lines shown{"a", "b", "c", "d", "e"};
    CUIBaseTextElement text(0, true, false, Config());
    text.SetRect(RECT{0, 0, 200, 200});
    text.SetLines(&shown);
    shown.resize(2);
    const auto drawn = DrawnLines(text);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn.front().first, 1);
}

TEST_F(TextElementTest, ATextElementTakesTheMouseEvenWithoutAnIdAndHighlightsWhenAsked) {
    auto text = std::make_shared<CUITextElement>(Config(), 0, "Hello", false, true);
    text->SetRect(RECT{0, 0, 200, 60});
    m_manager.AddElement(text);
    EXPECT_TRUE(Mouse(MOUSE_PRESS, 20, 20));
    EXPECT_EQ(DrainEvents(), (std::vector<std::string>{"1(0)", "0"}));
    // No scroll bar: the wheel is not taken.
    EXPECT_FALSE(Mouse(MOUSE_WHEEL, 20, 20, 1));

    text->SetFlag(UIF_TEXT_HOVER, true);
    const POINT over{20, 20};
    auto sprite = Sprite();
    text->Draw(&m_wrapper, Help(), sprite, &over);
    EXPECT_EQ(sprite.GetPlainCommands()[0].colour, 0xC0404040u);
}

}  // namespace
