// Buying from and selling to Tansy's store on the sample landing.

#include <gtest/gtest.h>

#include "support/message_texts.h"
#include "support/sample_game.h"
#include "world/item.h"

using namespace DRAV;
using QuillmereTest::StartSampleGame;

namespace {

std::shared_ptr<CItem> Offered(const CActor& keeper, const std::string& key) {
    for (const auto& item : keeper.GetStoreItems())
        if (item->GetTemplate().GetKey() == key) return item;
    return nullptr;
}

bool HasEquipmentEvent(const std::vector<std::shared_ptr<CEvent>>& events) {
    for (const auto& event : events)
        if (event->GetCode() == EVENT_ACTOR_EQUIPMENT) return true;
    return false;
}

// The lines the log gains as Wren's order `order` runs.
std::vector<std::string> Told(const QuillmereTest::SampleGame& game, const COrder& order) {
    game.DrainEvents();
    game.Engine().RunInstantOrder(*game.Main(), order);
    return QuillmereTest::MessageTexts(game.DrainEvents());
}

// Tansy, trading next to Wren, and the party's gold set to `gold`.
std::shared_ptr<CActor> TansyBeside(const QuillmereTest::SampleGame& game, std::int32_t gold) {
    game.Game().SetGold(gold);
    return game.Spawn("landing_trader", 3, 2);
}

}  // namespace

TEST(EngineStore, BuyingMovesTheStockAndThePriceAndEquipsOnlyWhatFits) {
    auto game = StartSampleGame();
    CActor& wren = *game.Main();
    const auto tansy = TansyBeside(game, 100);
    ASSERT_TRUE(tansy);
    const auto pies = Offered(*tansy, "eel_pie");
    const auto knives = Offered(*tansy, "smugglers_knife");
    ASSERT_TRUE(pies && knives);
    // More than she has, or than the party can pay, is told and costs nothing.
    EXPECT_EQ(Told(game, CStoreOrder(true, tansy->GetId(), knives->GetId(), 4, 7)),
              std::vector<std::string>{"Wren can't buy Smuggler's Knife from Tansy the Trader: Tansy the Trader has "
                                       "only " + std::to_string(knives->GetCount()) + "."});

    // Three pies asked into the weapon slot go to the backpack.
    game.Engine().RunInstantOrder(wren, CStoreOrder(true, tansy->GetId(), pies->GetId(), 3, SLOT_WEAPON));
    EXPECT_EQ(game.Game().GetGold(), 100 - 3 * 3);
    EXPECT_EQ(pies->GetCount(), 3);
    ASSERT_EQ(wren.GetBackpack().size(), 1u);
    EXPECT_EQ(wren.GetBackpack()[0]->GetCount(), 3);
    EXPECT_EQ(wren.GetEquipped(SLOT_WEAPON), nullptr);
    EXPECT_EQ(QuillmereTest::MessageTexts(game.DrainEvents()),
              (std::vector<std::string>{"Wren buys Eel Pie (3) for 9 gold.",
                                        "Wren can't wield Eel Pie; item placed in backpack."}));

    // A knife into a held weapon slot: the dagger goes to the backpack; the last
    // knife leaves the store.
    auto dagger = game.Module().CreateItem("dagger", 1, game.Game().NewThingId(THING_ITEM), 0);
    wren.SetEquipment(SLOT_WEAPON, dagger);
    game.Engine().RunInstantOrder(wren, CStoreOrder(true, tansy->GetId(), knives->GetId(), 1, SLOT_WEAPON));
    ASSERT_NE(wren.GetEquipped(SLOT_WEAPON), nullptr);
    EXPECT_EQ(wren.GetEquipped(SLOT_WEAPON)->GetTemplate().GetKey(), "smugglers_knife");
    EXPECT_EQ(dagger->GetHolder(), &wren);
    EXPECT_NE(FindItemById(wren.GetBackpack(), dagger->GetId()), nullptr);
    EXPECT_TRUE(HasEquipmentEvent(game.DrainEvents()));
    game.Engine().RunInstantOrder(wren, CStoreOrder(true, tansy->GetId(), knives->GetId(), 1, kStoreToBackpack));
    EXPECT_EQ(Offered(*tansy, "smugglers_knife"), nullptr);
    EXPECT_EQ(game.Game().GetGold(), 100 - 9 - 30 - 30);

    const auto tonic = Offered(*tansy, "river_tonic");
    EXPECT_EQ(Told(game, CStoreOrder(true, tansy->GetId(), tonic->GetId(), 1, 7)),
              std::vector<std::string>{"Wren can't buy River Tonic from Tansy the Trader: the party has only 31 gold."});
    EXPECT_EQ(tonic->GetCount(), 5);
    EXPECT_EQ(game.Game().GetGold(), 31);
}

TEST(EngineStore, SellingPaysHalfTheValueRoundedUpAndTheItemIsGone) {
    auto game = StartSampleGame();
    CActor& wren = *game.Main();
    const auto tansy = TansyBeside(game, 0);
    ASSERT_TRUE(tansy);
    auto pies = game.Module().CreateItem("eel_pie", 5, game.Game().NewThingId(THING_ITEM), 0);
    wren.AddToBackpack(pies, false);
    auto knife = game.Module().CreateItem("smugglers_knife", 1, game.Game().NewThingId(THING_ITEM), 0);
    wren.SetEquipment(SLOT_WEAPON, knife);
    auto token = game.Module().CreateItem("ferry_token", 1, game.Game().NewThingId(THING_ITEM), 0);
    wren.AddToBackpack(token, false);
    const std::size_t stock = tansy->GetStoreItems().size();
    game.DrainEvents();

    game.Engine().RunInstantOrder(wren, CStoreOrder(false, tansy->GetId(), pies->GetId(), 2, 7));
    EXPECT_EQ(game.Game().GetGold(), 2 * 2);  // value 3 sells for 2 each
    EXPECT_EQ(pies->GetCount(), 3);
    game.Engine().RunInstantOrder(wren, CStoreOrder(false, tansy->GetId(), knife->GetId(), 1, 7));
    EXPECT_EQ(game.Game().GetGold(), 4 + 15);
    EXPECT_EQ(wren.GetEquipped(SLOT_WEAPON), nullptr);
    const auto sold = game.DrainEvents();
    EXPECT_TRUE(HasEquipmentEvent(sold));
    EXPECT_EQ(QuillmereTest::MessageTexts(sold), (std::vector<std::string>{"Wren sells Eel Pie (2) for 4 gold.",
                                                                           "Wren sells Smuggler's Knife for 15 gold."}));
    EXPECT_EQ(tansy->GetStoreItems().size(), stock);  // sold items are not restocked

    EXPECT_EQ(Told(game, CStoreOrder(false, tansy->GetId(), token->GetId(), 1, 7)),
              std::vector<std::string>{"Wren can't sell Ferry Token to Tansy the Trader: the Ferry Token is not for sale."});

    // More pies than Wren has, none, or Tansy out of reach or dead: told, and nothing is traded.
    const auto sellPies = [&](std::uint32_t count) {
        return Told(game, CStoreOrder(false, tansy->GetId(), pies->GetId(), count, 7));
    };
    const std::string pie = "Wren can't sell Eel Pie to Tansy the Trader: ";
    EXPECT_EQ(sellPies(4), std::vector<std::string>{pie + "Wren has only 3."});
    EXPECT_EQ(sellPies(0), std::vector<std::string>{pie + "there is nothing to trade."});
    tansy->SetPosition(wren.GetX() + 60.0, wren.GetY());
    EXPECT_EQ(sellPies(1), std::vector<std::string>{pie + "Tansy the Trader is out of reach."});
    tansy->SetPosition(wren.GetX() + 3.0, wren.GetY());
    tansy->SetActionState(ACTION_DEAD);
    EXPECT_EQ(sellPies(1), std::vector<std::string>{pie + "Tansy the Trader is dead."});
    EXPECT_EQ(pies->GetCount(), 3);
    EXPECT_EQ(game.Game().GetGold(), 19);
}
