// Arranging the party: a drop moves one member through the engine, the slots show
// the new order at once, and the HUD's alternate click on Select All opens it.

#include <gtest/gtest.h>

#include <algorithm>

#include "game/dialogs/play/party_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "trade_test_support.h"
#include "ui/ui_action_element.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"

namespace {

using QuillmereTest::ShellWithGame;

class PartyDlgTest : public ::testing::Test, public ShellWithGame {
protected:
    // Wren and `more` companions beside her, playing, nothing open.
    void Start(int more) {
        ASSERT_TRUE(loaded);
        const char* keys[] = {"reed_witch", "reed_goblin", "ferryman_elder"};
        for (int i = 0; i < more; ++i) {
            auto member = Beside(keys[i]);
            ASSERT_TRUE(member);
            game.Game().AddPartyMember(member);
        }
        CDRAVAppTestAccess::StartPlaying(app);
        app.UpdatePartyQuickActions(false);
        app.LayoutGameScreen();
        audio->played.clear();
    }
    CPartyDlg& Open() {
        app.OnScreenAltClick(8);
        CPartyDlg* dialog = Current<CPartyDlg>();
        if (!dialog) throw std::runtime_error("no party dialog");
        return *dialog;
    }
    std::vector<DRAV::CActor*> Order() {
        std::vector<DRAV::CActor*> order;
        for (const auto& member : game.Game().GetParty()) order.push_back(member.get());
        return order;
    }
    std::string SlotTitle(int n) { return FindElement(CPartyDlg::kMemberBase + n)->GetInfo().title; }
};

TEST_F(PartyDlgTest, DraggingTheSecondOfFourOntoTheFourthMovesItLastAndTheKeysFollow) {
    Start(3);
    const std::vector<DRAV::CActor*> before = Order();
    CPartyDlg& dialog = Open();
    EXPECT_EQ(dialog.GetTitle(), "Arrange Party");
    EXPECT_EQ(audio->played, std::vector<int>{0}) << "opened with the click";
    audio->played.clear();
    const std::vector<int> ids = ScreenIds();
    for (int id : {1, 100, 101, 102, 103}) EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
    EXPECT_EQ(std::find(ids.begin(), ids.end(), 104), ids.end());

    dialog.OnBeginDrag(101);
    EXPECT_FALSE(FindElement(101)->HasFlag(DRAVUI::UIF_SELECTED)) << "the dragged slot is no target";
    for (int id : {100, 102, 103}) EXPECT_TRUE(FindElement(id)->HasFlag(DRAVUI::UIF_SELECTED)) << id;
    dialog.OnDrop(101, 103);
    for (int id : {100, 101, 102, 103}) EXPECT_FALSE(FindElement(id)->HasFlag(DRAVUI::UIF_SELECTED)) << id;

    EXPECT_EQ(Order(), (std::vector<DRAV::CActor*>{before[0], before[2], before[3], before[1]}));
    for (int n = 0; n < 4; ++n) EXPECT_EQ(SlotTitle(n), Order()[n]->GetName()) << "slot " << n + 1;
    EXPECT_EQ(audio->played, std::vector<int>{0});
    EXPECT_EQ(app.GetSelectedActor(), before[1]) << "the moved member is selected";

    Key(VK_RETURN);
    EXPECT_FALSE(app.GetCurrentDialog());
    app.OnKeyDown('2', false);
    EXPECT_EQ(app.GetSelectedActor(), before[2]);
    app.OnKeyDown('4', false);
    EXPECT_EQ(app.GetSelectedActor(), before[1]);
}

// Only a drop on another member's slot moves anyone; the own slot still refreshes
// and clicks, a drop on the text or the button does neither.
TEST_F(PartyDlgTest, DropsThatMoveNobodyAndASwapOfTwo) {
    Start(1);
    const std::vector<DRAV::CActor*> before = Order();
    CPartyDlg& dialog = Open();
    audio->played.clear();
    dialog.OnDrop(100, 100);
    EXPECT_EQ(Order(), before);
    EXPECT_EQ(audio->played, std::vector<int>{0});
    for (int target : {0, CPartyDlg::kDone, 99}) dialog.OnDrop(101, target);
    EXPECT_EQ(Order(), before);
    EXPECT_EQ(audio->played, std::vector<int>{0});
    EXPECT_FALSE(dialog.OnButton(100)) << "a click on a slot keeps the dialog";
    // Of two, a drop of the first on the second swaps them, and so do the keys.
    dialog.OnDrop(100, 101);
    EXPECT_EQ(Order(), (std::vector<DRAV::CActor*>{before[1], before[0]}));
    EXPECT_EQ(SlotTitle(0), before[1]->GetName());
    EXPECT_TRUE(dialog.OnButton(CPartyDlg::kDone));
    app.CloseDialog(CPartyDlg::kDone);
    app.OnKeyDown('1', false);
    EXPECT_EQ(app.GetSelectedActor(), before[1]);
    app.OnKeyDown('2', false);
    EXPECT_EQ(app.GetSelectedActor(), before[0]);
}

TEST_F(PartyDlgTest, APartyOfOneShowsOneSlotAndStaysAsItIs) {
    Start(0);
    CPartyDlg& dialog = Open();
    const std::vector<int> ids = ScreenIds();
    EXPECT_EQ(std::count_if(ids.begin(), ids.end(), [](int id) { return id >= 100; }), 1);
    EXPECT_EQ(SlotTitle(0), "Wren");
    dialog.OnDrop(100, 101);
    ASSERT_EQ(Order().size(), 1u);
    EXPECT_EQ(Order()[0], &Wren());
}

}  // namespace
