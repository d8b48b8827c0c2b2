// Ashcombe whoever dies, and words that follow what happened. Each row plays the
// chapter in one order, through the orders a player gives (tests/engine/
// weir_steps.h), with Sefton or Nell, or both, killed by the party at one stage or
// another, and checks the journal, the quest, words said and words that must not
// be, and the end pages the chapter-end dialog shows for that road.

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "common/random.h"
#include "engine/weir_steps.h"
#include "game/chapter_info.h"
#include "game/dialogs/chapter_end/win_dlg.h"

using namespace DRAV;
using QuillmereTest::Player;

namespace {

using Step = std::function<void(Player&)>;

// A hero made for Ashcombe at the level its chapter starts at, armed from Nell's
// cargo before anything else happens.
Player ArmedNewcomer() {
    Player player(QuillmereTest::NewAshcombeGame(QuillmereTest::kFighter), {});
    QuillmereTest::ArriveAtTheWeir(player, "tutorial_start");
    QuillmereTest::ArmFromNellsCargo(player);
    return player;
}

// The talker who bluffed her way past the hide's lookouts, told Mother Hesk of
// the smugglers and crossed on the ferry, but never broke Marrow's hide.
Player FromReedwaterPastTheLookouts() {
    using namespace QuillmereTest;
    DRAVCommon::GetRandomEngine().seed(5);
    Player reedwater(kTalker);
    for (const Step& step : std::vector<Step>{TakeTobinsPole, FightTheLaneGoblins, HearHollisNews, WalkIntoTheMarsh,
                                              BluffPastTheLookouts, FreeOrrin, BringOrrinHome, ReportTheSmugglers,
                                              PayTheFare})
        if (!::testing::Test::HasFatalFailure()) step(reedwater);
    EXPECT_FALSE(reedwater.Game().IsQuestTagSet("smugglers_routed"));
    Player player(SampleGame::NextChapter(reedwater.Sample()), {});
    ArriveAtTheWeir(player, "tutorial_items");
    player.Wield("ferrymans_pole", SLOT_WEAPON);
    return player;
}

struct Road {
    const char* name;
    std::vector<Step> steps;
    std::set<std::string> journal;          // keys of the journal's records
    std::vector<std::string> said;          // words heard on this road
    std::vector<std::string> pages;         // words the end pages show
    std::vector<std::string> unshown = {};  // words they must not show
    std::vector<std::string> unsaid = {};   // words out of place on this road
    std::function<Player()> start = ArmedNewcomer;
};

void PrintTo(const Road& road, std::ostream* out) { *out << road.name; }

// The text of every end page, the closing page last, as the chapter-end dialog
// reads them for the won game.
std::string EndPages(const Player& player) {
    const CWinDlg first(nullptr, player.Engine().GetDataSource().get(), "Congratulations!",
                        player.Game().GetClosingText(), false, false);
    std::string text;
    for (const WinPage& page : first.GetPages()) text += page.text + "\n";
    return text;
}

void AskSeftonAsAStranger(Player& player) {
    QuillmereTest::AskSefton(player, "No boat goes down past my chain, stranger");
}

std::vector<Road> Roads() {
    using namespace QuillmereTest;
    // The story as it is meant: Sefton drops his chain for the ledger and the tolls.
    const std::set<std::string> told{"weir_arrival", "sefton_waits", "lantern_seen", "sluice_open",
                                     "wick_found",   "strongbox_free", "boats_released"};
    const std::vector<std::string> seftonsEnd{"Nell's barge first", "under guard, its month of tolls counted back",
                                              "Sefton keeps Marrow's ledger"};
    // With Sefton dead the hero drops the chain and keeps the ledger and the tolls.
    const std::vector<std::string> windlassEnd{"as Wren turns the windlass", "Wren follows Marrow's ledger",
                                               "Wren kept the Guild's month of tolls"};
    const std::vector<std::string> notSeftonsEnd{"Sefton keeps", "under guard", "Sefton's chain drops into the river,"};
    const std::vector<std::string> notWindlassEnd{"turns the windlass", "Wren kept"};
    const std::vector<std::string> nellDead{"Only Nell's barge stays moored"};
    const std::vector<std::string> notNellDead{"Nell's barge first"};
    const auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    // What whoever holds Sefton's key and Marrow's ledger finds at the windlass.
    const std::string windlassFree = "Sefton's key turns in the padlock";
    // Nell, asked of the lantern once Sefton is dead and his keys taken, and what
    // she must not say then.
    const std::vector<std::string> nellOfDeadSefton{"Nell the Bargewoman : Sefton's dead, and you carry his keys",
                                                    "you carry it now. Go and look.",
                                                    "Sefton's key turns in the lock", windlassFree};
    const std::vector<std::string> nellAmiss{"Tell him", "Sefton sleeps like the drowned",
                                                    "It will be lying where he fell"};
    const std::string seftonMournsNell = "Sefton the Toll-keeper : And Nell is dead";
    // Wick, met once Sefton is dead.
    const std::string wickHeardSefton = "Wick the Runner : I heard Sefton fall";

    return {
        {"as the story intends",
         {AskSeftonAsAStranger, AskNell, OpenTheSluiceHouse, FightWick, TakeTheLedger, BringSeftonTheLedger},
         told,
         {"Sefton the Toll-keeper : And the month's tolls with it"},
         seftonsEnd,
         join(join(notWindlassEnd, nellDead), {"goes down with them empty"})},
        // Sold off Nell's barge, the tolls never reach the strongbox again.
        {"the Guild's tolls sold to Nell",
         {AskSeftonAsAStranger, AskNell, OpenTheSluiceHouse, FightWick, TakeTheLedger, SellTheTolls,
          BringSeftonTheLedger},
         told,
         {},
         {"Nell's barge first", "goes down with them empty: Wren kept its month of tolls",
          "Sefton keeps Marrow's ledger"},
         {"under guard", "counted back", "turns the windlass"},
         {"And the month's tolls with it"}},

        {"Sefton killed as the party arrives",
         {KillSefton, AskNell, UnlockTheSluiceHouse, FightWick, TakeTheLedger, ReleaseTheChain},
         {"weir_arrival", "sefton_lost", "lantern_seen_late", "wick_found", "strongbox_free_keys",
          "boats_released_windlass"},
         join(nellOfDeadSefton, {wickHeardSefton}),
         join(windlassEnd, {"Nell's barge first"}),
         join(notSeftonsEnd, nellDead),
         nellAmiss},
        {"Sefton killed once he has told what he waits for",
         {AskSeftonAsAStranger, KillSefton, AskNell, UnlockTheSluiceHouse, FightWick, TakeTheLedger,
          ReleaseTheChain},
         {"weir_arrival", "sefton_waits", "sefton_lost", "lantern_seen_late", "wick_found", "strongbox_free_keys",
          "boats_released_windlass"},
         join(nellOfDeadSefton, {wickHeardSefton}),
         windlassEnd,
         notSeftonsEnd,
         nellAmiss},
        {"Sefton killed once Nell has told of the lantern",
         {AskSeftonAsAStranger, AskNell, KillSefton, UnlockTheSluiceHouse, FightWick, TakeTheLedger,
          ReleaseTheChain},
         {"weir_arrival", "sefton_waits", "lantern_seen", "sefton_lost", "wick_found", "strongbox_free_keys",
          "boats_released_windlass"},
         {"Sefton's key turns in the lock", windlassFree, wickHeardSefton},
         windlassEnd,
         notSeftonsEnd},
        {"Sefton killed once he has opened his sluice house",
         {AskSeftonAsAStranger, AskNell, OpenTheSluiceHouse, KillSefton, FightWick, TakeTheLedger, ReleaseTheChain},
         {"weir_arrival", "sefton_waits", "lantern_seen", "sluice_open", "sefton_lost", "wick_found",
          "strongbox_free_keys", "boats_released_windlass"},
         {windlassFree, wickHeardSefton},
         windlassEnd,
         notSeftonsEnd},
        {"Sefton killed once Wick is gone",
         {AskSeftonAsAStranger, AskNell, OpenTheSluiceHouse, FightWick, KillSefton, TakeTheLedger, ReleaseTheChain},
         {"weir_arrival", "sefton_waits", "lantern_seen", "sluice_open", "wick_found", "strongbox_free",
          "sefton_lost", "boats_released_windlass"},
         {windlassFree},
         windlassEnd,
         notSeftonsEnd},
        // With Marrow's ledger in the pack already, the journal sends nobody to look for it.
        {"Sefton killed with the ledger found",
         {AskSeftonAsAStranger, AskNell, OpenTheSluiceHouse, FightWick, TakeTheLedger, KillSefton, ReleaseTheChain},
         {"weir_arrival", "sefton_waits", "lantern_seen", "sluice_open", "wick_found", "strongbox_free",
          "sefton_lost_ledger", "boats_released_windlass"},
         {windlassFree},
         windlassEnd,
         notSeftonsEnd},

        // Nell dead before she told of the lantern, Sefton remembers what she said.
        {"Nell killed as the party arrives",
         {KillNell, AskSeftonAsAStranger, TellSeftonOfNell, FightWick, TakeTheLedger, BringSeftonTheLedger},
         {"weir_arrival", "nell_lost_unheard", "sefton_waits", "sluice_open", "wick_found", "strongbox_free",
          "boats_released"},
         {seftonMournsNell, "Nell cursed loudest, and saw the most, and she is dead", "She did, a week ago"},
         join(nellDead, {"Sefton keeps Marrow's ledger", "tolls counted back"}),
         join(notNellDead, notWindlassEnd)},
        {"Nell killed once Sefton has told what he waits for",
         {AskSeftonAsAStranger, KillNell, TellSeftonOfNell, FightWick, TakeTheLedger, BringSeftonTheLedger},
         {"weir_arrival", "sefton_waits", "nell_lost_unheard", "sluice_open", "wick_found", "strongbox_free",
          "boats_released"},
         {seftonMournsNell, "She did, a week ago"},
         join(nellDead, {"Sefton keeps Marrow's ledger"}),
         join(notNellDead, notWindlassEnd)},
        {"Nell killed once she has told of the lantern",
         {AskSeftonAsAStranger, AskNell, KillNell, OpenTheSluiceHouse, FightWick, TakeTheLedger,
          BringSeftonTheLedger},
         {"weir_arrival", "sefton_waits", "lantern_seen", "nell_lost", "sluice_open", "wick_found",
          "strongbox_free", "boats_released"},
         {seftonMournsNell},
         join(nellDead, {"Sefton keeps Marrow's ledger"}),
         join(notNellDead, notWindlassEnd)},
        {"Nell killed once the sluice house is open",
         {AskSeftonAsAStranger, AskNell, OpenTheSluiceHouse, KillNell, FightWick, TakeTheLedger,
          BringSeftonTheLedger},
         {"weir_arrival", "sefton_waits", "lantern_seen", "sluice_open", "nell_lost", "wick_found",
          "strongbox_free", "boats_released"},
         {seftonMournsNell},
         nellDead,
         notNellDead},
        {"Nell killed once Wick is gone",
         {AskSeftonAsAStranger, AskNell, OpenTheSluiceHouse, FightWick, KillNell, TakeTheLedger,
          BringSeftonTheLedger},
         {"weir_arrival", "sefton_waits", "lantern_seen", "sluice_open", "wick_found", "strongbox_free", "nell_lost",
          "boats_released"},
         {seftonMournsNell},
         nellDead,
         notNellDead},
        {"Nell killed with the ledger found",
         {AskSeftonAsAStranger, AskNell, OpenTheSluiceHouse, FightWick, TakeTheLedger, KillNell,
          BringSeftonTheLedger},
         {"weir_arrival", "sefton_waits", "lantern_seen", "sluice_open", "wick_found", "strongbox_free", "nell_lost",
          "boats_released"},
         {seftonMournsNell},
         nellDead,
         notNellDead},

        {"Sefton and then Nell killed as the party arrives",
         {KillSefton, KillNell, UnlockTheSluiceHouse, FightWick, TakeTheLedger, ReleaseTheChain},
         {"weir_arrival", "sefton_lost", "nell_lost", "wick_found", "strongbox_free_keys",
          "boats_released_windlass"},
         {"Sefton's key turns in the lock", windlassFree, wickHeardSefton},
         join(windlassEnd, nellDead),
         join(notSeftonsEnd, notNellDead)},
        {"Nell and then Sefton killed as the party arrives",
         {KillNell, KillSefton, UnlockTheSluiceHouse, FightWick, TakeTheLedger, ReleaseTheChain},
         {"weir_arrival", "nell_lost_unheard", "sefton_lost", "wick_found", "strongbox_free_keys",
          "boats_released_windlass"},
         {"Sefton's key turns in the lock", windlassFree, wickHeardSefton},
         join(windlassEnd, nellDead),
         join(notSeftonsEnd, notNellDead)},

        // Sefton knows of her only what Mother Hesk told the Guild: she came alone,
        // and she saw the smugglers but never broke their hide.
        {"a hero from Reedwater who went past the hide's lookouts",
         {[](Player& player) { AskSefton(player, "Mother Hesk's word came up by the Guild's pigeon"); }, AskNell,
          OpenTheSluiceHouse, FightWick, TakeTheLedger, BringSeftonTheLedger},
         told,
         {"Sefton the Toll-keeper : Mother Hesk's word came up by the Guild's pigeon: you are the one who told her "
          "of Marrow's smugglers in the Reedwater reeds."},
         seftonsEnd,
         notWindlassEnd,
         {"the ones who", "broke Marrow's hide", "found Marrow's hide"},
         FromReedwaterPastTheLookouts},
    };
}

class WeirOrder : public ::testing::TestWithParam<Road> {};

TEST_P(WeirOrder, TheChapterEndsWhoeverDiesAndItsPagesTellWhatHappened) {
    const Road& road = GetParam();
    DRAVCommon::GetRandomEngine().seed(5);
    Player player = road.start();
    if (::testing::Test::HasFatalFailure()) return;
    for (const Step& step : road.steps) {
        step(player);
        if (::testing::Test::HasFatalFailure()) return;
    }
    EXPECT_EQ(player.Game().GetStateCode(), GAME_WON);
    EXPECT_TRUE(player.Game().IsQuestTagSet("held_boats"));

    const auto journal = QuillmereTest::JournalKeys(player);
    EXPECT_EQ(std::set<std::string>(journal.begin(), journal.end()), road.journal);
    for (const auto& words : road.said) EXPECT_TRUE(player.Said(words)) << words;
    for (const auto& words : road.unsaid) EXPECT_FALSE(player.Said(words)) << words;
    EXPECT_FALSE(player.Said("Chain Windlass : ")) << "the windlass has no voice";
    for (const auto& who : player.TalksAmidFoes()) ADD_FAILURE() << who << " began a conversation amid a fight";

    // The chapter's opening tells of a hero who walks up the towpath alone, as the
    // last chapter's end sent her.
    CDRAVChapterInfo chapter(2, 2);
    chapter.Load(player.Engine().GetDataSource());
    EXPECT_EQ(chapter.m_text2.find("The party follows"), std::string::npos) << chapter.m_text2;
    EXPECT_NE(chapter.m_text2.find("alone"), std::string::npos) << chapter.m_text2;

    const std::string pages = EndPages(player);
    for (const auto& words : road.pages) EXPECT_NE(pages.find(words), std::string::npos) << words << "\n" << pages;
    for (const auto& words : road.unshown) EXPECT_EQ(pages.find(words), std::string::npos) << words << "\n" << pages;
    // The pages say their own thing, not again what was said on the way.
    EXPECT_EQ(player.Echoed(pages, QuillmereTest::kEchoedWords), "") << pages;
}

// Each road's name, as a test's name: its words in capitals, run together.
std::string RoadName(const ::testing::TestParamInfo<Road>& info) {
    std::string name;
    bool capital = true;
    for (const char c : std::string(info.param.name)) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            capital = true;
            continue;
        }
        name += capital ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        capital = false;
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Ashcombe, WeirOrder, ::testing::ValuesIn(Roads()), RoadName);

}  // namespace
