#pragma once
// The steps of the Ashcombe story as a player takes them, through the orders of a
// headless Player (tests/engine/story_player.h): Sefton's question, Nell's
// lantern, the sluice house and Wick, the Guild's strongbox and Marrow's ledger,
// the chain dropped by Sefton or, with him dead, at its windlass; and the deaths
// of Sefton and Nell at the party's hands.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/story_player.h"
#include "engine/story_steps.h"
#include "rules/kinds/formulas.h"
#include "world/master_tile.h"
#include "world/tile.h"

namespace QuillmereTest {

// The sluice house's doors, on the weir walk's east bank.
constexpr std::uint32_t kSluiceDoorColumn = 13;
constexpr std::uint32_t kSluiceDoorRow = 4;

inline bool SluiceHouseOpen(const Player& player) {
    const CTile* door = player.Area().GetTile(kSluiceDoorColumn, kSluiceDoorRow);
    return door && door->IsDoor() && door->GetDoor()->IsOpen();
}

// A new game of Ashcombe alone, its hero made as `character` at the level the
// chapter starts at.
inline SampleGame NewAshcombeGame(const Character& character) {
    return SampleGame(2, [&](CActor& hero) {
        hero.SetLevel(3);
        hero.SetExperience(GetXpThreshold(hero.GetBaseLevel() + 1 + 3));
        Create(hero, character);
    });
}

// A staff and a jerkin bought off Nell's barge, and taken up.
inline void ArmFromNellsCargo(Player& player) {
    auto& nell = *player.Person("bargewoman");
    player.Talk(nell, {"Let me see your cargo."});
    player.Buy(nell, "quarterstaff");
    player.Buy(nell, "padded_jerkin");
    player.Wield("quarterstaff", SLOT_WEAPON);
    player.Wield("padded_jerkin", SLOT_ARMOR);
    EXPECT_NE(player.Main()->GetEquipped(SLOT_ARMOR), nullptr);
}

// Arrived at the towpath's end: the quest and the journal's first entry say
// whom to ask, and the tutorial page named says so too.
inline void ArriveAtTheWeir(Player& player, const std::string& tutorial) {
    ASSERT_EQ(player.Area().GetName(), "ashcombe_weir");
    EXPECT_TRUE(player.Said("You have been assigned a quest (The Held Boats)."));
    EXPECT_EQ(JournalKeys(player), (std::vector<std::string>{"weir_arrival"}));
    EXPECT_TRUE(player.Said(tutorial + ": ")) << tutorial;
    if (tutorial != "tutorial_items") return;
    // What she carried up the towpath is in her pack, nothing in hand or worn, as the page says.
    for (int slot = 0; slot < kEquipSlotCount; ++slot)
        EXPECT_EQ(player.Main()->GetEquipped(static_cast<EquipSlot>(slot)), nullptr) << slot;
    EXPECT_TRUE(player.Said("nothing in hand or worn"));
}

// Sefton, by his chain, says what he waits for; `greeting` is his first line.
// Answered, the question is not offered again.
inline void AskSefton(Player& player, const std::string& greeting) {
    const auto left = player.Talk(*player.Person("toll_keeper"), {"What are you waiting for?"});
    EXPECT_EQ(std::count(left.begin(), left.end(), "What are you waiting for?"), 0);
    EXPECT_TRUE(player.Said(greeting)) << greeting;
    EXPECT_TRUE(player.Said("it has not gone down past my chain"));
}

// Nell on her barge has seen the lantern cross the weir at night.
inline void AskNell(Player& player) {
    player.Talk(*player.Person("bargewoman"), {"Have you seen anything strange on the weir?"});
    EXPECT_TRUE(player.Game().IsQuestTagSet("lantern_seen"));
}

// Told of the lantern, Sefton opens his sluice house across the weir walk.
inline void OpenTheSluiceHouse(Player& player) {
    player.Talk(*player.Person("toll_keeper"), {"Someone carries a lantern into your sluice house at night."});
    EXPECT_TRUE(SluiceHouseOpen(player));
}

// Told that Nell is dead before she said what she saw, Sefton remembers it
// himself and opens his sluice house.
inline void TellSeftonOfNell(Player& player) {
    player.Talk(*player.Person("toll_keeper"), {"Nell is dead. Did she ever tell you what she saw on the weir?"});
    EXPECT_TRUE(SluiceHouseOpen(player));
}

// The party turns on the person and strikes until it falls, then takes what it
// dropped.
inline void KillPerson(Player& player, const std::string& key) {
    const auto person = player.Person(key);
    ASSERT_TRUE(person) << key;
    SeedTheFight();
    ASSERT_TRUE(player.Kill(person)) << key << " still stands";
    ASSERT_TRUE(player.Main()->IsAlive());
    // A foe the fight roused is fought too.
    player.Fight();
    player.LootPiles();
}

// Sefton falls; his keys lie where he fell, and the party takes them.
inline void KillSefton(Player& player) {
    KillPerson(player, "toll_keeper");
    EXPECT_TRUE(player.Carries("seftons_keys")) << "Sefton's keys drop where he falls";
}

// Nell is struck from the west bank beside her barge, where the party walks
// first: from the east bank the walk to her stops at the weir walk's east end.
inline void KillNell(Player& player) {
    EXPECT_TRUE(player.WalkTo(6, 2));
    KillPerson(player, "bargewoman");
}

// With Sefton's keys the party opens the sluice house itself.
inline void UnlockTheSluiceHouse(Player& player) {
    EXPECT_TRUE(player.OpenDoor(kSluiceDoorColumn, kSluiceDoorRow));
    EXPECT_TRUE(player.Said("Sefton's key turns in the lock"));
}

// Over the weir walk to the sluice house door, where Wick, inside, stops the
// party; null when nobody did.
inline CActor* MeetWick(Player& player) {
    // He may come out to meet the party on the way.
    if (player.WalkTo(11, 5)) player.WalkTo(14, 5);
    for (int tick = 0; tick < 90 && !player.TalkPending(); ++tick) player.Tick();
    return dynamic_cast<CActor*>(player.TalkPending());
}

// Beaten, Wick yields as Marrow's men at the hide do, and once let go leaves.
inline void LetTheBeatenWickGo(Player& player) {
    ASSERT_TRUE(player.Main()->IsAlive());
    const auto wick = player.Person("weir_runner");
    ASSERT_TRUE(wick && wick->GetRelation() == RELATION_SURRENDER) << "Wick did not yield";
    player.Talk(*wick, {"Go, and keep off this river."});
    EXPECT_FALSE(player.Person("weir_runner"));
    player.LootPiles();
}

// Wick, met at the door, is fought for the strongbox.
inline void FightWick(Player& player) {
    CActor* wick = MeetWick(player);
    ASSERT_TRUE(wick) << "Wick stops whoever comes to the door";
    SeedTheFight();
    player.Talk(*wick, {"Step away from the Guild's strongbox."});
    EXPECT_TRUE(player.Game().IsQuestTagSet("wick_fought")) << "met again, he knows the fight";
    player.Fight();
    LetTheBeatenWickGo(player);
}

// Wick gone, the Guild's strongbox beside his stool holds Marrow's ledger and
// the month of tolls he carried off.
inline void TakeTheLedger(Player& player) {
    EXPECT_FALSE(player.Person("weir_runner"));
    CObject* strongbox = player.Thing("strongbox");
    ASSERT_TRUE(strongbox);
    ASSERT_TRUE(player.Loot(*strongbox)) << player.Main()->GetX() << " " << player.Main()->GetY();
    EXPECT_TRUE(player.Carries("marrows_ledger"));
    EXPECT_TRUE(player.Carries("guild_tolls"));
}

// The Guild's tolls are sold off Nell's barge instead of going back to Sefton.
inline void SellTheTolls(Player& player) {
    auto& nell = *player.Person("bargewoman");
    player.Talk(nell, {"Let me see your cargo."});
    player.Sell(nell, "guild_tolls");
    EXPECT_FALSE(player.Carries("guild_tolls"));
}

// The chapter is over and the held boats are on their way.
inline void ExpectTheBoatsReleased(Player& player) {
    EXPECT_EQ(player.Game().GetStateCode(), GAME_WON);
    EXPECT_EQ(player.Completed(), (std::vector<std::string>{"The Held Boats"}));
    // The closing page names the hero.
    const std::string& closing = player.Game().GetClosingText();
    EXPECT_NE(closing.find(player.Main()->GetName()), std::string::npos) << closing;
}

// The ledger brought to the chain: the boats go, and the chapter ends.
inline void BringSeftonTheLedger(Player& player) {
    player.Talk(*player.Person("toll_keeper"),
                {"We found the Guild's strongbox in your sluice house, and Marrow's ledger in it."});
    EXPECT_FALSE(player.Carries("marrows_ledger"));
    EXPECT_FALSE(player.Carries("guild_tolls")) << "the Guild's tolls go back to its keeper";
    EXPECT_EQ(JournalKeys(player).back(), "boats_released");
    ExpectTheBoatsReleased(player);
}

// With Sefton dead the party drops his chain itself, at the windlass, with his
// key and Marrow's ledger in hand.
inline void ReleaseTheChain(Player& player) {
    CObject* windlass = player.Thing("toll_windlass");
    ASSERT_TRUE(windlass);
    // From the west end of the weir walk one click on it takes her there. (From
    // the east bank a walk to the west bank's north end stops for good at the
    // weir walk's east end, for every goal there: a fault of walking, not of
    // this story.)
    EXPECT_TRUE(player.WalkTo(7, 5));
    player.Main()->ClearOrders();
    player.Main()->PushOrder(std::make_shared<CUseOrder>(USE_OBJECT, windlass->GetId(), 0), false);
    EXPECT_TRUE(player.TickUntil([&] { return player.TalkPending() == windlass; }, kPatience / 4))
        << "the windlass is out of reach from " << player.PartyPlaces();
    player.Talk(*windlass, {"Let the chain go."});
    EXPECT_TRUE(player.Said("The crank turns"));
    EXPECT_TRUE(player.Carries("marrows_ledger")) << "the hero follows it downriver";
    EXPECT_EQ(JournalKeys(player).back(), "boats_released_windlass");
    ExpectTheBoatsReleased(player);
}

}  // namespace QuillmereTest
