#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app_test_access.h"
#include "dialog_test_support.h"
#include "sheet_test_support.h"
#include "game/dialogs/play/action_dlg.h"
#include "game/dialogs/sheet/actor_info_dlg.h"
#include "game/dialogs/creation/skills_dlg.h"
#include "game/dialogs/sheet/base_actor_dlg2.h"
#include "game/dialogs/maps/help_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "rules/module.h"
#include "support/sample_game.h"
#include "ui/ui_action_element.h"
#include "ui/ui_action_window.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "world/actor.h"
#include "world/game.h"

namespace {

using namespace DRAV;

// A page of the sheet that remembers the rectangle it was given.
class ProbePage : public CBaseActorDlg2 {
public:
    ProbePage(CDRAVApp* app, CActor* actor, int tab, bool info = false)
        : CBaseActorDlg2(app, actor), m_tab(tab), m_info(info) {}
    int GetTabIndex() override { return m_tab; }
    int GetHelpTopic() override { return 16; }
    void CreatePage(RECT page, DRAVUI::CUIManager&) override {
        pageRect = page;
        ++built;
    }
    bool IsInfoPage() override { return m_info; }

    RECT pageRect{};
    int built = 0;

private:
    int m_tab;
    bool m_info;
};

// The shell over Wren's running game with a companion, Tamsin, in the party.
class ActorSheetTest : public QuillmereTest::WrensSheetTest {
protected:
    ActorSheetTest() : WrensSheetTest(true) {}
    std::shared_ptr<ProbePage> Open(CActor& actor, int tab, bool info = false) {
        auto page = std::make_shared<ProbePage>(&app(), &actor, tab, info);
        app().SetDialog(false, page);
        return page;
    }
    // Presses a key on the current dialog and closes it as the shell does.
    bool Key(int key) {
        int code = -1;
        if (!app().GetCurrentDialog()->OnKey(key, false, &code)) return false;
        app().CloseDialog(code);
        return true;
    }
    DRAVUI::CUIElement* Find(int id) {
        for (const auto& element : app().GetUIManager().GetElements()) {
            if (element->GetId() == id) return element.get();
            if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(element.get()))
                for (const auto& child : group->GetChildren())
                    if (child->GetId() == id) return child.get();
        }
        return nullptr;
    }
};

TEST_F(ActorSheetTest, FrameHoldsTabsPartyColumnAndBarAroundAPageOf352Rows) {
    auto page = Open(wren(), 1);
    EXPECT_EQ(page->GetTitle(), "Wren");
    EXPECT_EQ(page->built, 1);
    // The 1024 x 768 client area in the small layout: an 816 x 624 sheet.
    EXPECT_EQ(page->pageRect.left, 104 + 80);
    EXPECT_EQ(page->pageRect.right - page->pageRect.left, 656);
    EXPECT_EQ(page->pageRect.bottom - page->pageRect.top, 352);
    for (int id : {1, 2, 3, 4, 6, 7}) EXPECT_NE(Find(id), nullptr) << id;

    auto* own = Find(100);
    auto* other = Find(101);
    ASSERT_NE(own, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(own->HasFlag(DRAVUI::UIF_SELECTED));
    EXPECT_FALSE(other->HasFlag(DRAVUI::UIF_SELECTED));
    EXPECT_EQ(other->GetRect()->top - own->GetRect()->top, 64);
    EXPECT_EQ(Find(102), nullptr);

    DRAVUI::CUIActionWindow2* bar = nullptr;
    for (const auto& element : app().GetUIManager().GetElements())
        if (auto* found = dynamic_cast<DRAVUI::CUIActionWindow2*>(element.get())) bar = found;
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Slot(0).GetId(), 150);
    EXPECT_EQ(bar->Slot(9).GetId(), 159);
}

TEST_F(ActorSheetTest, LayoutSizesFollowTheLargeLayoutBit) {
    DRAVUI::CUIConfig config;
    const RECT client{0, 0, 1200, 800};
    RECT sheet = CBaseActorDlg2::SheetArea(client, config);
    EXPECT_EQ(sheet.right - sheet.left, 816);
    EXPECT_EQ(sheet.bottom - sheet.top, 624);
    RECT page = CBaseActorDlg2::PageRect(sheet, config);
    EXPECT_EQ(page.right - page.left, 656);
    EXPECT_EQ(page.bottom - page.top, 352);

    config.flags = DRAVUI::CUIConfig::LARGE_LAYOUT;
    sheet = CBaseActorDlg2::SheetArea(client, config);
    EXPECT_EQ(sheet.right - sheet.left, 1104);
    EXPECT_EQ(sheet.bottom - sheet.top, 592);
    page = CBaseActorDlg2::PageRect(sheet, config);
    EXPECT_EQ(page.right - page.left, 944);
    EXPECT_EQ(page.bottom - page.top, 352);

    // Odd differences truncate each half toward zero.
    sheet = CBaseActorDlg2::SheetArea(RECT{0, 0, 1107, 595}, config);
    EXPECT_EQ(sheet.left, 1);
    EXPECT_EQ(sheet.right, 1106);
}

TEST_F(ActorSheetTest, ADeadActorsTabsAndPageLettersDoNothingWhileEscAndReturnStillClose) {
    wren().SetActionState(ACTION_DEAD);
    auto page = Open(wren(), 1, true);
    for (int tab = 1; tab <= 4; ++tab) EXPECT_FALSE(page->OnButton(tab)) << tab;
    int code = -1;
    for (int key : {'N', 'I', 'J', 'B', 'A', 'n', 'a'}) EXPECT_FALSE(page->OnKey(key, false, &code)) << key;
    EXPECT_EQ(code, -1);
    EXPECT_EQ(page->GetNextActor(), nullptr);
    EXPECT_TRUE(page->OnButton(6));
    EXPECT_TRUE(page->OnKey(VK_ESCAPE, false, &code));
    EXPECT_EQ(code, 0);
    code = -1;
    EXPECT_TRUE(page->OnKey(VK_RETURN, false, &code));
    EXPECT_EQ(code, 0);
    app().CloseDialog(0);
    EXPECT_EQ(app().GetCurrentDialog(), nullptr);
}

TEST_F(ActorSheetTest, LettersGiveTheirCloseCodesForALivingActor) {
    auto page = Open(wren(), 3);
    const std::pair<int, int> letters[] = {{'N', 1}, {'i', 2}, {'J', 3}, {'b', 4}, {'A', 5}};
    for (const auto& [key, expected] : letters) {
        int code = -1;
        EXPECT_TRUE(page->OnKey(key, false, &code)) << key;
        EXPECT_EQ(code, expected) << key;
        EXPECT_EQ(page->GetNextActor(), &wren());
    }
    for (int tab = 1; tab <= 4; ++tab) EXPECT_TRUE(page->OnButton(tab));
    int code = -1;
    EXPECT_FALSE(page->OnKey('Q', false, &code));
    EXPECT_FALSE(page->OnButton(5));
    EXPECT_FALSE(page->OnButton(250));
}

TEST_F(ActorSheetTest, QuickSlotClicksChooseDeselectAndLeaveTheActionSlotAlone) {
    auto page = Open(wren(), 1);
    auto& audio = *m_shell.audio;
    const std::size_t sounds = audio.played.size();

    EXPECT_FALSE(page->OnButton(150 + 1));
    EXPECT_EQ(app().GetCurrentQuickAction(wren()), 1);
    EXPECT_FALSE(page->OnButton(150 + 1));
    EXPECT_EQ(app().GetCurrentQuickAction(wren()), 10);
    EXPECT_EQ(audio.played.size(), sounds + 2);

    // Slot 2 is never made current from the sheet, by click or by F3.
    EXPECT_FALSE(page->OnButton(150 + 2));
    int code = -1;
    EXPECT_FALSE(page->OnKey(VK_F1 + 2, false, &code));
    EXPECT_EQ(app().GetCurrentQuickAction(wren()), 10);
    EXPECT_EQ(audio.played.size(), sounds + 2);

    // An F-key chooses but never deselects.
    EXPECT_FALSE(page->OnKey(VK_F1, false, &code));
    EXPECT_FALSE(page->OnKey(VK_F1, false, &code));
    EXPECT_EQ(app().GetCurrentQuickAction(wren()), 0);
    EXPECT_EQ(code, -1);
    EXPECT_EQ(app().GetCurrentDialog(), page);
}

TEST_F(ActorSheetTest, RightClickOnAnAssignableSlotOpensTheActionDialogForIt) {
    auto page = Open(wren(), 1);
    for (int slot = 0; slot < 4; ++slot) EXPECT_FALSE(page->OnAltClick(150 + slot)) << slot;
    ASSERT_TRUE(page->OnAltClick(150 + 5));
    app().CloseDialog(150 + 5);
    auto action = std::dynamic_pointer_cast<CActionDlg>(app().GetCurrentDialog());
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->GetTitle(), "Wren - Select Quick Action 6");
    EXPECT_TRUE(app().GetCoveredDialogs().empty());
}

TEST_F(ActorSheetTest, LetterAOpensTheActionDialogForSlotZero) {
    Open(wren(), 2);
    ASSERT_TRUE(Key('A'));
    auto action = std::dynamic_pointer_cast<CActionDlg>(app().GetCurrentDialog());
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->GetTitle(), "Wren - Select Quick Action 1");
}

TEST_F(ActorSheetTest, PartyButtonsAndNumberKeysSwitchMembersUnderTheDeadMemberRule) {
    auto page = Open(wren(), 2);
    // The shown actor's own button closes the sheet and reopens nothing.
    ASSERT_TRUE(page->OnButton(100));
    EXPECT_EQ(page->GetNextActor(), nullptr);
    app().CloseDialog(100);
    EXPECT_EQ(app().GetCurrentDialog(), nullptr);
    EXPECT_EQ(app().GetSelectedMember(), 0u);

    page = Open(wren(), 2);
    int code = -1;
    EXPECT_FALSE(page->OnKey('3', false, &code));  // beyond the party
    EXPECT_TRUE(page->OnKey('2', false, &code));
    EXPECT_EQ(code, 2);
    EXPECT_EQ(page->GetNextActor(), &tamsin());
    EXPECT_EQ(app().GetSelectedMember(), 1u);
    EXPECT_EQ(page->GetPartyMemberOfId(101), &tamsin());
    EXPECT_EQ(page->GetPartyMemberOfId(102), nullptr);
    EXPECT_EQ(page->GetPartyMemberOfId(150), nullptr);

    // A dead member is reached from the information page only.
    tamsin().SetActionState(ACTION_DEAD);
    auto other = Open(wren(), 2);
    EXPECT_FALSE(other->OnButton(101));
    EXPECT_FALSE(other->OnAltClick(101));
    auto info = Open(wren(), 1, true);
    EXPECT_TRUE(info->OnAltClick(101));
    EXPECT_EQ(info->GetNextActor(), &tamsin());
}

TEST_F(ActorSheetTest, QuickSlotIdsAreOneFiftyToOneSixty) {
    int slot = -1;
    EXPECT_TRUE(CBaseActorDlg2::GetQuickActionSlotOfId(150, &slot));
    EXPECT_EQ(slot, 0);
    EXPECT_TRUE(CBaseActorDlg2::GetQuickActionSlotOfId(160, &slot));
    EXPECT_EQ(slot, 10);
    EXPECT_TRUE(CBaseActorDlg2::GetQuickActionSlotOfId(155, nullptr));
    slot = -1;
    EXPECT_FALSE(CBaseActorDlg2::GetQuickActionSlotOfId(149, &slot));
    EXPECT_FALSE(CBaseActorDlg2::GetQuickActionSlotOfId(161, &slot));
    EXPECT_EQ(slot, -1);
}

TEST_F(ActorSheetTest, HelpCoversThePageWithItsTopicAndTheClick) {
    auto page = Open(wren(), 1);
    const std::size_t sounds = m_shell.audio->played.size();
    EXPECT_FALSE(page->OnButton(7));
    auto help = std::dynamic_pointer_cast<CHelpDlg>(app().GetCurrentDialog());
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(std::string(help->GetPage().key), "actor_info");
    ASSERT_EQ(app().GetCoveredDialogs().size(), 1u);
    EXPECT_EQ(app().GetCoveredDialogs().back(), page);
    EXPECT_EQ(m_shell.audio->played.size(), sounds + 1);

    app().CloseDialog(0);
    EXPECT_EQ(app().GetCurrentDialog(), page);
    EXPECT_EQ(page->built, 2);
    int code = -1;
    EXPECT_FALSE(page->OnKey(VK_OEM_2, false, &code));
    EXPECT_NE(std::dynamic_pointer_cast<CHelpDlg>(app().GetCurrentDialog()), nullptr);
}

TEST_F(ActorSheetTest, ClosingThePageOpensTheNextMembersPageQuietly) {
    auto page = std::make_shared<CActorInfoDlg>(&app(), &wren());
    app().SetDialog(false, page);
    const std::size_t sounds = m_shell.audio->played.size();
    ASSERT_TRUE(Key('2'));
    auto next = std::dynamic_pointer_cast<CActorInfoDlg>(app().GetCurrentDialog());
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetActor(), &tamsin());
    EXPECT_EQ(next->GetTitle(), "Tamsin - Information");
    EXPECT_TRUE(app().GetCoveredDialogs().empty());
    EXPECT_EQ(m_shell.audio->played.size(), sounds + 1) << "the close's click only";

    // The same tab for the same actor is a new page object.
    ASSERT_TRUE(Key('N'));
    auto again = std::dynamic_pointer_cast<CActorInfoDlg>(app().GetCurrentDialog());
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, next);
    EXPECT_EQ(again->GetActor(), &tamsin());
}

TEST_F(ActorSheetTest, ShowActorInfoCoversThePageWithTheSpendingPageWhenPointsAreDue) {
    tamsin().SetClass(CLASS_MONSTER);
    tamsin().SetUnspentPoints(0);
    app().ShowActorInfo(tamsin());
    EXPECT_NE(std::dynamic_pointer_cast<CActorInfoDlg>(app().GetCurrentDialog()), nullptr);
    EXPECT_TRUE(app().GetCoveredDialogs().empty());
    CDRAVAppTestAccess::DropDialogs(app());

    tamsin().SetClass(CLASS_FIGHTER);
    std::int32_t classPicks = 0, generalPicks = 0;
    tamsin().GetUnspentSkillPicks(classPicks, generalPicks);
    ASSERT_GT(classPicks + generalPicks, 0);
    app().ShowActorInfo(tamsin());
    EXPECT_NE(std::dynamic_pointer_cast<CSkillsDlg>(app().GetCurrentDialog()), nullptr);
    ASSERT_EQ(app().GetCoveredDialogs().size(), 1u);
    EXPECT_NE(std::dynamic_pointer_cast<CActorInfoDlg>(app().GetCoveredDialogs().back()), nullptr);
}

TEST_F(ActorSheetTest, PageKeysOfTheGameScreenOpenOnlyPagesThatExist) {
    app().LayoutGameScreen();
    app().OnKeyDown('N', false);
    auto page = std::dynamic_pointer_cast<CActorInfoDlg>(app().GetCurrentDialog());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetActor(), &wren());
    CDRAVAppTestAccess::DropDialogs(app());
    for (int key : {'I', 'J', 'B'}) {
        const auto expected = MakeActorSheetPage(&app(), wren(), key == 'I' ? 2 : key == 'J' ? 3 : 4);
        app().OnKeyDown(key, false);
        EXPECT_EQ(app().GetCurrentDialog() != nullptr, expected != nullptr) << static_cast<char>(key);
        CDRAVAppTestAccess::DropDialogs(app());
    }
}

}  // namespace
