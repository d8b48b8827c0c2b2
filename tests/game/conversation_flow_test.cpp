// A conversation and a trade as the running game meets them: a move-and-talk
// order brings Wren to her partner, the engine's talk event opens the talk on the
// next timer, keys answer, and the store follows the keeper's reply.

#include <gtest/gtest.h>

#include "running_game_support.h"
#include "engine/engine.h"
#include "game/dialogs/talk/store_count_dlg.h"
#include "game/dialogs/talk/store_dlg.h"
#include "game/dialogs/talk/talk_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/win32_time.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/item.h"
#include "world/order.h"

namespace {

// The running game of the shell tests, with the keys and the walks a conversation needs.
class ConversationFlowTest : public QuillmereTest::RunningGameTest {
protected:
    DRAV::CActor& wren() { return main(); }
    std::string Title() { return m_shell.recorder.titles.back(); }
    void Key(int key) { app().DeliverKeyToDialog(key, false); }
    // Timer messages for a second or until a dialog opens.
    void RunUntilDialog() {
        for (int i = 0; i < 60 && !app().GetCurrentDialog(); ++i) TimerAfter(16);
    }
    // `key` placed a few steps from Wren; Wren walks over to talk.
    std::shared_ptr<DRAV::CActor> TalkTo(const std::string& key) {
        DRAV::CArea& area = *game().GetCurrentArea();
        auto actor = area.CreateEncounterActor(key, "", 0, *app().GetEngine()->GetModule());
        EXPECT_TRUE(area.PlaceActor(3, 2, false, actor));
        actor->FinalizeMove(wren().GetX() + 4, wren().GetY());
        wren().PushOrder(std::make_shared<DRAV::CMoveTalkOrder>(actor->GetId()), true);
        RunUntilDialog();
        return actor;
    }
};

TEST_F(ConversationFlowTest, TheGuideIsAnsweredByKeysAndJoinsThroughHisReply) {
    const auto marra = TalkTo("reed_witch");
    ASSERT_NE(dynamic_cast<CTalkDlg*>(app().GetCurrentDialog().get()), nullptr);
    EXPECT_EQ(Title(), "Quillmere - Wren : Marra the Reed Witch");
    EXPECT_GT(app().GetSuspendCount(), 0) << "the clock stands while she talks";
    Key(VK_ESCAPE);
    EXPECT_EQ(Title(), "Quillmere - Wren : Marra the Reed Witch");
    // The first reply asks about the lights; the second is hers to join.
    Key('2');
    auto* next = dynamic_cast<CTalkDlg*>(app().GetCurrentDialog().get());
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetLines().front(), "Wren : Will you walk with us a while?");
    EXPECT_EQ(game().GetParty().size(), 2u);
    Key(VK_RETURN);
    EXPECT_EQ(app().GetCurrentDialog(), nullptr);
    EXPECT_EQ(app().GetSuspendCount(), 0);
}

TEST_F(ConversationFlowTest, TheKeepersReplyOpensHerStoreAndACountedBuyTakesTheGold) {
    const auto tansy = TalkTo("landing_trader");
    ASSERT_NE(dynamic_cast<CTalkDlg*>(app().GetCurrentDialog().get()), nullptr);
    auto salve = app().GetEngine()->GetModule()->CreateItem("reed_salve", 5, game().NewThingId(DRAV::THING_ITEM), 0);
    tansy->GetStore()->AddItem(salve);
    game().SetGold(100);
    Key('1');
    Key(VK_RETURN);
    auto* store = dynamic_cast<CStoreDlg*>(app().GetCurrentDialog().get());
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(Title(), "Quillmere - Tansy the Trader - Buy/Sell");

    const DRAV::ItemPtrList stock = tansy->GetStoreItems();
    const auto at = std::find(stock.begin(), stock.end(), salve) - stock.begin();
    store->OnDrop(CStoreDlg::kStoreBase + static_cast<int>(at), CStoreDlg::kBackpackList);
    auto* count = dynamic_cast<CStoreCountDlg*>(app().GetCurrentDialog().get());
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->GetQuestion().rfind("How many of Pot of Reed Salve", 0), 0u);
    Key(VK_OEM_PLUS);
    Key(VK_OEM_PLUS);
    Key(VK_RETURN);
    EXPECT_EQ(app().GetCurrentDialog().get(), store);
    EXPECT_EQ(game().GetGold(), 10);
    ASSERT_FALSE(wren().GetBackpack().empty());
    EXPECT_EQ(wren().GetBackpack().back()->GetCount(), 3);
    EXPECT_EQ(m_shell.audio->played.back(), 3);
}

}  // namespace
