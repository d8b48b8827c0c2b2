// The list element: rows in view, the scroll range, placing cells, empty slots,
// and clicks on cells through the UI manager.

#include <gtest/gtest.h>

#include "ui/ui_list_element.h"
#include "ui/ui_test_util.h"

namespace {

using namespace DRAVUI;
using QuillmereTest::ExpectRect;
using QuillmereTest::ProbeElement;
using Events = std::vector<std::string>;

class ListTest : public QuillmereTest::UITest {
protected:
    // Two columns of 48, rows of 48, 200 units high: three rows in view.
    std::shared_ptr<CUIListElement> MakeList(int id) {
        auto list = std::make_shared<CUIListElement>(Config(), id, "Pack", 48, 2, 48);
        ExpectRect(*list->GetRect(), 0, 0, 120, 16);
        list->SetRect(RECT{0, 0, 120, 200});
        return list;
    }
    std::shared_ptr<ProbeElement> Cell(int id) {
        return std::make_shared<ProbeElement>(id, Config(), RECT{0, 0, 48, 48});
    }
};

TEST_F(ListTest, TheScrollRangeCoversTheLongestColumn) {
    auto list = MakeList(0);
    EXPECT_EQ(list->RowsInView(), 3);
    for (int i = 0; i < 7; ++i) list->AddCell(0, Cell(i + 1));
    EXPECT_EQ(list->ScrollBar().m_range, 4u);
    // Shorter columns never shrink it.
    list->AddCell(1, Cell(20));
    EXPECT_EQ(list->ScrollBar().m_range, 4u);
    ExpectRect(*list->ScrollBar().GetRect(), 96, 16, 120, 200);
    list->ClearRows();
    list->AddCell(0, Cell(1));
    list->AddCell(0, Cell(2));
    EXPECT_EQ(list->ScrollBar().m_range, 0u);
}

TEST_F(ListTest, CellsArePlacedForTheScrollPositionAndEmptySlotsAreFramedDarkGrey) {
    auto list = MakeList(0);
    std::vector<std::shared_ptr<ProbeElement>> cells;
    for (int i = 0; i < 5; ++i) {
        cells.push_back(Cell(i + 1));
        list->AddCell(0, cells.back());
    }
    list->AddCell(1, Cell(30));
    auto sprite = Sprite();
    list->Draw(&m_wrapper, Help(), sprite, nullptr);
    ExpectRect(*cells[0]->GetRect(), 0, 16, 48, 64);
    ExpectRect(*cells[2]->GetRect(), 0, 112, 48, 160);
    int darkFrames = 0, cellFills = 0;
    for (const auto& command : sprite.GetPlainCommands()) {
        darkFrames += command.colour == 0xFF404040u;
        cellFills += command.colour == 0xFF336699u;
    }
    // Rows 1 and 2 of the second column are empty slots of four edges each.
    EXPECT_EQ(darkFrames, 8);
    EXPECT_EQ(cellFills, 4);

    list->ScrollBar().Scroll(1);
    auto next = Sprite();
    list->Draw(&m_wrapper, Help(), next, nullptr);
    ExpectRect(*cells[1]->GetRect(), 0, 16, 48, 64);
    ExpectRect(*cells[3]->GetRect(), 0, 112, 48, 160);
}

// The pile column of the inventory: one cell wide, headed by a container's name.
TEST_F(ListTest, ACaptionTooLongForTheStripIsCutOnOneLine) {
    const std::string name = "Boatwright's Strongbox";
    CUIListElement pile(Config(), 0, name, 48, 1, 48);
    pile.SetRect(RECT{100, 100, 172, 244});
    auto sprite = Sprite();
    pile.Draw(&m_wrapper, Help(), sprite, nullptr);
    ASSERT_FALSE(sprite.GetTexturedCommands().empty());
    const RECT cut = sprite.GetTexturedCommands().front().dest;  // the caption comes before the bar
    // One line within the list's width, below the frame's top line: nothing reaches
    // over the first slot.
    EXPECT_GE(cut.top, 100);
    EXPECT_LE(cut.bottom - cut.top, Help().LargeFont().GetLineHeight());
    EXPECT_GE(cut.left, 100);
    EXPECT_LE(cut.right, 172);
    const std::string shown = pile.GetShownCaption();
    ASSERT_GT(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_EQ(name.rfind(shown.substr(0, shown.size() - 3), 0), 0u) << shown;

    // A caption that fits is shown whole, and one with no room at all not at all.
    pile.SetCaption("Pile");
    pile.Draw(&m_wrapper, Help(), sprite, nullptr);
    EXPECT_EQ(pile.GetShownCaption(), "Pile");
    pile.SetRect(RECT{100, 100, 104, 244});
    pile.Draw(&m_wrapper, Help(), sprite, nullptr);
    EXPECT_EQ(pile.GetShownCaption(), "");
}

TEST_F(ListTest, AListTakingCellHitsSelectsTheClickedCellAndReportsItsId) {
    auto list = MakeList(0);
    list->SetFlag(UIF_LIST_TAKES_CELL_HITS, true);
    list->AddCell(0, Cell(41));
    list->AddCell(0, Cell(42));
    list->AddCell(1, Cell(43));
    m_manager.AddElement(list);
    list->SelectId(41);
    EXPECT_TRUE(Mouse(MOUSE_PRESS, 10, 70));
    EXPECT_EQ(DrainEvents(), (Events{"1(42)", "0"}));
    EXPECT_TRUE(list->CellAt(POINT{10, 70})->HasFlag(UIF_SELECTED));
    EXPECT_FALSE(list->CellAt(POINT{10, 20})->HasFlag(UIF_SELECTED));
    // Below the last row and over the caption: the list has no id, so nothing is hit.
    EXPECT_FALSE(Mouse(MOUSE_PRESS, 10, 150));
    EXPECT_FALSE(Mouse(MOUSE_PRESS, 10, 5));
    EXPECT_EQ(list->CellAt(POINT{10, 5}), nullptr);
}

TEST_F(ListTest, WithoutCellHitsTheCellItselfIsCalledAndTheListWithAnIdTakesItsEmptyArea) {
    auto list = MakeList(77);
    auto cell = Cell(42);
    list->AddCell(0, cell);
    m_manager.AddElement(list);
    EXPECT_TRUE(Mouse(MOUSE_PRESS, 10, 20));
    EXPECT_EQ(DrainEvents(), (Events{"1(42)", "0"}));
    EXPECT_FALSE(cell->HasFlag(UIF_SELECTED));
    EXPECT_EQ(cell->kindsSeen, std::vector<int>{MOUSE_PRESS});
    EXPECT_TRUE(Mouse(MOUSE_PRESS, 60, 150));
    EXPECT_EQ(DrainEvents(), (Events{"1(77)", "0"}));
}

TEST_F(ListTest, TheWheelScrollsTheRowsAndAPressOnTheBarDragsIt) {
    auto list = MakeList(0);
    std::vector<std::shared_ptr<ProbeElement>> cells;
    for (int i = 0; i < 6; ++i) {
        cells.push_back(Cell(i + 1));
        list->AddCell(0, cells.back());
    }
    m_manager.AddElement(list);
    EXPECT_TRUE(Mouse(MOUSE_WHEEL, 10, 100, 1));
    EXPECT_EQ(list->ScrollBar().m_position, 1u);
    // Before the next frame a press already finds the cell now shown there.
    DrainEvents();
    EXPECT_TRUE(Mouse(MOUSE_PRESS, 10, 20));
    EXPECT_EQ(DrainEvents(), (Events{"1(2)", "0"}));

    EXPECT_TRUE(Mouse(MOUSE_PRESS, 110, 199));
    EXPECT_EQ(DrainEvents(), (Events{"3(0)", "0"}));
    EXPECT_EQ(list->ScrollBar().m_position, 3u);
    EXPECT_TRUE(Mouse(MOUSE_MOVE, 110, 16));
    EXPECT_EQ(list->ScrollBar().m_position, 0u);
    EXPECT_TRUE(Mouse(MOUSE_RELEASE, 400, 400));
    EXPECT_EQ(DrainEvents(), (Events{"0", "4", "0"}));
}

}  // namespace
