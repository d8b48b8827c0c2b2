#pragma once
// The steps of the Ashcombe story as a player takes them, through the orders of a
// headless Player (tests/engine/story_player.h): Sefton's question, Nell's
// lantern, the sluice house and Wick, the Guild's strongbox and Marrow's ledger.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/story_player.h"
#include "engine/story_steps.h"
#include "world/master_tile.h"
#include "world/tile.h"

namespace QuillmereTest {

// Arrived at the towpath's end: the quest and the journal's first entry say
// whom to ask, and the tutorial page named says so too.
inline void ArriveAtTheWeir(Player& player, const std::string& tutorial) {
    ASSERT_EQ(player.Area().GetName(), "ashcombe_weir");
    EXPECT_TRUE(player.Said("You have been assigned a quest (The Held Boats)."));
    EXPECT_EQ(JournalKeys(player), (std::vector<std::string>{"weir_arrival"}));
    EXPECT_TRUE(player.Said(tutorial + ": ")) << tutorial;
}

// Sefton, by his chain, says what he waits for; `greeting` is his first line.
inline void AskSefton(Player& player, const std::string& greeting) {
    player.Talk(*player.Person("toll_keeper"), {"What are you waiting for?"});
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
    const CTile* door = player.Area().GetTile(13, 4);
    ASSERT_TRUE(door && door->GetDoor());
    EXPECT_TRUE(door->GetDoor()->IsOpen());
}

// Over the weir walk to the sluice house door, where Wick, inside, stops the
// party; null when nobody did.
inline CActor* MeetWick(Player& player) {
    EXPECT_TRUE(player.WalkTo(11, 5));
    player.WalkTo(14, 5);
    for (int tick = 0; tick < 90 && !player.TalkPending(); ++tick) player.Tick();
    return dynamic_cast<CActor*>(player.TalkPending());
}

// Wick gone, the Guild's strongbox beside his stool holds Marrow's ledger.
inline void TakeTheLedger(Player& player) {
    EXPECT_EQ(JournalKeys(player).back(), "strongbox_free");
    CObject* strongbox = player.Thing("strongbox");
    ASSERT_TRUE(strongbox);
    const std::int32_t gold = player.Game().GetGold();
    ASSERT_TRUE(player.Loot(*strongbox)) << player.Main()->GetX() << " " << player.Main()->GetY();
    EXPECT_TRUE(player.Carries("marrows_ledger"));
    EXPECT_EQ(player.Game().GetGold(), gold + 40);
}

// The ledger brought to the chain: the boats go, and the chapter ends.
inline void BringSeftonTheLedger(Player& player) {
    player.Talk(*player.Person("toll_keeper"),
                {"We found the Guild's strongbox in your sluice house, and Marrow's ledger in it."});
    EXPECT_FALSE(player.Carries("marrows_ledger"));
    EXPECT_EQ(player.Game().GetStateCode(), GAME_WON);
    EXPECT_EQ(player.Completed(), (std::vector<std::string>{"The Held Boats"}));
    EXPECT_EQ(JournalKeys(player).back(), "boats_released");
    // The closing page names the hero, who goes on downriver alone.
    const std::string& closing = player.Game().GetClosingText();
    EXPECT_NE(closing.find(player.Main()->GetName() + " follows Marrow's ledger"), std::string::npos) << closing;
}

}  // namespace QuillmereTest
