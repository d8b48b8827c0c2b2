// The chapter's conversations as the story stands: which replies each person
// offers, and the roads past the hide's lookouts that the walkthrough does not take.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/random.h"
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

// A person beside Wren, spoken to in `state` (its first state by default); with
// `joined`, one who walks with the party, spoken to as its action bar's Talk does.
std::shared_ptr<DRAV::CActor> Greet(const ScriptTestGame& game, const std::string& key,
                                    const std::string& state = "start", bool joined = false) {
    auto person = game.Spawn(key, 8, 4);
    if (person && joined) game.Game().AddPartyMember(person);
    if (person) game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(person->GetId(), state, ""));
    return person;
}

struct TalkRow {
    const char* person;
    std::vector<const char*> tags;
    std::int32_t gold;
    std::vector<std::string> replies;
    // Words the person says, as far as the story has come; and in which state.
    const char* says = "";
    const char* state = "start";
    // Words the story has left behind, which the person must not say.
    const char* never = nullptr;
    int chapter = 1;
    bool joined = false;  // the person walks with the party
};

// What each person offers and says follows what the party has done, whatever the
// order it did it in.
TEST(ChapterTalk, EachPersonOffersTheRepliesTheStoryHasReached) {
    const std::string fare = "Here is the fare.";
    const std::string cross = "We need to cross the river.";
    const std::string report = "We saw lanterns in the reeds. Smugglers, and they keep a hide.";
    const std::string join = "Will you walk with us a while?";
    const std::vector<std::string> wickReplies{"Marrow sent us to fetch it. You can go.",
                                               "Step away from the Guild's strongbox.", "We will come back."};
    const std::string wardens =
        "Mother Hesk sent the Reed Wardens after Marrow's hide. No boat is coming for that box.";
    const std::vector<std::string> nellReplies{"Let me see your cargo.", "Have you seen anything strange on the weir?",
                                               "Another time."};
    const std::vector<TalkRow> rows{
        {"ferry_keeper", {}, 0, {cross, "Not today."}, "I am Hesk, and I keep this landing.", "start", "reed mud"},
        // Met first by a party back from the hide, she asks what it saw there.
        {"ferry_keeper",
         {"smugglers_seen"},
         0,
         {report, cross, "Not today."},
         "reed mud on your boots",
         "start",
         "The marsh lane leaves the landing"},
        {"ferry_keeper", {"hesk_met"}, 0, {cross, "Not today."}, "Well met again."},
        // Told by Marra where the hide is, the party can tell her before it has seen it.
        {"ferry_keeper", {"hesk_met", "hide_named"}, 0,
         {"Marra the reed witch says Marrow's smugglers keep a hide in the marsh.", cross, "Not today."}},
        // Once told, she asks for no news she has had.
        {"ferry_keeper", {"hesk_met", "smugglers_reported"}, 0, {cross, "Not today."}, "The Wardens have your news",
         "start", "What news from the reeds?"},
        {"ferry_keeper", {"hesk_met", "smugglers_seen"}, 0, {report, cross, "Not today."}},
        {"ferry_keeper", {"hesk_met", "smugglers_seen", "smugglers_reported"}, 0, {cross, "Not today."}},
        {"ferry_keeper", {"hesk_met", "ferry_fare_asked"}, 0, {fare, "Not today."}},
        {"ferry_keeper", {}, 0, {fare, "Another time."}, "however many of you ride in it", "ferry", "a head"},
        {"ferry_keeper", {"boatwright_returned"}, 0, {fare, "Another time."}, "Orrin has caulked her", "ferry"},
        {"ferry_keeper",
         {"boatwright_seen"},
         0,
         {"We saw Orrin, bound in a smugglers' skiff in the marsh.", fare, "Another time."},
         "only Orrin the boatwright can caulk it",
         "ferry",
         "Ask Hollis"},
        {"ferry_keeper", {"boatwright_seen"}, 0, {fare, "Another time."}, "cut him loose", "orrin_seen"},
        {"ferry_keeper", {"boatwright_drowned"}, 0, {fare, "Another time."}, "Brannoc has caulked her", "ferry"},
        // Nobody has named the boatwright or Marrow to the party yet; short of twenty gold, it asks the price.
        {"hide_lookout",
         {},
         19,
         {"Your captain sent for us. We carry his cargo tonight.", "What would it cost us to pass?",
          "Stand aside, or we come through you.", "We are leaving."}},
        {"hide_lookout", {}, 8, {"We are leaving."}, "Twenty gold, and I never saw you.", "price"},
        {"hide_lookout",
         {"boatwright_asked", "witch_told"},
         20,
         {"Marrow sent for us. We carry his cargo tonight.", "Twenty gold says you saw nobody.",
          "Let the boatwright go, or we come through you.", "We are leaving."}},
        // Orrin free, nobody asks them to let him go.
        {"hide_lookout",
         {"boatwright_asked", "witch_told", "boatwright_found"},
         20,
         {"Marrow sent for us. We carry his cargo tonight.", "Twenty gold says you saw nobody.",
          "Stand aside, or we come through you.", "We are leaving."}},
        // Fooled by the tale of Marrow's cargo, they know the party again and wave it
        // on: no second tale. Paid, they ask no second price (TwentyGoldBuysPassage...).
        {"hide_lookout", {"hide_passage"}, 40, {"We are going."}, "Marrow's cargo won't carry itself.", "start",
         "That's far enough"},
        // Met again after a fight, however it ended, they know the party and want no
        // tale of Marrow's cargo.
        {"hide_lookout",
         {"hide_fought", "witch_told"},
         20,
         {"Twenty gold says you saw nobody.", "Stand aside, or we come through you.", "We are leaving."},
         "You again?",
         "start",
         "Nobody comes to this side"},
        // Bound and gagged, he says nothing: what the party sees is told, not said by him.
        {"boatwright", {}, 0, {}, "A man lies bound in the skiff.", "start", "Orrin the Boatwright : "},
        {"boatwright", {"hide_passage"}, 0, {"Cut the ropes and pull the gag out."}},
        // Landed unseen by Marra's punt, or the hide cleared by the Wardens, the party may free him.
        {"boatwright", {"hide_unseen"}, 0, {"Cut the ropes and pull the gag out."}},
        {"boatwright", {"smugglers_reported"}, 0, {"Cut the ropes and pull the gag out."}},
        // With the lookouts dead, what he fears is in the skiff shed.
        {"boatwright", {"hide_lookouts_down"}, 0, {}, "His eyes go to the skiff shed", "start", "to the lookouts"},
        {"boatwright", {"smugglers_routed"}, 0, {"Cut the ropes and pull the gag out."}},
        {"boatwright", {"boatwright_found"}, 0, {"Come with us.", "Not yet."}},
        {"boatwright", {"boatwright_found", "boatwright_returned"}, 0, {}},
        {"reed_witch", {}, 0, {"What are the lights in the reeds at night?", join, "Farewell, Marra.", "Just passing by."}},
        // Met before, the party is no stranger to her.
        {"reed_witch", {"witch_met"}, 0,
         {"What are the lights in the reeds at night?", join, "Farewell, Marra.", "Just passing by."},
         "Still on your feet?", "start", "my fire"},
        {"reed_witch",
         {"boatwright_asked"},
         0,
         {"We are looking for Orrin the boatwright.", join, "Farewell, Marra.", "Just passing by."}},
        {"reed_witch",
         {"boatwright_asked", "boatwright_found", "smugglers_seen"},
         0,
         {join, "Farewell, Marra.", "Just passing by."}},
        // A party seeking Orrin can have her punt whenever it took her along: told
        // where he is, it asks for the punt at once, at her fire or walking with her;
        // not told yet, it asks after him, and hears of both.
        {"reed_witch", {"boatwright_asked", "witch_told"}, 0,
         {"Take us round to the hide in your punt.", join, "Farewell, Marra.", "Just passing by."}},
        {"reed_witch", {"boatwright_asked"}, 0,
         {"We are looking for Orrin the boatwright.", "We can manage without you now, Marra.", "Nothing. Walk on."},
         "My feet ache", "start", nullptr, 1, true},
        {"reed_witch", {"boatwright_asked", "witch_told"}, 0,
         {"Take us round to the hide in your punt.", "We can manage without you now, Marra.", "Nothing. Walk on."},
         "My feet ache", "start", nullptr, 1, true},
        {"reed_witch", {"boatwright_asked"}, 0, {"Can you get us there unseen?", "Thank you, Marra."},
         "Marrow's smugglers have him", "boatwright", nullptr, 1, true},
        {"reed_witch", {"boatwright_asked", "boatwright_found"}, 0,
         {"We can manage without you now, Marra.", "Nothing. Walk on."}, "My feet ache", "start", nullptr, 1, true},
        // Once both lookouts are down nobody watches the bridge.
        {"reed_witch", {"hide_lookouts_down"}, 0, {}, "nobody watches the bridge now", "punt", "the lookouts only"},
        {"reed_witch", {}, 0, {}, "the lookouts only watch the bridge", "punt"},
        // Tansy asks about the fare only of a party that cannot pay it.
        {"landing_trader", {"ferry_fare_asked"}, 20, {"Let me see your goods.", "Another time."}, "Take a look.",
         "start", "Short of the ferry fare?"},
        {"landing_trader", {"ferry_fare_asked"}, 3, {"Let me see your goods.", "Another time."},
         "Short of the ferry fare?"},
        {"dock_ferryman", {}, 0, {"We have nothing to fight them with.", "We will manage."}, "goblins on the lane"},
        // A party long off the ferry is not greeted as fresh from it.
        {"dock_ferryman",
         {"lane_goblins_beaten"},
         0,
         {"We have nothing to fight them with.", "We will manage."},
         "The lane is quiet now",
         "start",
         "Off the ferry"},
        {"dock_ferryman", {"spare_pole_given"}, 0, {}},
        // Partings name no time of day: the chapter opens at eight in the morning,
        // and the clock runs on through travel and rest.
        {"ferryman_elder", {}, 0, {"What does the old heron statue want?", "Fair winds, old man."}},
        {"ferry_keeper", {"hesk_met"}, 0, {"We need to cross the river.", "Fair winds, Mother Hesk."},
         "The Wardens will hear of it", "report"},
        {"innkeeper", {}, 0, {"We will look for him.", "Tell me something else."}, "has not been at his slip", "news"},
        // Goblins fighting on the lane by his door come before any talk.
        {"innkeeper", {"lane_ambush"}, 0, {}, "Goblins at my door!", "start", "Welcome to the Heron's Rest"},
        // A party that saw Orrin bound can say so, and is not told to look in the marsh.
        {"innkeeper",
         {"boatwright_seen"},
         0,
         {"We saw him, bound in a smugglers' skiff at their hide.", "Tell me something else."},
         "has not been at his slip",
         "news",
         "he is in the marsh"},
        {"innkeeper", {"boatwright_seen"}, 0, {"We will bring him home.", "Tell me something else."}, "Bound, but alive", "seen"},
        {"innkeeper", {"boatwright_drowned"}, 0, {"Tell me something else."}, "Orrin is dead", "news"},
        {"innkeeper",
         {"witch_lost", "boatwright_found"},
         0,
         {"Tell me something else."},
         "Marra the reed witch is dead",
         "news"},
        {"innkeeper", {"boatwright_found"}, 0, {"Tell me something else."}, "You found Orrin!", "news"},
        {"innkeeper",
         {"boatwright_found", "boatwright_returned"},
         0,
         {"Tell me something else."},
         "Orrin is back at his slip",
         "news"},
        // Won over, he tells of the smugglers as the landing knows them by then.
        {"innkeeper", {}, 0, {"Thank you, Hollis."}, "they took the boatwright's skiff", "confide"},
        {"innkeeper", {"boatwright_found", "boatwright_returned"}, 0, {"Thank you, Hollis."}, "till you cut him loose",
         "confide", "took the boatwright's skiff"},
        {"innkeeper", {"boatwright_drowned"}, 0, {"Thank you, Hollis."}, "Orrin never came back from them", "confide",
         "took the boatwright's skiff"},
        // Asked something else in the same talk, he greets nobody again.
        {"innkeeper", {"hollis_met"}, 0,
         {"What news on the river?", "What have you got to eat?", "Have you a room for the night?", "Farewell."},
         "What else can I do for you?", "more", "Back at"},
        // A night's rest for the whole company, paid in the morning; a purse short of
        // it hears the price and no offer.
        {"innkeeper", {}, 4, {"We'll take the room.", "Tell me something else.", "Farewell."}, "paid at breakfast",
         "room"},
        {"innkeeper", {}, 3, {"Tell me something else.", "Farewell."}, "Your purse won't stretch to four", "room",
         "paid at breakfast"},
        // Won over once, he gives no second lantern.
        {"innkeeper", {"hollis_confided"}, 0, {"Tell me something else.", "Farewell."}, "as I told you",
         "lanterns", "Take this lantern"},
        // Met again, Wick and Nell know the party; Wick knows his knife too.
        {"weir_runner", {"wick_spoken"}, 0, wickReplies, "You again.", "start", "Sefton's hounds", 2},
        {"weir_runner", {"wick_spoken", "wick_fought", "sefton_dead"}, 0, wickReplies,
         "Back for another taste of my knife?", "start", "I heard Sefton fall", 2},
        // A party that told Mother Hesk of the hide, by whatever road, can send him off with it.
        {"weir_runner", {"smugglers_reported"}, 0, {wardens, wickReplies[0], wickReplies[1], wickReplies[2]}, "",
         "start", nullptr, 2},
        {"bargewoman", {"nell_met"}, 0, nellReplies, "You again?", "start", "A week above this weir", 2},
        {"bargewoman", {"nell_met", "sefton_dead", "nell_told_sefton_dead"}, 0, nellReplies, "You again?", "start",
         "Sefton's dead", 2},
    };
    for (const auto& row : rows) {
        // Each row throws its own dice, whatever rows come before it.
        DRAVCommon::GetRandomEngine().seed(1);
        const ScriptTestGame game =
            row.chapter == 1 ? ScriptTestGame() : ScriptTestGame(2, [](DRAV::CActor& hero) { hero.SetName("Wren"); });
        // Beside where Greet places the person, as the first chapter's hero stands.
        if (row.chapter != 1) game.Main()->FinalizeMove(7 * 2.5 + 1.25, 4 * 2.5 + 1.25);
        for (const char* tag : row.tags) game.Game().SetQuestTag(tag, 1);
        game.Game().SetGold(row.gold);
        const auto person = Greet(game, row.person, row.state, row.joined);
        ASSERT_TRUE(person) << row.person;
        const std::string story = std::string(row.person) + " in " + row.state + " with " +
                                  std::to_string(row.tags.size()) + " tags" + (row.joined ? ", in the party" : "");
        EXPECT_EQ(Replies(*person), row.replies) << story;
        const auto lines = game.Lines();
        const bool said = std::any_of(lines.begin(), lines.end(),
                                      [&](const std::string& line) { return line.find(row.says) != std::string::npos; });
        EXPECT_TRUE(said) << story << " does not say \"" << row.says << "\"";
        if (row.never) {
            for (const auto& line : lines) {
                EXPECT_EQ(line.find(row.never), std::string::npos) << story << ": " << line;
            }
        }
    }
}

// The game lets nobody rest with a foe upon the party: Hollis's room is refused
// with the game's own words, and costs nothing. The night had and paid for once is
// the story's (RestAtTheInn).
TEST(ChapterTalk, ARoomRefusedWithAFoeAboutCostsNothing) {
    ScriptTestGame game;
    game.Game().SetGold(10);
    const auto hollis = game.Innkeeper();
    const auto goblin = game.Spawn("reed_goblin", 9, 5);
    ASSERT_TRUE(hollis && goblin);
    goblin->SetRelation(DRAV::RELATION_HOSTILE);
    game.Tick();
    ASSERT_TRUE(game.Game().IsInBattle());
    game.DrainEvents();
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(hollis->GetId(), "night", ""));
    const auto lines = game.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "You cannot rest while in battle."), lines.end());
    EXPECT_EQ(game.Game().GetStateCode(), DRAV::GAME_PLAYING);
    EXPECT_EQ(game.Game().GetGold(), 10);
}

TEST(ChapterTalk, TwentyGoldBuysPassageAndAFailedBluffRousesTheHide) {
    ScriptTestGame game;
    game.Game().SetGold(25);
    const auto lookout = Greet(game, "hide_lookout");
    ASSERT_TRUE(lookout);
    EXPECT_TRUE(game.Game().IsQuestTagSet("smugglers_seen"));
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(lookout->GetId(), "bribe", ""));
    EXPECT_EQ(game.Game().GetGold(), 5);
    EXPECT_TRUE(game.Game().IsQuestTagSet("hide_passage"));
    EXPECT_EQ(lookout->GetRelation(), DRAV::RELATION_NEUTRAL);
    // Clicked again, he remembers the twenty gold and asks for no more.
    game.DrainEvents();
    game.Engine().RunInstantOrder(*game.Main(), DRAV::CTalkOrder(lookout->GetId(), "start", ""));
    EXPECT_EQ(Replies(*lookout), std::vector<std::string>{"We are going."});
    const auto again = game.Lines();
    EXPECT_TRUE(std::any_of(again.begin(), again.end(),
                            [](const std::string& line) { return line.find("Paid is paid.") != std::string::npos; }));
    EXPECT_EQ(game.Game().GetGold(), 5);

    // The bare Wren of the fixture has no Diplomacy: the bluff fails and both
    // lookouts turn on her.
    ScriptTestGame other;
    const auto first = Greet(other, "hide_lookout");
    const auto second = other.Spawn("hide_lookout", 9, 4);
    ASSERT_TRUE(first && second);
    other.Area().GetSeenCells().Set(9, 4, true);
    other.Area().GetSeenCells().Set(8, 4, true);
    other.Engine().RunInstantOrder(*other.Main(), DRAV::CTalkOrder(first->GetId(), "bluff", ""));
    EXPECT_FALSE(other.Game().IsQuestTagSet("hide_passage"));
    EXPECT_TRUE(other.Game().IsQuestTagSet("hide_fought")) << "met again, they remember the fight";
    EXPECT_FALSE(game.Game().IsQuestTagSet("hide_fought"));
    EXPECT_EQ(first->GetRelation(), DRAV::RELATION_HOSTILE);
    EXPECT_EQ(second->GetRelation(), DRAV::RELATION_HOSTILE);
}

}  // namespace
