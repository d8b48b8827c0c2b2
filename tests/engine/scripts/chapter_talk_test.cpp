// The chapter's conversations as the story stands: which replies each person
// offers, and the roads past the hide's lookouts that the walkthrough does not take.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scripts/script_test_game.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/order.h"

using QuillmereTest::ScriptTestGame;

namespace {

std::vector<std::string> Replies(const DRAV::CTalkTarget& partner) {
    std::vector<std::string> texts;
    for (const auto& choice : partner.GetTalkChoices()) texts.push_back(choice->GetText());
    return texts;
}

// A person beside Wren, spoken to in its first state.
std::shared_ptr<DRAV::CActor> Greet(const ScriptTestGame& game, const std::string& key) {
    auto person = game.Spawn(key, 8, 4);
    if (person) game.Engine().RunTalkOrder(*game.Main(), DRAV::CTalkOrder(person->GetId(), "start", ""));
    return person;
}

struct TalkRow {
    const char* person;
    std::vector<const char*> tags;
    std::int32_t gold;
    std::vector<std::string> replies;
};

TEST(ChapterTalk, EachPersonOffersTheRepliesTheStoryHasReached) {
    const std::vector<TalkRow> rows{
        {"ferry_keeper", {}, 0, {"Here is the fare.", "Not today."}},
        {"ferry_keeper",
         {"smugglers_seen"},
         0,
         {"Here is the fare.", "We saw lanterns in the reeds. Smugglers, and they keep a hide.", "Not today."}},
        {"ferry_keeper", {"smugglers_seen", "smugglers_reported"}, 0, {"Here is the fare.", "Not today."}},
        {"hide_lookout",
         {},
         19,
         {"Marrow sent for us. We carry his cargo tonight.", "Let the boatwright go, or we come through you.",
          "We are leaving."}},
        {"hide_lookout",
         {},
         20,
         {"Marrow sent for us. We carry his cargo tonight.", "Twenty gold says you saw nobody.",
          "Let the boatwright go, or we come through you.", "We are leaving."}},
        {"boatwright", {}, 0, {}},
        {"boatwright", {"hide_passage"}, 0, {"Cut the ropes and pull the gag out."}},
        {"boatwright", {"smugglers_routed"}, 0, {"Cut the ropes and pull the gag out."}},
        {"boatwright", {"boatwright_found"}, 0, {"Come with us.", "Not yet."}},
        {"boatwright", {"boatwright_found", "boatwright_returned"}, 0, {}},
        {"reed_witch", {}, 0, {"Will you walk with us a while?", "Good day to you.", "Just passing by."}},
        {"reed_witch",
         {"boatwright_asked"},
         0,
         {"We are looking for Orrin the boatwright.", "Will you walk with us a while?", "Good day to you.", "Just passing by."}},
        {"reed_witch",
         {"boatwright_asked", "boatwright_found"},
         0,
         {"Will you walk with us a while?", "Good day to you.", "Just passing by."}},
        {"dock_ferryman", {}, 0, {"We have nothing to fight them with.", "We will manage."}},
        {"dock_ferryman", {"spare_pole_given"}, 0, {}},
        {"ferryman_elder", {}, 0, {"What does the old heron statue want?", "Good night, old man."}},
    };
    for (const auto& row : rows) {
        ScriptTestGame game;
        for (const char* tag : row.tags) game.Game().SetQuestTag(tag, 1);
        game.Game().SetGold(row.gold);
        const auto person = Greet(game, row.person);
        ASSERT_TRUE(person) << row.person;
        EXPECT_EQ(Replies(*person), row.replies) << row.person << " with " << row.tags.size() << " tags";
    }
}

TEST(ChapterTalk, TwentyGoldBuysPassageAndAFailedBluffRousesTheHide) {
    ScriptTestGame game;
    game.Game().SetGold(25);
    const auto lookout = Greet(game, "hide_lookout");
    ASSERT_TRUE(lookout);
    EXPECT_TRUE(game.Game().IsQuestTagSet("smugglers_seen"));
    game.Engine().RunTalkOrder(*game.Main(), DRAV::CTalkOrder(lookout->GetId(), "bribe", ""));
    EXPECT_EQ(game.Game().GetGold(), 5);
    EXPECT_TRUE(game.Game().IsQuestTagSet("hide_passage"));
    EXPECT_EQ(lookout->GetRelation(), DRAV::RELATION_NEUTRAL);

    // The bare Wren of the fixture has no Diplomacy: the bluff fails and both
    // lookouts turn on her.
    ScriptTestGame other;
    const auto first = Greet(other, "hide_lookout");
    const auto second = other.Spawn("hide_lookout", 9, 4);
    ASSERT_TRUE(first && second);
    other.Area().GetSeenCells().Set(9, 4, true);
    other.Area().GetSeenCells().Set(8, 4, true);
    other.Engine().RunTalkOrder(*other.Main(), DRAV::CTalkOrder(first->GetId(), "bluff", ""));
    EXPECT_FALSE(other.Game().IsQuestTagSet("hide_passage"));
    EXPECT_EQ(first->GetRelation(), DRAV::RELATION_HOSTILE);
    EXPECT_EQ(second->GetRelation(), DRAV::RELATION_HOSTILE);
}

}  // namespace
