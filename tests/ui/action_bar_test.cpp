// The action slots and the quick-action bar on the recording device: labels, the
// "Set Action" slots and their selection flag, a click or a drag by whether there
// is an icon, the drop it ends in, the stack count and names the module lacks.

#include <gtest/gtest.h>

#include <map>

#include "support/sample_game.h"
#include "ui/ui_action_element.h"
#include "ui/ui_action_window.h"
#include "ui/ui_test_util.h"

namespace {

using namespace DRAVUI;

// The application's side of the bar: quick actions per slot of one actor.
class QuickActions : public IQuickActionOwner {
public:
    explicit QuickActions(const QuillmereTest::SampleGame& game) : m_game(game) {}

    DRAV::CActor* GetSelectedActor() override { return m_game.Main().get(); }
    int GetQuickActionKind(const DRAV::CActor&, int slot) override { return kinds.count(slot) ? kinds[slot] : 0; }
    std::string GetQuickActionItem(const DRAV::CActor&, int slot) override { return names[slot]; }
    std::string GetQuickActionSpell(const DRAV::CActor&, int slot) override { return names[slot]; }
    int GetCurrentQuickAction(const DRAV::CActor&) override { return current; }
    const DRAV::CModule& GetModule() override { return m_game.Module(); }

    std::map<int, int> kinds;
    std::map<int, std::string> names;
    int current = 10;

private:
    const QuillmereTest::SampleGame& m_game;
};

class ActionBarTest : public QuillmereTest::UITest {
protected:
    QuillmereTest::SampleGame m_game;
    QuickActions m_actions{m_game};
};

TEST_F(ActionBarTest, SlotsAreLabelledByKeyAndOnlyTheAssignableOnesOfferSetAction) {
    m_actions.kinds = {{0, 2}, {1, 12}, {4, 10}, {5, 11}, {6, 10}, {7, 20}};
    m_actions.names = {{4, "river_tonic"}, {5, "no_such_spell"}, {6, ""}};
    m_actions.current = 1;
    CUIActionWindow2 bar(200, 210, &m_actions, nullptr, Config());
    bar.SetRect(RECT{10, 20, 58, 500});
    auto sprite = Sprite();
    bar.Draw(&m_wrapper, Help(), sprite, nullptr);
    ASSERT_TRUE(bar.IsFilled());

    EXPECT_EQ(bar.Slot(0).GetLabel(), "F1");
    EXPECT_EQ(bar.Slot(9).GetLabel(), "F10");
    QuillmereTest::ExpectRect(*bar.Slot(9).GetRect(), 10, 20 + 9 * 48, 58, 20 + 10 * 48);
    for (int i = 0; i < 10; ++i) {
        const ElementInfo& info = bar.Slot(i).GetInfo();
        // Slots 5 and 6 hold nothing the module knows: empty, without a hint.
        EXPECT_EQ(info.actionHint == "Set Action", i >= 4 && i != 5 && i != 6) << "slot " << i;
        EXPECT_EQ(bar.Slot(i).HasFlag(UIF_SELECTED), i == 1) << "slot " << i;
    }
    EXPECT_EQ(bar.Slot(0).GetInfo().icon, 67);
    EXPECT_EQ(bar.Slot(0).GetInfo().title, "Attack");
    EXPECT_EQ(bar.Slot(1).GetInfo().icon, 66);
    EXPECT_EQ(bar.Slot(4).GetInfo().title, m_game.Module().GetItemTemplates().at("river_tonic")->GetName());
    EXPECT_EQ(bar.Slot(4).GetInfo().icon, 17);  // a potion
    EXPECT_EQ(bar.Slot(4).GetInfo().kind, INFO_ACTION);
    EXPECT_EQ(bar.Slot(4).GetInfo().subjectId, 214);
    // A spell the module lacks and an empty item name both leave an empty slot with its label.
    for (int i : {5, 6}) {
        EXPECT_EQ(bar.Slot(i).GetInfo().icon, 0) << i;
        EXPECT_TRUE(bar.Slot(i).GetInfo().title.empty()) << i;
        EXPECT_EQ(bar.Slot(i).GetLabel(), "F" + std::to_string(i + 1));
    }
    EXPECT_EQ(bar.Slot(8).GetInfo().title, "Quick Action");

    // The bar's flag 4 reaches slots 4 to 9 only.
    bar.SetFlag(UIF_SELECTED, true);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(bar.Slot(i).HasFlag(UIF_SELECTED), i == 1 || i >= 4) << i;

    // Described once: a change shows only after the owner clears the filled flag.
    m_actions.kinds[0] = 12;
    bar.Draw(&m_wrapper, Help(), sprite, nullptr);
    EXPECT_EQ(bar.Slot(0).GetInfo().icon, 67);
    bar.ClearFilled();
    bar.Draw(&m_wrapper, Help(), sprite, nullptr);
    EXPECT_EQ(bar.Slot(0).GetInfo().icon, 66);

    // The hit test answers the slot under the point, else the bar.
    CUIElement* element = nullptr;
    int id = 0;
    const POINT onSlot3{30, 20 + 3 * 48 + 5};
    ASSERT_TRUE(bar.HitTest(&onSlot3, &element, &id));
    EXPECT_EQ(id, 213);
    EXPECT_EQ(element, &bar.Slot(3));
}

TEST_F(ActionBarTest, FlagEightDragsOnlyAnIconAndTheDropNamesItsTarget) {
    auto slot = std::make_shared<CUIActionElement2>(Config(), 5, false, false);
    slot->SetRect(RECT{100, 100, 148, 148});
    slot->SetFlag(UIF_DRAGGABLE, true);
    auto target = std::make_shared<QuillmereTest::ProbeElement>(7, Config(), RECT{300, 100, 348, 148});
    m_manager.AddElement(slot);
    m_manager.AddElement(target);

    // No icon: a press is a click.
    ASSERT_TRUE(Mouse(MOUSE_PRESS, 120, 120));
    EXPECT_EQ(DrainEvents(), (std::vector<std::string>{"1(5)", "0"}));

    slot->ShowAttack();
    ASSERT_TRUE(Mouse(MOUSE_PRESS, 120, 120));
    EXPECT_EQ(DrainEvents(), (std::vector<std::string>{"3(5)", "0"}));
    EXPECT_TRUE(slot->IsDragging());
    ASSERT_TRUE(Mouse(MOUSE_MOVE, 320, 125));
    QuillmereTest::ExpectRect(*slot->GetRect(), 296, 101, 344, 149);
    DrainEvents();
    ASSERT_TRUE(Mouse(MOUSE_RELEASE, 320, 125));
    EXPECT_EQ(DrainEvents(), (std::vector<std::string>{"5(5,7)", "0"}));
    EXPECT_FALSE(slot->IsDragging());
    QuillmereTest::ExpectRect(*slot->GetRect(), 100, 100, 148, 148);
}

TEST_F(ActionBarTest, ACountShowsFromTwoAndAPortraitShowsBothBars) {
    CUIActionElement2 slot(Config(), 100, true, false);
    slot.SetRect(RECT{0, 0, 48, 48});
    ElementInfo::DescribeThing(slot.GetInfo(), m_game.Main().get(), nullptr);
    auto textures = [&](int count) {
        slot.GetInfo().count = count;
        auto sprite = Sprite();
        slot.Draw(&m_wrapper, Help(), sprite, nullptr);
        return sprite;
    };
    const auto one = textures(1);
    const auto two = textures(2);
    // The count is one more text, placed at the bottom right inside the 1-unit margin.
    ASSERT_EQ(two.GetTexturedCommands().size(), one.GetTexturedCommands().size() + 1);
    const SpriteCommand& count = two.GetTexturedCommands().back();
    EXPECT_EQ(count.dest.right, 47);
    EXPECT_EQ(count.dest.bottom, 47);
    // Red hit-point and blue energy bars of the portrait.
    int red = 0, blue = 0;
    for (const auto& command : two.GetPlainCommands()) {
        red += command.colour == 0xFFFF0000u;
        blue += command.colour == 0xFF0000FFu;
    }
    EXPECT_EQ(red, 1);
    EXPECT_EQ(blue, 1);
}

}  // namespace
