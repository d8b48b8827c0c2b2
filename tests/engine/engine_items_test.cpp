// Inventory orders run by the engine on the sample game: wield, unwield, get, drop,
// split, combine, give, and picking a container's lock.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/sample_game.h"
#include "support/sample_save.h"
#include "world/item.h"
#include "world/object.h"
#include "world/order_rule.h"

using namespace DRAV;
using QuillmereTest::StartSampleGame;

namespace {

std::shared_ptr<CItem> Give(const QuillmereTest::SampleGame& game, CActor& actor, const std::string& key,
                            std::int32_t count) {
    auto item = game.Module().CreateItem(key, count, game.Game().NewThingId(THING_ITEM), 0);
    actor.AddToBackpack(item, false);
    return item;
}

std::vector<std::string> Messages(const QuillmereTest::SampleGame& game) {
    std::vector<std::string> texts;
    for (const auto& event : game.DrainEvents())
        if (auto* message = dynamic_cast<const CMessageEvent*>(event.get())) texts.push_back(message->GetText());
    return texts;
}

// The lines the log gains as Wren's order `order` runs.
std::vector<std::string> Told(const QuillmereTest::SampleGame& game, const COrder& order) {
    game.DrainEvents();
    game.Engine().RunInstantOrder(*game.Main(), order);
    return Messages(game);
}

}  // namespace

TEST(EngineItems, WieldingFromAStackTakesOneAndUnwieldingPutsItBack) {
    auto game = StartSampleGame();
    CActor& wren = *game.Main();
    const auto daggers = Give(game, wren, "dagger", 3);
    game.DrainEvents();
    game.Engine().RunInstantOrder(wren, CWieldOrder(daggers->GetId(), SLOT_WEAPON));
    ASSERT_NE(wren.GetEquipped(SLOT_WEAPON), nullptr);
    EXPECT_EQ(daggers->GetCount(), 2);
    EXPECT_NE(wren.GetEquipped(SLOT_WEAPON)->GetId(), daggers->GetId());
    EXPECT_EQ(wren.GetEquipped(SLOT_WEAPON)->GetCount(), 1);
    EXPECT_EQ(wren.GetActionState(), ACTION_RECOVERING);

    // The slot is taken now.
    game.DrainEvents();
    game.Engine().RunInstantOrder(wren, CWieldOrder(daggers->GetId(), SLOT_WEAPON));
    EXPECT_EQ(Messages(game), std::vector<std::string>{"Wren can't wield Dagger; is already wielding Dagger."});
    EXPECT_EQ(daggers->GetCount(), 2);

    game.Engine().RunInstantOrder(wren, CUnwieldOrder(SLOT_WEAPON));
    EXPECT_EQ(wren.GetEquipped(SLOT_WEAPON), nullptr);
    EXPECT_EQ(daggers->GetCount(), 3);  // merged back into its stack
    game.DrainEvents();
    game.Engine().RunInstantOrder(wren, CUnwieldOrder(SLOT_WEAPON));
    EXPECT_EQ(Messages(game), std::vector<std::string>{"Wren can't unwield that."});
    // An item gone, or a slot there is not, is told.
    EXPECT_EQ(Told(game, CWieldOrder(0x5000999, SLOT_WEAPON)),
              std::vector<std::string>{"Wren can't wield it: the item is gone."});
    EXPECT_EQ(Told(game, CWieldOrder(daggers->GetId(), kEquipSlotCount)),
              std::vector<std::string>{"Wren can't wield Dagger: no equipment slot 7."});
    EXPECT_EQ(Told(game, CUnwieldOrder(-1)), std::vector<std::string>{"Wren can't unwield that: no equipment slot -1."});
}

TEST(EngineItems, SplitAndCombineKeepTheCountAndRefuseImpossibleOrders) {
    auto game = StartSampleGame();
    CActor& wren = *game.Main();
    const auto pies = Give(game, wren, "eel_pie", 5);
    const auto tonic = Give(game, wren, "river_tonic", 1);
    const std::vector<std::string> tooFew{"Wren can't split Eel Pie: the stack holds too few to split."};
    EXPECT_EQ(Told(game, CSplitOrder(pies->GetId(), 5)), tooFew);
    EXPECT_EQ(Told(game, CSplitOrder(pies->GetId(), 0)), tooFew);
    game.Engine().RunInstantOrder(wren, CSplitOrder(pies->GetId(), 4));
    EXPECT_EQ(pies->GetCount(), 1);
    const auto backpack = wren.GetBackpack();
    ASSERT_EQ(backpack.size(), 3u);
    EXPECT_EQ(backpack.back()->GetCount(), 4);

    EXPECT_EQ(Told(game, CCombineOrder(pies->GetId(), tonic->GetId())),
              std::vector<std::string>{"Wren can't combine Eel Pie with River Tonic: the stacks do not combine."});
    // Combining a stack with itself would drop it: refused, and the stack stays.
    EXPECT_EQ(Told(game, CCombineOrder(pies->GetId(), pies->GetId())),
              std::vector<std::string>{"Wren can't combine Eel Pie with Eel Pie: the stacks do not combine."});
    EXPECT_NE(FindItemById(wren.GetBackpack(), pies->GetId()), nullptr);
    game.Engine().RunInstantOrder(wren, CCombineOrder(pies->GetId(), backpack.back()->GetId()));
    EXPECT_EQ(pies->GetCount(), 5);
    EXPECT_EQ(wren.GetBackpack().size(), 2u);
}

// A stack holds no more than a save reads back: the first takes what it can and
// the rest stays in the second; a full first stack takes nothing.
TEST(EngineItems, CombiningPastTheLargestStackLeavesTheRestInTheSecond) {
    auto game = StartSampleGame();
    CActor& wren = *game.Main();
    const auto first = Give(game, wren, "eel_pie", 2000000000);
    const auto second = Give(game, wren, "eel_pie", 2000000000);
    game.Engine().RunInstantOrder(wren, CCombineOrder(first->GetId(), second->GetId()));
    EXPECT_EQ(first->GetCount(), 2147483647);
    EXPECT_EQ(second->GetCount(), 1852516353);
    EXPECT_EQ(wren.GetBackpack().size(), 2u);
    game.Engine().RunInstantOrder(wren, CCombineOrder(first->GetId(), second->GetId()));
    EXPECT_EQ(first->GetCount(), 2147483647);
    EXPECT_EQ(second->GetCount(), 1852516353);
}

// A member killed with item orders still queued: each is dropped, told, and moves
// nothing, as a give, a trade or a talk of the dead is.
TEST(EngineItems, TheDeadHandleNoItem) {
    auto game = StartSampleGame();
    QuillmereTest::JoinParty(game, {"reed_smuggler"}, 3, false);
    CActor& member = *game.Game().GetParty().at(1);
    CObject* basket = game.Area().FindObjectAt("float_basket", 8, 3);
    ASSERT_NE(basket, nullptr);
    ASSERT_FALSE(basket->GetItems().empty());
    const auto floatItem = basket->GetItems().front();
    const auto pies = Give(game, member, "eel_pie", 4);
    const auto pie = Give(game, member, "eel_pie", 1);
    const auto tonic = Give(game, member, "river_tonic", 1);
    const auto dagger = Give(game, member, "dagger", 1);
    member.SetActionState(ACTION_DEAD);
    const std::string dead = ": " + member.GetName() + " is dead.";
    const std::shared_ptr<COrder> orders[] = {
        std::make_shared<CGetOrder>(basket->GetId(), floatItem->GetId()),
        std::make_shared<CDropOrder>(0, pies->GetId()),
        std::make_shared<CDropOrder>(basket->GetId(), pie->GetId()),
        std::make_shared<CWieldOrder>(dagger->GetId(), SLOT_WEAPON),
        std::make_shared<CUnwieldOrder>(SLOT_ARMOR),
        std::make_shared<CSplitOrder>(pies->GetId(), 2),
        std::make_shared<CCombineOrder>(pies->GetId(), pie->GetId()),
        std::make_shared<CUseOrder>(USE_ITEM, tonic->GetId(), 0),
    };
    const std::size_t inBasket = basket->GetItems().size();
    const std::size_t packed = member.GetBackpack().size();
    for (const auto& order : orders) {
        SCOPED_TRACE(order->GetType());
        game.DrainEvents();
        game.Engine().RunInstantOrder(member, *order);
        const std::vector<std::string> told = Messages(game);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0].rfind(member.GetName() + " can't ", 0), 0u) << told[0];
        EXPECT_NE(told[0].find(dead), std::string::npos) << told[0];
        EXPECT_EQ(basket->GetItems().size(), inBasket);
        EXPECT_EQ(member.GetBackpack().size(), packed);
        EXPECT_EQ(pies->GetCount(), 4);
        EXPECT_EQ(member.GetEquipped(SLOT_WEAPON), nullptr);
        EXPECT_EQ(member.GetActionState(), ACTION_DEAD);
    }
}

TEST(EngineItems, GoldFromAPileGoesToThePartyAndTheEmptyPileGoes) {
    auto game = StartSampleGame();
    CActor& wren = *game.Main();
    const std::int32_t gold = game.Game().GetGold();
    const auto pile = game.Area().DropItem(game.Module(), wren.GetX() + 1.0, wren.GetY());
    auto coins = game.Module().CreateItem("gold", 30, game.Game().NewThingId(THING_ITEM), 0);
    pile->AddItem(coins);
    auto pie = game.Module().CreateItem("eel_pie", 2, game.Game().NewThingId(THING_ITEM), 0);
    pile->AddItem(pie);
    game.DrainEvents();

    game.Engine().RunInstantOrder(wren, CGetOrder(pile->GetId(), coins->GetId()));
    EXPECT_EQ(game.Game().GetGold(), gold + 30);
    EXPECT_TRUE(wren.GetBackpack().empty());
    EXPECT_EQ(Messages(game), std::vector<std::string>{"The party has gained 30 gold."});
    EXPECT_NE(game.Area().FindObject(pile->GetId()), nullptr);  // the pie is still there
    game.Engine().RunInstantOrder(wren, CGetOrder(pile->GetId(), pie->GetId()));
    EXPECT_EQ(game.Area().FindObject(pile->GetId()), nullptr);
    ASSERT_EQ(wren.GetBackpack().size(), 1u);

    // Dropped on the ground, it lies in a new pile at Wren's feet.
    game.Engine().RunInstantOrder(wren, CDropOrder(0, pie->GetId()));
    EXPECT_TRUE(wren.GetBackpack().empty());
    EXPECT_EQ(pie->GetHolder()->GetId() >> 24, static_cast<ThingId>(THING_OBJECT));
    EXPECT_EQ(Told(game, CGetOrder(pile->GetId(), pie->GetId())),
              std::vector<std::string>{"Wren can't take it from something: the container is gone."});
    // More dropped there joins it: one pile a cell, and a stack a kind on it.
    const auto more = game.Module().CreateItem("eel_pie", 3, game.Game().NewThingId(THING_ITEM), 0);
    wren.AddToBackpack(more, false);
    game.Engine().RunInstantOrder(wren, CDropOrder(0, more->GetId()));
    EXPECT_EQ(pie->GetCount(), 5);
    const auto objects = game.Area().GetObjects();
    const auto holdsPie = [&](const auto& object) { return object->GetItems() == ItemPtrList{pie}; };
    EXPECT_EQ(std::count_if(objects.begin(), objects.end(), holdsPie), 1);
}

TEST(EngineItems, TakingAQuestItemSetsItsTag) {
    auto game = StartSampleGame();
    CActor& wren = *game.Main();
    const auto pile = game.Area().DropItem(game.Module(), wren.GetX() + 1.0, wren.GetY());
    auto token = game.Module().CreateItem("ferry_token", 1, game.Game().NewThingId(THING_ITEM), 0);
    pile->AddItem(token);
    ASSERT_FALSE(game.Game().IsQuestTagSet("ferry_token_found"));

    game.Engine().RunInstantOrder(wren, CGetOrder(pile->GetId(), token->GetId()));
    EXPECT_TRUE(game.Game().IsQuestTagSet("ferry_token_found"));
    ASSERT_EQ(wren.GetBackpack().size(), 1u);
}

TEST(EngineItems, LocksAreTestedAgainstLocksPlusFiftyAndNoGiveItemsStay) {
    auto game = StartSampleGame();
    CActor& wren = *game.Main();
    const auto chest = game.Area().DropItem(game.Module(), wren.GetX() + 1.0, wren.GetY());
    const std::int32_t stat = wren.GetSpecialStat(SPECIAL_LOCKS);
    chest->SetUnlocked(false);
    chest->SetLockValue(static_cast<std::uint32_t>(stat + 50));
    const auto token = Give(game, wren, "ferry_token", 1);
    game.DrainEvents();
    EXPECT_FALSE(game.Engine().CheckObjectLock(wren, *chest));
    EXPECT_TRUE(chest->IsLocked());
    game.Engine().RunInstantOrder(wren, CDropOrder(chest->GetId(), token->GetId()));
    EXPECT_EQ(token->GetHolder(), &wren);
    chest->SetLockValue(static_cast<std::uint32_t>(stat + 49));
    EXPECT_TRUE(game.Engine().CheckObjectLock(wren, *chest));
    EXPECT_FALSE(chest->IsLocked());
    const auto texts = Messages(game);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1], "Wren can't drop Ferry Token.");
    EXPECT_EQ(texts[2].rfind("Wren picks the lock on ", 0), 0u) << texts[2];

    // Given to a party member standing by: the no-give token stays, a pie goes over.
    const auto friendAt = game.Spawn("ferry_keeper", 3, 2);
    ASSERT_TRUE(friendAt);
    const auto pie = Give(game, wren, "eel_pie", 1);
    EXPECT_EQ(Told(game, CGiveOrder(friendAt->GetId(), pie->GetId())),
              std::vector<std::string>{"Wren can't give Eel Pie to Mother Hesk: Mother Hesk is not of the party."});
    game.Game().AddPartyMember(friendAt);
    game.Engine().RunInstantOrder(wren, CGiveOrder(friendAt->GetId(), token->GetId()));
    game.Engine().RunInstantOrder(wren, CGiveOrder(friendAt->GetId(), pie->GetId()));
    EXPECT_EQ(FindItemById(friendAt->GetBackpack(), token->GetId()), nullptr);
    EXPECT_EQ(pie->GetHolder(), friendAt.get());

    // Nothing goes to one who is not of the party, nor to a member out of reach.
    game.EnterOpenArea(40, 20);
    const auto stranger = game.Spawn("landing_trader", 2, 1);
    const auto farAway = game.Spawn("reed_smuggler", 38, 18);
    ASSERT_TRUE(stranger && farAway);
    game.Game().AddPartyMember(farAway);
    ASSERT_GT(wren.DistanceTo(*farAway), wren.GetRadius() + kGiveReach + farAway->GetRadius());
    const auto tonic = Give(game, wren, "river_tonic", 1);
    const struct {
        const CActor& receiver;
        std::string why;
    } refusals[] = {
        {*stranger, stranger->GetName() + " is not of the party."},
        {*farAway, farAway->GetName() + " is out of reach."},
    };
    for (const auto& refusal : refusals) {
        EXPECT_EQ(Told(game, CGiveOrder(refusal.receiver.GetId(), tonic->GetId())),
                  std::vector<std::string>{"Wren can't give River Tonic to " + refusal.receiver.GetName() + ": " +
                                           refusal.why});
        EXPECT_EQ(tonic->GetHolder(), &wren);
    }
}
