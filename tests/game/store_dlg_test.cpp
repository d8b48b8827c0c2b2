// Trading with Tansy on the sample: drops become store orders, stacks go through
// the quantity dialog, and every list is read again after each trade.

#include <gtest/gtest.h>

#include "game/dialogs/maps/help_dlg.h"
#include "game/dialogs/sheet/item_dlg.h"
#include "game/dialogs/talk/store_count_dlg.h"
#include "game/dialogs/talk/store_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "trade_test_support.h"
#include "ui/ui_items_list.h"
#include "ui/ui_manager.h"

namespace {

using DRAV::CItem;
using QuillmereTest::ShellWithGame;

class StoreDlgTest : public ::testing::Test, public ShellWithGame {
protected:
    void SetUp() override {
        ASSERT_TRUE(loaded);
        tansy = Beside("landing_trader");
        ASSERT_TRUE(tansy);
    }
    // A stack of `count` joins Tansy's stock; her own stock is left as it is.
    std::shared_ptr<CItem> Stock(const std::string& key, std::int32_t count) {
        auto item = MakeItem(key, count);
        tansy->GetStore()->AddItem(item);
        return item;
    }
    std::shared_ptr<CItem> Carry(const std::string& key, std::int32_t count) {
        auto item = MakeItem(key, count);
        Wren().AddToBackpack(item, false);
        return item;
    }
    CStoreDlg& OpenStore() {
        app.SetDialog(true, std::make_shared<CStoreDlg>(&app, &Wren(), tansy.get()));
        return *Current<CStoreDlg>();
    }
    // The cell id the dialog gives `item` in `list`.
    static int CellId(const DRAV::ItemPtrList& list, const CItem& item, int base) {
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].get() == &item) return base + static_cast<int>(i);
        throw std::runtime_error("item not listed");
    }
    int BackpackCell(const CItem& item) { return CellId(Wren().GetBackpack(), item, CStoreDlg::kBackpackBase); }
    int StoreCell(const CItem& item) { return CellId(tansy->GetStoreItems(), item, CStoreDlg::kStoreBase); }
    DRAVUI::CUIItemsListWindow* List(int id) {
        for (const auto& element : app.GetUIManager().GetElements())
            if (element->GetId() == id) return dynamic_cast<DRAVUI::CUIItemsListWindow*>(element.get());
        return nullptr;
    }
    std::int32_t Gold() { return game.Game().GetGold(); }

    std::shared_ptr<DRAV::CActor> tansy;
};

TEST_F(StoreDlgTest, SellingPaysHalfRoundedUpAndRefusesWhatCannotBeSold) {
    game.Game().SetGold(0);
    const auto flt = Carry("cork_float", 1);
    const auto water = Carry("marsh_water", 1);
    const auto token = Carry("ferry_token", 1);
    const auto lantern = Carry("ferry_wand", 1);
    CStoreDlg& store = OpenStore();
    EXPECT_EQ(store.GetTitle(), "Tansy the Trader - Buy/Sell");

    store.OnDrop(BackpackCell(*flt), CStoreDlg::kStoreList);
    EXPECT_EQ(Gold(), 4);
    EXPECT_EQ(audio->played.back(), 3);
    // Nothing paid, yet the item goes.
    store.OnDrop(BackpackCell(*water), StoreCell(*tansy->GetStoreItems().front()));
    EXPECT_EQ(Gold(), 4);
    // A quest item, and a kind Tansy does not buy: nothing happens, and a box over
    // the store, which hides the log, says who, what and why.
    for (const auto& [item, said] :
         {std::pair{token, "Wren can't sell Ferry Token to Tansy the Trader: the Ferry Token is not for sale."},
          std::pair{lantern, "Wren can't sell Ferry Wand to Tansy the Trader: Tansy the Trader does not buy any wand."}}) {
        store.OnDrop(BackpackCell(*item), CStoreDlg::kStoreList);
        EXPECT_EQ(app.GetMessageLog().back(), said);
        auto* box = Current<CTextDlg>();
        ASSERT_NE(box, nullptr) << said;
        app.CloseDialog(CTextDlg::kDone);
        ASSERT_EQ(Current<CStoreDlg>(), &store);
    }
    EXPECT_EQ(Gold(), 4);
    EXPECT_EQ(Wren().GetBackpack(), (DRAV::ItemPtrList{token, lantern}));
    // The shown list is the fresh one: its cells index the backpack as it is now.
    ASSERT_NE(List(CStoreDlg::kBackpackList), nullptr);
    EXPECT_EQ(List(CStoreDlg::kBackpackList)->GetItems(), Wren().GetBackpack());
    EXPECT_EQ(List(CStoreDlg::kStoreList)->GetItems(), tansy->GetStoreItems());
}

TEST_F(StoreDlgTest, PotionStacksAreCountedOnlyWhenTwoAreAffordable) {
    const auto salve = Stock("reed_salve", 3);
    game.Game().SetGold(59);
    CStoreDlg& store = OpenStore();
    store.OnDrop(StoreCell(*salve), CStoreDlg::kBackpackList);
    EXPECT_EQ(Current<CStoreCountDlg>(), nullptr);
    EXPECT_EQ(Gold(), 29);
    EXPECT_EQ(salve->GetCount(), 2);

    game.Game().SetGold(60);
    store.OnDrop(StoreCell(*salve), CStoreDlg::kBackpackList);
    ASSERT_NE(Current<CStoreCountDlg>(), nullptr);
    EXPECT_EQ(Gold(), 60);
    Key(VK_ESCAPE);
    EXPECT_EQ(Current<CStoreDlg>(), &store);

    // Not a potion: one per drop, whatever the gold.
    const auto pies = Stock("eel_pie", 3);
    ASSERT_TRUE(Wren().CanUseItem(*pies) && Wren().IsProficientWith(*pies));
    game.Game().SetGold(1000);
    store.OnDrop(StoreCell(*pies), CStoreDlg::kBackpackList);
    EXPECT_EQ(Current<CStoreCountDlg>(), nullptr);
    EXPECT_EQ(pies->GetCount(), 2);
    EXPECT_EQ(Gold(), 1000 - 3);
}

TEST_F(StoreDlgTest, ADroppedHelmetBuysOnlyIntoTheHelmetSlot) {
    const auto cap = Stock("boatmans_cap", 1);
    const auto old = MakeItem("iron_helm", 1);
    Wren().SetEquipment(DRAV::SLOT_HELMET, old);
    ASSERT_TRUE(Wren().IsProficientWith(*cap));
    game.Game().SetGold(100);
    CStoreDlg& store = OpenStore();
    store.OnButton(CStoreDlg::kEquipmentTab);
    EXPECT_TRUE(store.IsEquipmentView());

    store.OnDrop(StoreCell(*cap), CStoreDlg::kSlotBase + DRAV::SLOT_WEAPON);
    EXPECT_EQ(Gold(), 100);
    store.OnDrop(StoreCell(*cap), CStoreDlg::kSlotBase + DRAV::SLOT_HELMET);
    EXPECT_EQ(Gold(), 80);
    ASSERT_NE(Wren().GetEquipped(DRAV::SLOT_HELMET), nullptr);
    EXPECT_EQ(Wren().GetEquipped(DRAV::SLOT_HELMET)->GetTemplate().GetKey(), "boatmans_cap");
    EXPECT_EQ(Wren().GetBackpack(), (DRAV::ItemPtrList{old}));
    EXPECT_EQ(StoreCell(*tansy->GetStoreItems().front()), CStoreDlg::kStoreBase);
}

TEST_F(StoreDlgTest, AWeaponWithoutProficiencyIsBoughtOnlyAfterAYes) {
    const auto axe = Stock("smugglers_knife", 1);
    ASSERT_TRUE(Wren().CanUseItem(*axe));
    ASSERT_FALSE(Wren().IsProficientWith(*axe));
    game.Game().SetGold(500);
    CStoreDlg& store = OpenStore();
    store.OnDrop(StoreCell(*axe), CStoreDlg::kBackpackList);
    auto* confirm = Current<CStoreDlgConfirm>();
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(confirm->GetTitle(), "Confirm buy?");
    EXPECT_NE(confirm->GetQuestion().find("Wren is not proficient in the use of "), std::string::npos);
    Key('N');
    EXPECT_EQ(Gold(), 500);
    store.OnDrop(StoreCell(*axe), CStoreDlg::kBackpackList);
    Key('Y');
    EXPECT_EQ(Gold(), 470);
    ASSERT_EQ(Wren().GetBackpack().size(), 1u);
    EXPECT_EQ(Wren().GetBackpack()[0]->GetTemplate().GetKey(), "smugglers_knife");
    EXPECT_EQ(Current<CStoreDlg>(), &store);
}

TEST_F(StoreDlgTest, MembersOutOfReachHaveNoButtonAndKeysCountListedOnes) {
    const auto marra = Beside("reed_witch");
    const auto goblin = Beside("reed_goblin");
    ASSERT_TRUE(marra && goblin);
    game.Game().AddPartyMember(marra);
    game.Game().AddPartyMember(goblin);
    marra->FinalizeMove(marra->GetX() + 40, marra->GetY() + 40);
    ASSERT_FALSE(marra->IsWithinReach(*tansy));
    CStoreDlg& store = OpenStore();
    const auto ids = ScreenIds();
    EXPECT_NE(std::find(ids.begin(), ids.end(), 100), ids.end());
    EXPECT_EQ(std::find(ids.begin(), ids.end(), 101), ids.end());
    EXPECT_NE(std::find(ids.begin(), ids.end(), 102), ids.end());
    Key('2');
    EXPECT_EQ(store.GetMember(), goblin.get());
    EXPECT_EQ(Current<CStoreDlg>(), &store);
    Key('3');
    EXPECT_EQ(store.GetMember(), goblin.get());
    store.OnButton(100);
    EXPECT_EQ(store.GetMember(), &Wren());
}

// "?" and the help button both open the store's own page over the store, which
// comes back as it was when the page closes.
TEST_F(StoreDlgTest, HelpOpensTheStorePageAndReturns) {
    CStoreDlg& store = OpenStore();
    audio->played.clear();
    Key(VK_OEM_2);
    EXPECT_EQ(audio->played, std::vector<int>{0}) << "the help opens with the click";
    auto* help = Current<CHelpDlg>();
    ASSERT_NE(help, nullptr);
    EXPECT_STREQ(help->GetPage().key, "store");
    Key(VK_ESCAPE);
    EXPECT_EQ(Current<CStoreDlg>(), &store);
    audio->played.clear();
    store.OnButton(CStoreDlg::kHelp);
    EXPECT_EQ(audio->played, std::vector<int>{0});
    help = Current<CHelpDlg>();
    ASSERT_NE(help, nullptr);
    EXPECT_STREQ(help->GetPage().key, "store");
    Key(VK_ESCAPE);
    EXPECT_EQ(Current<CStoreDlg>(), &store);
}

// An alternate click on a stock cell or a backpack cell opens that item's page;
// on anything else nothing opens.
TEST_F(StoreDlgTest, AlternateClickOpensTheItemsPage) {
    const auto pies = Carry("eel_pie", 2);
    CStoreDlg& store = OpenStore();
    for (const auto& [cell, item] : {std::pair{BackpackCell(*pies), pies.get()},
                                     std::pair{StoreCell(*tansy->GetStoreItems().front()),
                                               tansy->GetStoreItems().front().get()}}) {
        store.OnAltClick(cell);
        auto* page = Current<CItemDlg>();
        ASSERT_NE(page, nullptr) << cell;
        EXPECT_EQ(page->GetTitle(), item->GetTemplate().GetName());
        Key(VK_ESCAPE);
        EXPECT_EQ(Current<CStoreDlg>(), &store);
    }
    store.OnAltClick(CStoreDlg::kStoreList);
    store.OnAltClick(CStoreDlg::kStoreBase + 999);
    EXPECT_EQ(Current<CStoreDlg>(), &store);
}

// The quantity dialog, as the store opens it.
class StoreCountDlgTest : public StoreDlgTest {};

TEST_F(StoreCountDlgTest, SellingAStackOffersHalfPriceUpToTheWholeStack) {
    game.Game().SetGold(0);
    const auto pies = Carry("eel_pie", 5);
    CStoreDlg& store = OpenStore();
    store.OnDrop(BackpackCell(*pies), CStoreDlg::kStoreList);
    auto* count = Current<CStoreCountDlg>();
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->GetTitle(), "Tansy the Trader");
    EXPECT_EQ(count->GetQuestion(), "How many of Eel Pie would you like to sell for 2 gold per item?");
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(count->OnButton(CStoreCountDlg::kMore));
    EXPECT_EQ(count->GetCount(), 5u);
    // The question and the count are not buttons.
    EXPECT_FALSE(count->OnButton(0));
    Key(VK_RETURN);
    EXPECT_EQ(Gold(), 10);
    EXPECT_TRUE(Wren().GetBackpack().empty());
    EXPECT_EQ(Current<CStoreDlg>(), &store);
}

TEST_F(StoreCountDlgTest, BuyingStopsAtWhatTheGoldPaysAndZeroTradesNothing) {
    const auto salve = Stock("reed_salve", 10);
    game.Game().SetGold(95);
    CStoreDlg& store = OpenStore();
    store.OnDrop(StoreCell(*salve), CStoreDlg::kBackpackList);
    auto* count = Current<CStoreCountDlg>();
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->GetMaxCount(), 3u);
    const std::string question = count->GetQuestion();
    EXPECT_EQ(question.substr(question.size() - 29), " LINE LINE 95 gold available.");
    for (int i = 0; i < 4; ++i) Key(VK_OEM_PLUS);
    EXPECT_EQ(count->GetCount(), 3u);
    EXPECT_EQ(Current<CStoreCountDlg>(), count);
    app.CloseDialog(CStoreCountDlg::kTrade);
    EXPECT_EQ(Gold(), 5);
    EXPECT_EQ(salve->GetCount(), 7);
    ASSERT_EQ(Wren().GetBackpack().size(), 1u);
    EXPECT_EQ(Wren().GetBackpack()[0]->GetCount(), 3);

    game.Game().SetGold(95);
    store.OnDrop(StoreCell(*salve), CStoreDlg::kBackpackList);
    count = Current<CStoreCountDlg>();
    ASSERT_NE(count, nullptr);
    count->OnButton(CStoreCountDlg::kLess);
    count->OnButton(CStoreCountDlg::kLess);
    EXPECT_EQ(count->GetCount(), 0u);
    EXPECT_TRUE(count->OnButton(CStoreCountDlg::kTrade));
    app.CloseDialog(CStoreCountDlg::kTrade);
    EXPECT_EQ(Gold(), 95);
    EXPECT_EQ(salve->GetCount(), 7);
}

TEST_F(StoreCountDlgTest, AFreeStackCanBeTakenWhole) {
    const auto water = Stock("marsh_water", 2);
    game.Game().SetGold(0);
    CStoreDlg& store = OpenStore();
    store.OnDrop(StoreCell(*water), CStoreDlg::kBackpackList);
    auto* count = Current<CStoreCountDlg>();
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->GetMaxCount(), 2u);
    count->OnButton(CStoreCountDlg::kMore);
    app.CloseDialog(CStoreCountDlg::kTrade);
    ASSERT_EQ(Wren().GetBackpack().size(), 1u);
    EXPECT_EQ(Wren().GetBackpack()[0]->GetCount(), 2);
}

}  // namespace

namespace {

TEST_F(StoreDlgTest, TabsShowOneSideAndKeepBothScrollPositions) {
    for (int i = 0; i < 60; ++i) Carry("eel_pie", 1);
    for (int i = 0; i < 60; ++i) Stock("reed_salve", 1);
    game.Game().SetGold(1250);
    CStoreDlg& store = OpenStore();
    const auto ids = ScreenIds();
    for (int id : {1, 2, 3, 4, 6, 7, 100, 3000, 3006})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
    DRAVUI::CUIItemsListWindow& backpack = *List(CStoreDlg::kBackpackList);
    DRAVUI::CUIItemsListWindow& stock = *List(CStoreDlg::kStoreList);
    EXPECT_EQ(backpack.GetCaption(), "Wren");
    EXPECT_TRUE(backpack.HasFlag(DRAVUI::UIF_SHOWN));
    ASSERT_GT(backpack.ScrollBar().m_range, 0u);
    ASSERT_GT(stock.ScrollBar().m_range, 1u);
    backpack.ScrollBar().m_position = 1;
    stock.ScrollBar().m_position = 2;

    store.OnButton(CStoreDlg::kEquipmentTab);
    EXPECT_FALSE(backpack.HasFlag(DRAVUI::UIF_SHOWN));
    store.OnButton(CStoreDlg::kBackpackTab);
    EXPECT_TRUE(backpack.HasFlag(DRAVUI::UIF_SHOWN));
    EXPECT_EQ(backpack.ScrollBar().m_position, 1u);
    EXPECT_EQ(stock.ScrollBar().m_position, 2u);
    // A trade re-reads the lists where they stood.
    store.OnDrop(BackpackCell(*Wren().GetBackpack().back()), CStoreDlg::kStoreList);
    EXPECT_EQ(Gold(), 1252);
    EXPECT_EQ(List(CStoreDlg::kStoreList)->ScrollBar().m_position, 2u);
    // Another member's view starts at the top; the current member's key keeps it.
    Key('1');
    EXPECT_EQ(store.GetStoreScroll(), 2u);
}

}  // namespace
