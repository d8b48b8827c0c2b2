// The fight at the smugglers' hide, taken by a new fighter and a new talker with
// Marra beside them: the witch fights as the level-3 spellcaster her page says,
// and comes through it, over many throws of the dice, not only the walkthrough's.

#include <gtest/gtest.h>

#include "common/random.h"
#include "engine/story_steps.h"

using namespace DRAV;
using QuillmereTest::Character;
using QuillmereTest::Player;

namespace {

constexpr int kThrows = 10;

TEST(HideFight, MarraComesThroughItBesideANewHero) {
    for (const Character& hero : {QuillmereTest::kFighter, QuillmereTest::kTalker}) {
        int won = 0;
        int marraStands = 0;
        for (int seed = 0; seed < kThrows; ++seed) {
            DRAVCommon::GetRandomEngine().seed(seed);
            Player player(hero);
            QuillmereTest::TakeTobinsPole(player);
            QuillmereTest::FightTheLaneGoblins(player);
            QuillmereTest::WalkIntoTheMarsh(player);
            QuillmereTest::AskMarraAlong(player);
            ASSERT_FALSE(::testing::Test::HasFatalFailure());
            const auto marra = player.Person("reed_witch");
            // Her page and her strength agree with the manual's spellcaster of level 3:
            // at least 16 hit points a level and her Durability bonus, and a base
            // attack of 2.5 a level.
            if (seed == 0) {
                EXPECT_GE(marra->GetMaxHitPoints(), 3 * (16 + 2));
                EXPECT_EQ(marra->GetBaseAttackBonus(), 7);
            }
            CThing* lookout = QuillmereTest::WalkUpToTheHide(player);
            ASSERT_TRUE(lookout) << "the lookouts stop the party";
            DRAVCommon::GetRandomEngine().seed(seed);
            player.Talk(*lookout, {QuillmereTest::FirstOffered(player, *lookout,
                                                               {"Let the boatwright go, or we come through you.",
                                                                "Stand aside, or we come through you."})
                                       .c_str()});
            player.Fight();
            won += player.Main()->IsAlive() && player.Said("has killed Captain Marrow");
            marraStands += marra->IsAlive();
        }
        EXPECT_GE(won, kThrows - 1) << GetClassName(hero.actorClass);
        EXPECT_GE(marraStands, kThrows - 1) << GetClassName(hero.actorClass) << ": Marra fell in "
                                            << kThrows - marraStands << " of " << kThrows;
    }
}

}  // namespace
