// The drowned watch of the marsh, as a new player meets it: the story's ways
// through the marsh (to Marra's fire, out by the lane, over the bridge to the
// hide) never come near enough to rouse it, whoever walks with the party; and a
// party that goes looking for it is told what it is before any warden rises.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "common/random.h"
#include "engine/story_steps.h"

using namespace DRAV;
using QuillmereTest::Player;

namespace {

const QuillmereTest::Character kNewcomer{CLASS_FIGHTER,
                                         {ATTR_AGILITY, ATTR_STRENGTH, ATTR_DURABILITY},
                                         {SKILL_STAFF, SKILL_LIGHT_ARMOR, SKILL_HEAVY_ARMOR}};

bool WatchRisen(const Player& player) {
    const auto& actors = player.Area().GetActors();
    return std::any_of(actors.begin(), actors.end(), [](const auto& actor) {
        return actor->GetTemplateName() == "drowned_warden" && actor->GetRelation() == RELATION_HOSTILE;
    });
}

const char* const kWarning = "drowned wardens of the Guild";

TEST(DrownedWatch, TheStorysWaysThroughTheMarshLeaveItStanding) {
    DRAVCommon::GetRandomEngine().seed(3);
    Player player(kNewcomer);
    QuillmereTest::WalkIntoTheMarsh(player);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    // Marra and her wisp come along, as both players had them.
    QuillmereTest::AskMarraAlong(player);
    // Out by the lane's end, where the way home is offered, and a while there.
    player.WalkTo(1, 4);
    for (int tick = 0; tick < 600; ++tick) player.Tick();
    EXPECT_FALSE(WatchRisen(player)) << "at the way out by the lane";
    // Over the bridge to the hide's lookouts, and down to the skiff.
    player.WalkTo(13, 4);
    player.WalkTo(17, 5);
    for (int tick = 0; tick < 300; ++tick) player.Tick();
    EXPECT_FALSE(WatchRisen(player)) << "on the far bank";
    EXPECT_FALSE(player.Said(kWarning)) << "the warning is for those who go looking";
    for (const auto& member : player.Game().GetParty()) EXPECT_TRUE(member->IsAlive()) << member->GetName();
}

TEST(DrownedWatch, WhoeverGoesLookingIsWarnedBeforeItRises) {
    DRAVCommon::GetRandomEngine().seed(3);
    Player player(kNewcomer);
    QuillmereTest::WalkIntoTheMarsh(player);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    // Towards the south shallows and in among the watch, one cell at a time.
    bool warnedFirst = false;
    for (const auto& [column, row] :
         {std::pair{9, 5}, {9, 6}, {9, 7}, {9, 8}, {8, 8}, {7, 8}, {6, 8}, {5, 8}, {4, 8}, {3, 8}}) {
        player.WalkTo(column, row, [&] { return WatchRisen(player); });
        if (WatchRisen(player)) break;
        warnedFirst = warnedFirst || player.Said(kWarning);
    }
    EXPECT_TRUE(warnedFirst) << "the watch rose before a word of warning";
    EXPECT_TRUE(WatchRisen(player)) << "the watch let a party walk in among it";
}

}  // namespace
