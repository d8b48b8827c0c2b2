// The engine tick's outcome on two fixed crowds (tests/support/tick_scenarios.h):
// where everyone stands and what the party has seen and explored after 300 and
// 3,000 ticks. Work on the tick's speed must leave these exactly as they are; the
// tick benchmark checks the same crowds over 36,000 ticks.

#include <gtest/gtest.h>

#include <string>

#include "support/tick_scenarios.h"

namespace {

using QuillmereTest::CrowdHash;
using QuillmereTest::HashText;

// Runs `crowd` to each tick count in turn, checking the crowd every tick, and
// gives the hash at each.
template <typename Crowd>
std::vector<std::string> HashesAt(Crowd& crowd, std::initializer_list<int> ticks) {
    std::vector<std::string> hashes;
    int done = 0;
    for (const int until : ticks) {
        for (; done < until; ++done) {
            const std::string wrong = crowd.Step();
            if (!wrong.empty()) {
                ADD_FAILURE() << "tick " << done + 1 << ": " << wrong;
                return hashes;
            }
        }
        hashes.push_back(HashText(CrowdHash(crowd.Game())));
    }
    return hashes;
}

TEST(TickBehaviour, EveryoneWalkingEndsWhereItAlwaysDid) {
    QuillmereTest::WalkingCrowd crowd(true);
    EXPECT_EQ(HashesAt(crowd, {300, 3000}), (std::vector<std::string>{"0xe551e1ba9e06fe20", "0x5d8e20f5a0a361da"}));
}

TEST(TickBehaviour, FightEndsWhereItAlwaysDid) {
    QuillmereTest::FightingCrowd crowd;
    EXPECT_EQ(HashesAt(crowd, {300, 3000}), (std::vector<std::string>{"0x6469b5319b35f735", "0xe619692419a12962"}));
    // The fight is a fight: goblins fall and are replaced.
    EXPECT_GT(crowd.Kills(), 0);
}

// Walkers crossing a wall both ways by its one gap, two cells wide, hold each other
// up there: they follow those going their way, wait for those coming the other way
// or give way to them, and a walk seldom ends before its goal. Nearly every walker
// gets across in the first hundred seconds.
TEST(TickBehaviour, WalkersCrossingAGapBothWaysWaitForEachOtherAndSeldomGiveUp) {
    QuillmereTest::GapCrowd crowd(25, true);
    for (int tick = 1; tick <= 3000; ++tick) {
        const std::string wrong = crowd.Step();
        ASSERT_EQ(wrong, "") << "tick " << tick;
    }
    EXPECT_GE(crowd.CrossersThatCrossed(), 20);
    EXPECT_GE(crowd.Crossings(), 75);
    EXPECT_LE(crowd.GaveUp() * 5, crowd.Crossings()) << crowd.GaveUp() << " gave up";
}

}  // namespace
