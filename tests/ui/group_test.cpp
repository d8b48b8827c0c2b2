// Groups lay their children out in a column or a row; backgrounds never take the mouse.

#include <gtest/gtest.h>

#include "ui/ui_background.h"
#include "ui/ui_group.h"
#include "ui/ui_test_util.h"

namespace {

using namespace DRAVUI;
using QuillmereTest::ExpectRect;
using QuillmereTest::ProbeElement;

class GroupTest : public QuillmereTest::UITest {
protected:
    std::shared_ptr<ProbeElement> Probe(int id, LONG w, LONG h) {
        return std::make_shared<ProbeElement>(id, Config(), RECT{0, 0, w, h});
    }
};

TEST_F(GroupTest, ABorderedColumnGrowsAroundItsCaptionAndChildren) {
    CUIGroup stats("Stats", false, true, 0, 4, Config());
    ExpectRect(*stats.GetRect(), 0, 0, 10, 26);
    auto first = Probe(1, 100, 30), second = Probe(2, 80, 30);
    stats.AddChild(first);
    ExpectRect(*stats.GetRect(), 0, 0, 110, 56);
    ExpectRect(*first->GetRect(), 5, 21, 105, 51);
    stats.AddChild(second);
    ExpectRect(*stats.GetRect(), 0, 0, 110, 90);
    ExpectRect(*second->GetRect(), 15, 55, 95, 85);

    // Moving the group carries the children; a larger rectangle does not grow it.
    stats.SetRect(RECT{200, 100, 900, 900});
    ExpectRect(*stats.GetRect(), 200, 100, 310, 190);
    ExpectRect(*second->GetRect(), 215, 155, 295, 185);
}

TEST_F(GroupTest, TheLargeLayoutGivesCaptionsMoreRoom) {
    Config()->flags |= CUIConfig::LARGE_LAYOUT;
    CUIGroup stats("Stats", false, true, 0, 4, Config());
    ExpectRect(*stats.GetRect(), 0, 0, 10, 34);
    auto child = Probe(1, 100, 30);
    stats.AddChild(child);
    ExpectRect(*child->GetRect(), 5, 29, 105, 59);
}

TEST_F(GroupTest, ABorderlessRowCentresItsChildrenDownAndNestedGroupsFollow) {
    auto row = std::make_shared<CUIGroup>(Config(), "ignored without a border", true, false, 0);
    auto small = Probe(1, 20, 10), tall = Probe(2, 30, 40);
    row->AddChild(small);
    row->AddChild(tall);
    ExpectRect(*row->GetRect(), 0, 0, 51, 40);
    ExpectRect(*small->GetRect(), 0, 15, 20, 25);
    ExpectRect(*tall->GetRect(), 21, 0, 51, 40);

    CUIGroup column("", false, false, 0, 2, Config());
    column.AddChild(Probe(3, 80, 10));
    column.AddChild(row);
    ExpectRect(*row->GetRect(), 14, 12, 65, 52);
    ExpectRect(*small->GetRect(), 14, 27, 34, 37);
}

TEST_F(GroupTest, OnlyChildrenAreHitAndBackgroundsNever) {
    auto group = std::make_shared<CUIGroup>("Party", false, true, 0xFF102030, 4, Config());
    group->AddChild(Probe(11, 100, 30));
    group->SetFlag(UIF_BACKGROUND, true);
    auto background = std::make_shared<CUIBackground>(Config());
    background->FitAround({});
    ExpectRect(*background->GetRect(), 0, 0, 0, 0);
    background->FitAround({group, Probe(0, 300, 200)});
    ExpectRect(*background->GetRect(), 0, 0, 300, 200);
    auto behind = std::make_shared<ProbeElement>(12, Config(), RECT{0, 0, 300, 200});
    m_manager.AddElement(background);
    m_manager.AddElement(group);
    m_manager.AddElement(behind);

    int id = 0;
    const POINT onChild{50, 30}, onCaption{50, 8};
    EXPECT_TRUE(m_manager.HitTest(&onChild, nullptr, &id));
    EXPECT_EQ(id, 11);
    // Over the group's caption the mouse falls through to the widget added after it.
    EXPECT_TRUE(m_manager.HitTest(&onCaption, nullptr, &id));
    EXPECT_EQ(id, 12);

    auto sprite = Sprite();
    group->Draw(&m_wrapper, Help(), sprite, nullptr);
    const auto& plain = sprite.GetPlainCommands();
    ASSERT_GE(plain.size(), 6u);
    EXPECT_EQ(plain[0].colour, 0xFF102030u);
    EXPECT_EQ(plain[1].colour, 0xFF404040u);
    EXPECT_EQ(plain.back().colour, 0xFF336699u);
    // The caption is centred in the strip below the border.
    ASSERT_EQ(sprite.GetTexturedCommands().size(), 1u);
    const RECT caption = sprite.GetTexturedCommands()[0].dest;
    EXPECT_NEAR(caption.left + caption.right, 110, 1);
}

TEST_F(GroupTest, AnImageBackgroundDrawsItsTintedImage) {
    CUIImageBackground doll(Config(), 9, 0x14FFFFFF);
    doll.SetRect(RECT{0, 0, 208, 352});
    doll.Realize(&m_wrapper, Help());
    auto sprite = Sprite();
    doll.Draw(&m_wrapper, Help(), sprite, nullptr);
    ASSERT_EQ(sprite.GetTexturedCommands().size(), 1u);
    EXPECT_EQ(sprite.GetTexturedCommands()[0].texture, Image(9));
    EXPECT_EQ(sprite.GetTexturedCommands()[0].colour, 0x14FFFFFFu);
    const POINT inside{10, 10};
    EXPECT_FALSE(doll.HitTest(&inside, nullptr, nullptr));
}

}  // namespace
