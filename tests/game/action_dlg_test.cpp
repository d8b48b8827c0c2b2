#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app_test_access.h"
#include "dialog_test_support.h"
#include "game/dialogs/play/action_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "rules/module.h"
#include "rules/vocabulary/skill_id.h"
#include "support/sample_game.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "world/actor.h"
#include "world/game.h"
#include "world/item.h"
#include "world/order.h"

namespace {

using namespace DRAV;

DRAVUI::CUIElement* FindId(DRAVUI::CUIElement& element, int id) {
    if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(&element)) {
        for (const auto& child : group->GetChildren())
            if (auto* found = FindId(*child, id)) return found;
        return nullptr;
    }
    return element.GetId() == id ? &element : nullptr;
}

// The shell over a running game of Wren, selected, carrying a tonic, an energy
// draught and a wand she has no skill for, and knowing one spell.
class ActionDlgTest : public ::testing::Test {
protected:
    ActionDlgTest() {
        CDRAVAppTestAccess::SetEngine(app(), m_game.EnginePtr());
        CDRAVAppTestAccess::StartPlaying(app());
        CDRAVAppTestAccess::SetSelectedMember(app(), 0);
        for (const char* key : {"river_tonic", "still_water_draught", "ferry_wand"})
            wren().AddToBackpack(m_game.Module().CreateItem(key, 1, m_game.Game().NewThingId(5), 0), false);
        wren().AddSkill(SKILL_ELEMENTAL_MAGIC);
        wren().AddSpell(*m_game.Module().GetSpells().at("reed_lash"));
        app().UpdatePartyQuickActions(false);
    }
    CDRAVApp& app() { return m_shell.app; }
    CActor& wren() { return *m_game.Main(); }
    int BackpackId(const std::string& key) {
        const auto& backpack = wren().GetBackpackItems();
        for (std::size_t i = 0; i < backpack.size(); ++i)
            if (backpack[i]->GetTemplate().GetKey() == key) return CActionDlg::kBackpackBase + static_cast<int>(i);
        return -1;
    }
    bool DoneEnabled() {
        for (const auto& element : app().GetUIManager().GetElements())
            if (auto* done = FindId(*element, CActionDlg::kDone)) return done->HasFlag(DRAVUI::UIF_SHOWN);
        ADD_FAILURE() << "no Done button";
        return false;
    }

    QuillmereTest::ShellOnSample m_shell;
    QuillmereTest::SampleGame m_game;
};

TEST_F(ActionDlgTest, F3ChoosesTheEnergyDraughtAndDoneUsesItAtOnce) {
    app().OnKeyDown(VK_F1 + 2, false);
    auto dialog = std::dynamic_pointer_cast<CActionDlg>(app().GetCurrentDialog());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetTitle(), "Wren - Select Action");
    EXPECT_FALSE(DoneEnabled());

    EXPECT_FALSE(dialog->OnButton(BackpackId("still_water_draught")));
    EXPECT_TRUE(DoneEnabled());
    EXPECT_TRUE(dialog->OnButton(CActionDlg::kDone));
    app().CloseDialog(CActionDlg::kDone);
    EXPECT_EQ(app().GetCurrentDialog(), nullptr);

    ASSERT_EQ(wren().GetOrders().size(), 1u);
    const auto* use = dynamic_cast<const CUseOrder*>(wren().GetOrders().front().get());
    ASSERT_NE(use, nullptr);
    EXPECT_EQ(use->thing, FindItemByTemplateName(wren().GetBackpackItems(), "still_water_draught")->GetId());
    EXPECT_EQ(app().GetQuickActionItem(wren(), 3), "still_water_draught");
    EXPECT_EQ(app().GetCurrentQuickAction(wren()), CDRAVActorInfo::kNoSlot);
}

TEST_F(ActionDlgTest, AnItemThatCannotBeUsedLeavesNothingChosenAndDropsTheAbility) {
    CActionDlg dialog(&app(), wren(), 6);
    EXPECT_EQ(dialog.GetTitle(), "Wren - Select Quick Action 7");
    app().SetDialog(false, std::shared_ptr<CDRAVDlg>(&dialog, [](CDRAVDlg*) {}));
    EXPECT_FALSE(dialog.OnButton(CActionDlg::kAbilityBase));
    ASSERT_NE(dialog.GetChosenAbility(), nullptr);
    EXPECT_TRUE(DoneEnabled());
    EXPECT_FALSE(dialog.OnButton(BackpackId("ferry_wand")));
    EXPECT_EQ(dialog.GetChosenAbility(), nullptr);
    EXPECT_EQ(dialog.GetChosenItem(), nullptr);
    EXPECT_FALSE(DoneEnabled());
    app().CloseDialog(CActionDlg::kCancel);
}

TEST_F(ActionDlgTest, HelpOpensOverTheDialogWhichComesBackWithItsChoice) {
    auto dialog = std::make_shared<CActionDlg>(&app(), wren(), 2);
    app().SetDialog(false, dialog);
    dialog->OnButton(BackpackId("river_tonic"));
    int result = -1;
    EXPECT_FALSE(dialog->OnKey(static_cast<int>(VK_OEM_2), false, &result));
    EXPECT_EQ(app().GetCurrentDialog()->GetTitle(), "Help - Action Dialog");
    app().CloseDialog(0);
    EXPECT_EQ(app().GetCurrentDialog(), dialog);
    EXPECT_NE(dialog->GetChosenItem(), nullptr);
    EXPECT_TRUE(DoneEnabled()) << "rebuilt with the choice";
}

TEST_F(ActionDlgTest, DoneBindsTheChoiceToItsSlotAndCancelLeavesTheTable) {
    wren().SetBaseLevel(5);  // up to the tier of her first ability, which she can then cast
    auto assign = std::make_shared<CActionDlg>(&app(), wren(), 6);
    app().SetDialog(false, assign);
    assign->OnButton(CActionDlg::kAbilityBase);
    app().CloseDialog(CActionDlg::kDone);
    EXPECT_EQ(app().GetQuickActionKind(wren(), 6), 11);
    EXPECT_EQ(app().GetQuickActionSpell(wren(), 6), "reed_lash");
    EXPECT_EQ(app().GetCurrentQuickAction(wren()), 6);
    EXPECT_TRUE(wren().GetOrders().empty()) << "only the action slot acts at once";

    auto cancelled = std::make_shared<CActionDlg>(&app(), wren(), 7);
    app().SetDialog(false, cancelled);
    cancelled->OnButton(BackpackId("river_tonic"));
    app().CloseDialog(CActionDlg::kCancel);
    int result = -1;
    auto escaped = std::make_shared<CActionDlg>(&app(), wren(), 7);
    app().SetDialog(false, escaped);
    escaped->OnButton(BackpackId("river_tonic"));
    EXPECT_TRUE(escaped->OnKey(static_cast<int>(VK_RETURN), false, &result));
    app().CloseDialog(result);
    EXPECT_EQ(app().GetQuickActionKind(wren(), 7), 0);
    EXPECT_EQ(app().GetQuickActionItem(wren(), 7), "");
}

}  // namespace
