// A conversation and a trade as the running game meets them: a move-and-talk
// order brings Wren to her partner, the engine's talk event opens the talk on the
// next timer, keys answer, and the store follows the keeper's reply.

#include <gtest/gtest.h>

#include <algorithm>

#include "running_game_support.h"
#include "engine/engine.h"
#include "game/dialogs/talk/store_count_dlg.h"
#include "game/dialogs/talk/store_dlg.h"
#include "game/dialogs/maps/world_map_dlg.h"
#include "game/dialogs/talk/talk_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/win32_time.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/item.h"
#include "world/order.h"
#include "world_map_points.h"

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
    EXPECT_EQ(count->GetQuestion().rfind("How many of Reed Salve", 0), 0u);
    Key(VK_OEM_PLUS);
    Key(VK_OEM_PLUS);
    Key(VK_RETURN);
    EXPECT_EQ(app().GetCurrentDialog().get(), store);
    EXPECT_EQ(game().GetGold(), 10);
    ASSERT_FALSE(wren().GetBackpack().empty());
    EXPECT_EQ(wren().GetBackpack().back()->GetCount(), 3);
    EXPECT_EQ(m_shell.audio->played.back(), 3);
}

// Marra's punt, asked for by a party that seeks the boatwright: her reply sends
// the party over the travel map, which opens as at a way out without an entry,
// while the party still stands where it talked.
class PuntTest : public ConversationFlowTest {
protected:
    PuntTest() { game().GetQuestTags()["boatwright_asked"] = 1; }  // the innkeeper's errand
    // The talk up to "Can you get us there unseen?" and its Done.
    void AskForThePunt() {
        TalkTo("reed_witch");
        ASSERT_NE(dynamic_cast<CTalkDlg*>(app().GetCurrentDialog().get()), nullptr);
        Key('1');  // "We are looking for Orrin the boatwright."
        Key('2');  // "Can you get us there unseen?"
        ASSERT_EQ(game().GetStateCode(), DRAV::GAME_TRAVEL) << "her punt sets out";
        Key(VK_RETURN);  // Done
    }
    CDRAVWorldMapDlg* Map() { return dynamic_cast<CDRAVWorldMapDlg*>(app().GetCurrentDialog().get()); }
    std::string Where() {
        const DRAV::CArea* area = game().GetCurrentArea();
        return (area ? area->GetName() : std::string("no area")) + " " + std::to_string(wren().GetX()) + " " +
               std::to_string(wren().GetY());
    }

    // Half a second later, the clock has run with no page up and the party is
    // still in `area`: no journey or rest follows.
    void ExpectPlayGoesOnIn(const std::string& area) {
        EXPECT_EQ(game().GetStateCode(), DRAV::GAME_PLAYING);
        EXPECT_EQ(app().GetSuspendCount(), 0);
        const std::uint32_t tick = game().GetTick();
        TimersFor(500);
        EXPECT_GT(game().GetTick(), tick);
        ASSERT_NE(game().GetCurrentArea(), nullptr);
        EXPECT_EQ(game().GetCurrentArea()->GetName(), area);
        EXPECT_EQ(app().GetCurrentDialog(), nullptr);
    }
};

TEST_F(PuntTest, TheTravelMapOpensAndCancelLeavesThePartyWhereItStood) {
    AskForThePunt();
    ASSERT_FALSE(HasFatalFailure());
    const std::string stood = Where();
    CDRAVWorldMapDlg* map = Map();
    ASSERT_NE(map, nullptr) << "after the punt: " << stood << ", state " << game().GetStateCode();
    EXPECT_TRUE(map->IsTravel());
    EXPECT_EQ(map->GetMap().GetName(), "reedwater_map");
    EXPECT_EQ(Title(), "Quillmere - World Map");
    ASSERT_NE(game().GetCurrentArea(), nullptr) << "the party has not left";
    EXPECT_EQ(game().GetCurrentArea()->GetName(), "reedwater_landing");

    app().CloseDialog(CDRAVWorldMapDlg::kDone);  // Cancel
    EXPECT_EQ(app().GetCurrentDialog(), nullptr);
    EXPECT_EQ(Where(), stood);
    ExpectPlayGoesOnIn("reedwater_landing");
}

TEST_F(PuntTest, TheHideChosenOnTheMapTakesThePartyThereAndPlayGoesOn) {
    AskForThePunt();
    ASSERT_NE(Map(), nullptr);
    ASSERT_TRUE(QuillmereTest::PointAtMapLocation(app(), "smugglers_hide"));
    ASSERT_TRUE(app().GetCurrentDialog()->OnButton(CDRAVWorldMapDlg::kMap)) << "the hide is on the map";
    app().CloseDialog(CDRAVWorldMapDlg::kMap);
    // Set down under the bank below the hide, behind lookouts who watch the bridge.
    EXPECT_EQ(game().GetCurrentEntry(), (DRAV::AreaEntryPoint{"reed_marsh", "punt"}));
    EXPECT_TRUE(game().IsQuestTagSet("hide_unseen"));
    EXPECT_EQ(Title(), "Quillmere - The Reed Marsh");
    ExpectPlayGoesOnIn("reed_marsh");
    const auto& log = app().GetMessageLog();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
        return line.find("Marra's punt noses in under the bank") != std::string::npos;
    })) << "the ride is told";
    // The save made as the party set out loads into the landing with the journey
    // still to choose: the map opens again.
    const std::shared_ptr<CLoadInfo> saves = app().ListSavedGames();
    ASSERT_EQ(saves->m_items.size(), 1u);
    ASSERT_TRUE(app().LoadGame(saves->m_items[0]->m_path, 1, false));
    ASSERT_NE(Map(), nullptr);
    EXPECT_EQ(game().GetCurrentArea()->GetName(), "reedwater_landing");
}

}  // namespace
