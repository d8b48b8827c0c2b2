// The story credited whatever order a player takes it in: each quest whose goal
// the party reaches is given to it if nobody had, and completes with its reward
// once. Each row plays the chapter to the crossing in one order, through the
// same orders a player gives (tests/engine/story_steps.h), and checks the
// experience, the quests and the journal at the end, words that must not be
// heard in that order, and that nobody began a conversation amid a fight. The
// chapter ends too when a companion the story leans on dies on the way.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/data_file_reader.h"
#include "common/random.h"
#include "engine/story_steps.h"

using namespace DRAV;
using QuillmereTest::Player;

namespace {

// Every order goes past the hide's lookouts by talk: the fight there is the
// walkthrough's fighter's, and no fight's dice should decide what is credited.
using QuillmereTest::kTalker;

using Step = std::function<void(Player&)>;

struct Order {
    const char* name;
    std::vector<Step> steps;
    std::set<std::string> quests;   // titles of the quests completed
    std::set<std::string> journal;  // keys of the journal's records
    std::vector<std::string> unsaid = {};  // words out of place in this order, in the log or the journal
    std::vector<std::string> heard = {};   // words said, in this order
};

// Nowhere: the fare is for the boat, however many ride in it.
const std::vector<std::string> kNeverSaid{"the same for everyone", "five gold a head"};
// Heard once on every road, however often the party comes by: Orrin's word as he
// comes home, shown in its box and kept in the log as one line, and the
// innkeeper writing the company into his book. (Orrin, who falls on the way, is
// not heard: a road where he does names his word among its unsaid ones.)
const char* const kOrrinHome = "There's my slip, and my boathouse!";
const std::vector<std::string> kSaidOnce{kOrrinHome, "Let me write your company in the book"};
// The journal keeps what it was told, dated: no record tells of Orrin walking with
// the party as it stands now, which his fall would make false.
const char* const kOrrinWalksOn = "walks with us";
// Every order goes past the hide's lookouts by talk, and Marrow's crew is never
// fought: the end pages tell of no fight there.
const std::vector<std::string> kNeverShownUnfought{"have gone out", "drawn up in the reeds", "no lantern moves"};
// The end pages and the closing page run in the story's order, each picture in the
// light its words tell: the ferry leaves at dusk, the Wardens come at first light,
// and the landing's own picture, its lamp lit at dusk, closes on the evening after.
const std::vector<std::string> kEndPagesInOrder{"win1_ferry.jpg: The ferry waits for the evening tide and pulls away from Reedwater at dusk",
                                                "lights the keeper's lamp", "win1_marsh.jpg: At first light",
                                                "puts out the keeper's lamp", "chapter.jpg: By evening",
                                                "lights the keeper's lamp again"};

// The text of the chapter's end pages, as the chapter-end dialog reads them from
// "win.drav", then the closing page under the chapter's own picture.
std::string EndPages(const Player& player) {
    DRAVCommon::CDataFileReader reader(*player.Engine().GetDataSource(), DRAVCommon::DFK_CHAPTER,
                                       DRAVCommon::DFS_NONE, "win.drav");
    std::string text;
    for (reader.BeginBlock("win"); reader.IsBlock("page"); reader.EndBlock()) {
        reader.BeginBlock("page");
        const std::string picture = reader.ReadQuoted();
        text += picture + ": " + reader.ReadQuoted() + "\n";
    }
    return text + "chapter.jpg: " + player.Game().GetClosingText();
}

const std::set<std::string> kAllQuests(QuillmereTest::kStoryOrder.begin(), QuillmereTest::kStoryOrder.end());

TEST(StoryOrder, EveryQuestReachedIsCreditedOnceWhateverTheOrder) {
    using namespace QuillmereTest;
    const std::vector<Order> orders{
        {"as the story intends",
         {TakeTobinsPole, FightTheLaneGoblins, OpenTheCrate, HearHollisNews, AnswerTheHeron, AskHeskAboutTheFerry,
          WalkIntoTheMarsh, AskMarraAlong, BluffPastTheLookouts, FreeOrrin, BringOrrinHome, ReportTheSmugglers,
          PayTheFare},
         kAllQuests,
         {"landing_arrival", "smugglers_asked", "boatwright_missing", "heron_riddle_answered", "ferry_fare",
          "witch_told", "smugglers_seen", "boatwright_found", "boatwright_escort", "boatwright_home",
          "smugglers_reported", "ferry_crossed"}},
        // Nobody asked after the boatwright when he was freed, and the heron was
        // passed by: Hollis hears the news afterwards.
        // The spellcaster's road: the marsh before anyone on the landing is asked.
        // Hesk first hears from a party that has seen the hide and asks the fare of
        // a ferry already caulked; the heron is answered after the marsh, and the
        // loose board crossed once the smugglers are reported.
        {"the boatwright freed before Hollis asks",
         {TakeTobinsPole, FightTheLaneGoblins, WalkIntoTheMarsh, AskMarraAlong, BluffPastTheLookouts, FreeOrrin,
          BringOrrinHome, AnswerTheHeron, HearHollisNews, ReportTheSmugglers, CrossTheLooseBoardsPlace, PayTheFare},
         kAllQuests,
         {"landing_arrival", "smugglers_asked_seen", "smugglers_seen", "boatwright_found", "boatwright_escort",
          "boatwright_home", "heron_riddle_answered_late", "smugglers_reported", "ferry_fare_open", "ferry_crossed"},
         {"The marsh lane leaves the landing to the west"}},
        {"the hide found before Marra is met",
         {TakeTobinsPole, FightTheLaneGoblins, HearHollisNews, AnswerTheHeron, WalkIntoTheMarsh, BluffPastTheLookouts,
          FreeOrrin, BringOrrinHome, ReportTheSmugglers, PayTheFare},
         kAllQuests,
         {"landing_arrival", "smugglers_asked_seen", "boatwright_missing", "heron_riddle_answered", "smugglers_seen",
          "boatwright_found", "boatwright_escort", "boatwright_home", "smugglers_reported", "ferry_fare_open",
          "ferry_crossed"}},
        // Orrin, freed, falls to the drowned watch: Brannoc caulks the ferry.
        {"Orrin killed in the marsh",
         {TakeTobinsPole, FightTheLaneGoblins, HearHollisNews, WalkIntoTheMarsh, BluffPastTheLookouts, FreeOrrin,
          OrrinFallsInTheShallows, ReportTheSmugglers, PayTheFare},
         {"The Missing Boatwright", "Smoke in the Reeds", "Passage Across"},
         {"landing_arrival", "smugglers_asked_seen", "boatwright_missing", "smugglers_seen", "boatwright_found",
          "boatwright_escort", "boatwright_lost", "smugglers_reported", "ferry_fare_open", "ferry_crossed"},
         {kOrrinHome, kOrrinWalksOn}},
        // Marra falls to the drowned watch in the marsh; the story goes on without her,
        // and Hesk, once she has greeted the party, hears of her death alone.
        {"Marra killed in the marsh",
         {TakeTobinsPole, FightTheLaneGoblins, HearHollisNews, WalkIntoTheMarsh, AskMarraAlong, BluffPastTheLookouts,
          FreeOrrin, MarraFallsInTheShallows, BringOrrinHome, ReportTheSmugglers, PayTheFare},
         {"The Missing Boatwright", "Home to the Slip", "Smoke in the Reeds", "Passage Across"},
         {"landing_arrival", "smugglers_asked_seen", "boatwright_missing", "witch_told", "smugglers_seen",
          "boatwright_found", "boatwright_escort", "boatwright_home", "witch_lost", "smugglers_reported",
          "ferry_fare_open", "ferry_crossed"},
         {"Marra gone too"},
         {"Mother Hesk : But there is reed mud on your boots", "Mother Hesk : Marra is dead?"}},
        // Both fall: Hesk hears of Orrin, and of Marra too.
        {"Marra and Orrin killed",
         {TakeTobinsPole, FightTheLaneGoblins, HearHollisNews, WalkIntoTheMarsh, AskMarraAlong, BluffPastTheLookouts,
          FreeOrrin, MarraFallsInTheShallows, OrrinFallsInTheShallows, ReportTheSmugglers, PayTheFare},
         {"The Missing Boatwright", "Smoke in the Reeds", "Passage Across"},
         {"landing_arrival", "smugglers_asked_seen", "boatwright_missing", "witch_told", "smugglers_seen",
          "boatwright_found", "boatwright_escort", "witch_lost", "boatwright_lost", "smugglers_reported",
          "ferry_fare_open", "ferry_crossed"},
         {"Marra is dead?", kOrrinHome, kOrrinWalksOn},
         {"Mother Hesk : But there is reed mud on your boots", "Mother Hesk : Orrin is dead?",
          "Mother Hesk : And Marra gone too."}},
        // Marra's punt lands the party behind the lookouts, who never stop it.
        {"the punt past the lookouts",
         {TakeTobinsPole, FightTheLaneGoblins, HearHollisNews, WalkIntoTheMarsh, AskMarraAlong, PuntToTheHide,
          FreeOrrin, BringOrrinHome, ReportTheSmugglers, PayTheFare},
         {"The Missing Boatwright", "Home to the Slip", "Smoke in the Reeds", "Passage Across"},
         {"landing_arrival", "smugglers_asked_seen", "boatwright_missing", "witch_told", "boatwright_found",
          "boatwright_escort", "boatwright_home", "smugglers_reported", "ferry_fare_open", "ferry_crossed"},
         {"Nobody comes to this side of the channel"}},
        // The hero falls to the drowned watch while Marra stands: she stays fallen on
        // the journey home, until Marra takes the party to the Heron's Rest, where a
        // night raises her; the story goes on from the dock, with Orrin let go home.
        {"the hero fallen and raised at the inn",
         {TakeTobinsPole, FightTheLaneGoblins, HearHollisNews, WalkIntoTheMarsh, AskMarraAlong, BluffPastTheLookouts,
          FreeOrrin, HeroFallsInTheShallows, RestAtTheInn, SendOrrinToHisSlip, ReportTheSmugglers, PayTheFare},
         {"The Missing Boatwright", "Home to the Slip", "Smoke in the Reeds", "Passage Across"},
         {"landing_arrival", "smugglers_asked_seen", "boatwright_missing", "witch_told", "smugglers_seen",
          "boatwright_found", "boatwright_escort", "boatwright_home", "smugglers_reported", "ferry_fare_open",
          "ferry_crossed"},
         {},
         {"Wren has died!", "Wren is resurrected.", "Hollis takes his four gold"}},
        // Mourned at the landing, a companion raised by the inn's rest is in the
        // journal as alive, and the story goes on with her, or him.
        {"Marra mourned and raised at the inn",
         {TakeTobinsPole, FightTheLaneGoblins, HearHollisNews, WalkIntoTheMarsh, AskMarraAlong, BluffPastTheLookouts,
          FreeOrrin, MarraFallsInTheShallows, BringOrrinHome, ReportTheSmugglers, RestAtTheInn, PayTheFare},
         {"The Missing Boatwright", "Home to the Slip", "Smoke in the Reeds", "Passage Across"},
         {"landing_arrival", "smugglers_asked_seen", "boatwright_missing", "witch_told", "smugglers_seen",
          "boatwright_found", "boatwright_escort", "boatwright_home", "witch_lost", "smugglers_reported",
          "witch_raised", "ferry_fare_open", "ferry_crossed"},
         {},
         {"Mother Hesk : Marra is dead?", "Marra the Reed Witch is resurrected."}},
        // The whole party falls, and wakes at the dock: the wake raises the
        // companion the landing mourned, as a night at the inn does.
        {"Marra mourned and raised as the party wakes",
         {TakeTobinsPole, FightTheLaneGoblins, HearHollisNews, WalkIntoTheMarsh, AskMarraAlong, BluffPastTheLookouts,
          FreeOrrin, MarraFallsInTheShallows, BringOrrinHome, ReportTheSmugglers, WalkIntoTheMarsh,
          TheLastOfThePartyFallsAndWakes, PayTheFare},
         {"The Missing Boatwright", "Home to the Slip", "Smoke in the Reeds", "Passage Across"},
         {"landing_arrival", "smugglers_asked_seen", "boatwright_missing", "witch_told", "smugglers_seen",
          "boatwright_found", "boatwright_escort", "boatwright_home", "witch_lost", "smugglers_reported",
          "witch_raised", "ferry_fare_open", "ferry_crossed"},
         {},
         {"Mother Hesk : Marra is dead?", "Your party has been wiped out!", "Marra the Reed Witch is resurrected."}},
        {"Orrin mourned, raised at the inn and home",
         {TakeTobinsPole, FightTheLaneGoblins, HearHollisNews, WalkIntoTheMarsh, BluffPastTheLookouts, FreeOrrin,
          OrrinFallsInTheShallows, ReportTheSmugglers, RestAtTheInn, SendOrrinToHisSlip, PayTheFare},
         {"The Missing Boatwright", "Home to the Slip", "Smoke in the Reeds", "Passage Across"},
         {"landing_arrival", "smugglers_asked_seen", "boatwright_missing", "smugglers_seen", "boatwright_found",
          "boatwright_escort", "boatwright_lost", "smugglers_reported", "boatwright_raised", "boatwright_home",
          "ferry_fare_open", "ferry_crossed"},
         {kOrrinHome, "Brannoc's caulking"},
         {"Mother Hesk : Orrin is dead?", "Orrin the Boatwright is resurrected.", "Orrin's caulking holds."}},
        // Paying first, the party tells Hesk of the hide as the ferry casts off.
        {"the fare paid before the report",
         {TakeTobinsPole, FightTheLaneGoblins, HearHollisNews, AnswerTheHeron, AskHeskAboutTheFerry, WalkIntoTheMarsh,
          AskMarraAlong, BluffPastTheLookouts, FreeOrrin, BringOrrinHome, PayTheFare},
         kAllQuests,
         {"landing_arrival", "smugglers_asked", "boatwright_missing", "heron_riddle_answered", "ferry_fare",
          "witch_told", "smugglers_seen", "boatwright_found", "boatwright_escort", "boatwright_home",
          "smugglers_reported", "ferry_crossed"},
         {"Smugglers, you say"},
         {"Before you step aboard, you tell Mother Hesk of the smugglers' hide", "Mother Hesk : Smugglers, on my river"}},
    };
    for (const Order& order : orders) {
        SCOPED_TRACE(order.name);
        DRAVCommon::GetRandomEngine().seed(5);
        Player player(kTalker);
        const std::uint32_t before = player.Main()->GetExperience();
        for (const Step& step : order.steps) {
            step(player);
            if (::testing::Test::HasFatalFailure()) return;
            // The journal names Marrow only once someone in the story has.
            for (const auto& entry : player.Game().GetJournal())
                EXPECT_TRUE(player.Said("Marrow") || player.Engine().GetModule()->GetJournalTexts().at(
                                                         entry->GetJournalKey()).find("Marrow") == std::string::npos)
                    << entry->GetJournalKey();
        }
        EXPECT_EQ(player.Game().GetStateCode(), GAME_WON);

        const auto completed = player.Completed();
        EXPECT_EQ(std::set<std::string>(completed.begin(), completed.end()), order.quests);
        EXPECT_EQ(completed.size(), order.quests.size()) << "a quest completed twice";
        std::uint32_t reward = 0;
        for (const auto& [key, quest] : player.Engine().GetModule()->GetQuests()) {
            const bool done = order.quests.count(quest->GetName()) != 0;
            EXPECT_EQ(player.Game().IsQuestTagSet(key), done) << key;
            if (done) reward += quest->GetReward();
        }
        EXPECT_EQ(player.Main()->GetExperience(), before + reward);

        const auto journal = QuillmereTest::JournalKeys(player);
        EXPECT_EQ(std::set<std::string>(journal.begin(), journal.end()), order.journal);
        EXPECT_EQ(journal.size(), order.journal.size()) << "a record given twice";

        std::string records;
        for (const auto& key : journal) records += player.Engine().GetModule()->GetJournalTexts().at(key) + "\n";
        for (const auto& words : order.unsaid) {
            EXPECT_FALSE(player.Said(words)) << words;
            EXPECT_EQ(records.find(words), std::string::npos) << words << " in the journal:\n" << records;
        }
        auto line = player.Log().begin();
        for (const auto& words : order.heard) {
            line = std::find_if(line, player.Log().end(),
                                [&](const std::string& said) { return said.find(words) != std::string::npos; });
            EXPECT_NE(line, player.Log().end()) << words << " is not heard, or not in its turn";
        }
        for (const auto& words : kNeverSaid) EXPECT_FALSE(player.Said(words)) << words;
        for (const auto& words : kSaidOnce) {
            if (std::find(order.unsaid.begin(), order.unsaid.end(), words) != order.unsaid.end()) continue;
            EXPECT_EQ(std::count_if(player.Log().begin(), player.Log().end(),
                                    [&](const std::string& line) { return line.find(words) != std::string::npos; }),
                      1)
                << words;
        }
        const std::string pages = EndPages(player);
        for (const auto& words : kNeverShownUnfought) EXPECT_EQ(pages.find(words), std::string::npos) << words << "\n" << pages;
        std::size_t told = 0;
        for (const auto& words : kEndPagesInOrder)
            EXPECT_NE(told = pages.find(words, told), std::string::npos) << words << " out of its turn\n" << pages;
        for (const auto& who : player.TalksAmidFoes()) ADD_FAILURE() << who << " began a conversation amid a fight";
    }
}

// The words said on the way follow what happened: what the party is given is
// named, and every line ends with one full stop. Each row is a line that must be
// heard on the road the story intends, or words that must not be.
// A line of the log that ends with two full stops, not an ellipsis; empty when none does.
std::string DoubleStop(const Player& player) {
    for (const std::string& line : player.Log()) {
        const std::size_t size = line.size();
        if (size >= 2 && line.compare(size - 2, 2, "..") == 0 && (size < 3 || line[size - 3] != '.')) return line;
    }
    return {};
}

TEST(StoryOrder, TheStorysLinesNameWhatWasGivenAndEndWithOneFullStop) {
    using namespace QuillmereTest;
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(kTalker);
    for (const auto& step : std::vector<std::function<void(Player&)>>{
             TakeTobinsPole, FightTheLaneGoblins, OpenTheCrate, HearHollisNews, AnswerTheHeron, AskHeskAboutTheFerry,
             WalkIntoTheMarsh, AskMarraAlong, BluffPastTheLookouts, FreeOrrin, BringOrrinHome, ReportTheSmugglers,
             PayTheFare}) {
        step(player);
        if (::testing::Test::HasFatalFailure()) return;
    }
    struct Row {
        const char* what;
        std::vector<std::string> heard;
        std::vector<std::string> unheard;
    };
    const std::vector<Row> rows{
        {"Tobin's pole is named", {"The party has gained Ferryman's Pole."}, {}},
        {"no gift goes unnamed", {}, {"The party has gained an item"}},
        {"the journal's word ends with one full stop", {"Your Journal has been updated."}, {"updated.."}},
    };
    for (const Row& row : rows) {
        for (const std::string& words : row.heard) EXPECT_TRUE(player.Said(words)) << row.what << ": " << words;
        for (const std::string& words : row.unheard) EXPECT_FALSE(player.Said(words)) << row.what << ": " << words;
    }
    EXPECT_EQ(DoubleStop(player), "") << "a line ends with two full stops";
}

}  // namespace

namespace {

// Killed away from the party, where nobody of the party hears of it, Marra or
// Orrin still reach the journal, once, and the ferry is caulked without Orrin.
TEST(StoryOrder, ACompanionKilledAwayFromThePartyIsRecordedOnce) {
    QuillmereTest::SampleGame game;
    game.Arrive("reed_marsh", "landing");
    for (const char* key : {"reed_witch", "boatwright"}) {
        CActor* person = game.Person(key);
        ASSERT_TRUE(person) << key;
        game.Engine().ResolveActorDied("the drowned watch", *person);
        game.Tick();
    }
    EXPECT_TRUE(game.Game().IsQuestTagSet("witch_lost"));
    EXPECT_TRUE(game.Game().IsQuestTagSet("boatwright_drowned"));
    std::multiset<std::string> journal;
    for (const auto& entry : game.Game().GetJournal()) journal.insert(entry->GetJournalKey());
    EXPECT_EQ(journal.count("witch_lost"), 1u);
    EXPECT_EQ(journal.count("boatwright_lost"), 1u);
}

}  // namespace
