// The module sweep's own parts: finding a file's numbers and scripts, the hostile
// bodies put in a script's place, running work in children that may crash, hang
// or run away, and sorting what they did.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "sweep/hostile_scripts.h"
#include "sweep/isolated_run.h"
#include "sweep/modifier_edits.h"
#include "sweep/number_edits.h"
#include "sweep/script_edits.h"
#include "sweep/sweep_outcome.h"

using namespace QuillmereSweep;

namespace {

std::vector<std::string> Numbers(const std::string& text) {
    std::vector<std::string> found;
    for (const NumberSpot& spot : FindNumbers(text)) found.push_back(text.substr(spot.offset, spot.length));
    return found;
}

RunResult RunOne(const std::function<std::string()>& work, RunLimits limits = {}) {
    RunResult kept;
    CIsolatedRuns runs(1, limits);
    runs.Start(work, [&](const RunResult& result) { kept = result; });
    runs.Wait();
    return kept;
}

}  // namespace

TEST(SweepNumbers, OnlyTheDataNumbersAreFound) {
    const std::string text =
        "<spell> bolt \"Fire 2 bolts\" ( 20 0.5 ) -3 1e9 +4 .5 7.\n"
        "# a comment 12 13\n"
        "(8) (9 10) \"A text over\n two lines 11\" 2d6 1e 1.2.3 - . x1 0x10\n"
        "<lua> return 14 + drav_x( context, 15 ) </lua> 16 \" 17\n";
    EXPECT_EQ(Numbers(text), (std::vector<std::string>{"20", "0.5", "-3", "1e9", "+4", ".5", "7.", "8", "9", "10",
                                                       "16", "17"}));
    const std::vector<NumberSpot> spots = FindNumbers(text);
    EXPECT_EQ(spots.front().line, 1u);
    EXPECT_EQ(spots[7].line, 3u);   // "8", after the comment line
    EXPECT_EQ(spots.back().line, 5u);   // the quoted text spans a line break
    // A lone quote is a whole empty text: what follows it is data again.
    EXPECT_EQ(Numbers("\" 5"), (std::vector<std::string>{"5"}));
    EXPECT_TRUE(FindNumbers("").empty());
    EXPECT_TRUE(FindNumbers("\"never closed 5 6").empty());
}

TEST(SweepNumbers, AReplacementKeepsTheGroupAroundIt) {
    const std::string text = "<size> (1 2) </size>";
    const std::vector<NumberSpot> spots = FindNumbers(text);
    ASSERT_EQ(spots.size(), 2u);
    EXPECT_EQ(ReplaceNumber(text, spots[0], "2147483647"), "<size> (2147483647 2) </size>");
    EXPECT_EQ(ReplaceNumber(text, spots[1], "1e308"), "<size> (1 1e308) </size>");
}

TEST(SweepModifiers, OnlyTheDefinitionsOfTheTopListsAreFound) {
    const std::string text =
        "# <monsters> <monster2> in_a_comment </monster2> </monsters>\n"
        "<monsters>\n"
        " <monster2> heron <items> <item> dagger 1 </item> </items>\n"
        "  <talk> <state> \"</monster2> in a text\" <lua> x = \"<monster2>\" </monster2> </lua> </state> </talk>\n"
        " </monster2>\n"
        " <monster2>\n"
        "  eel <modify> 1 0 attack </modify> sneak </monster2>\n"
        "</monsters>\n"
        "<world> <items> <item> not_a_template </item> </items> </world>\n"
        "<items> <item> gold \"Gold\" </item> <item> <weapon> </weapon> </item> </items>\n";
    const std::vector<DefinitionSpot> spots = FindModifiableDefinitions(text);
    std::vector<std::string> keys;
    for (const DefinitionSpot& spot : spots) keys.push_back(spot.key);
    // The keyless item is no definition the game would take.
    ASSERT_EQ(keys, (std::vector<std::string>{"heron", "eel", "gold"}));
    EXPECT_EQ(spots[0].line, 3u);
    EXPECT_EQ(spots[1].line, 6u);
    EXPECT_EQ(spots[2].line, 10u);
    EXPECT_EQ(text.compare(spots[0].closing, 11, "</monster2>"), 0);
    EXPECT_EQ(text.rfind("</monster2>", text.find("<monster2>\n")), spots[0].closing);
    EXPECT_EQ(text.compare(spots[2].closing, 7, "</item>"), 0);

    const std::string element = ModifyElement("-2147483648", "movementspeed");
    EXPECT_EQ(element, "<modify> -2147483648 0 movementspeed </modify>");
    const std::string edited = InsertIntoDefinition(text, spots[1], element);
    EXPECT_NE(edited.find("eel <modify> 1 0 attack </modify> sneak <modify> -2147483648 0 movementspeed </modify>\n"
                          " </monster2>"),
              std::string::npos)
        << edited;
    EXPECT_EQ(edited.size(), text.size() + element.size() + 2);
    EXPECT_TRUE(FindModifiableDefinitions("").empty());
    EXPECT_TRUE(FindModifiableDefinitions("<items> <item> never_closed").empty());
}

TEST(SweepScripts, EachKindIsFoundWithWhatMakesItRun) {
    const std::string text =
        "# <monster2> in_a_comment <talk> <state> a <lua> x </lua> </state> </talk> </monster2>\n"
        "<monsters>\n"
        " <monster2> heron <talk>\n"
        "  <state> greet <lua> drav_talk( context, \"</state>\" ) # a </lua> in a comment\n"
        "  </lua> </state>\n"
        "  <state> trade ( mood cheerful ) <lua> drav_store( context ) </lua> </state>\n"
        "  <state> farewell <settag> heron_met </settag> </state> <state> silent </state> </talk>\n"
        "  <heartbeat> <lua> return 0 </lua> </heartbeat> </monster2>\n"
        "</monsters>\n"
        "<objects> <object> statue \"A <lua> statue\" solid <talk> <state> riddle <lua> y </lua> </state> </talk>\n"
        " <trap> true 0 0 <lua> drav_message( context, \"snap\" ) </lua> 0 </trap> </object> </objects>\n"
        "<tiles> <tile> gate \"Gate\" gate ( 1 1 ) door 8 <lua> return true </lua> </tile> </tiles>\n"
        "<quests> <quest> riddle \"The Riddle\" 25 0 <lua> return true </lua> </quest>\n"
        " <quest> smugglers \"Smoke\" 450 smugglers_asked ( source keeper ) 0 <lua> return false </lua> </quest>\n"
        "</quests>\n"
        "<entries> <entry> dock \"The dock\" ( 7 3 ) <lua> z </lua> </entry> <entry> lane ( 1 1 ) </entry> </entries>\n"
        "<exits> <exit> out \"Out\" ( 0 4 ) 0 ( landing lane ) <lua> return 1 </lua> </exit> </exits>\n";
    struct Expected {
        ScriptKind kind;
        const char* owner;
        const char* name;
        const char* assignment;
        std::uint32_t line;
        const char* opens;
        const char* closes;
    };
    // An exit's script only says whether the party may leave; a state without a
    // script has nothing to replace.
    const Expected expected[] = {
        {ScriptKind::TalkState, "heron", "greet", "", 4, "<lua>", "</lua>"},
        {ScriptKind::TalkState, "heron", "trade", "", 6, "<lua>", "</lua>"},
        {ScriptKind::TalkState, "heron", "farewell", "", 7, "<settag>", "</settag>"},
        {ScriptKind::Heartbeat, "heron", "", "", 8, "<lua>", "</lua>"},
        {ScriptKind::TalkState, "statue", "riddle", "", 10, "<lua>", "</lua>"},
        {ScriptKind::Trap, "statue", "", "", 11, "<lua>", "</lua>"},
        {ScriptKind::Door, "gate", "", "", 12, "<lua>", "</lua>"},
        {ScriptKind::QuestCheck, "", "riddle", "", 13, "<lua>", "</lua>"},
        {ScriptKind::QuestCheck, "", "smugglers", "smugglers_asked", 14, "<lua>", "</lua>"},
        {ScriptKind::AreaEntry, "", "dock", "", 16, "<lua>", "</lua>"},
    };
    const std::vector<ScriptSpot> spots = FindScripts(text);
    ASSERT_EQ(spots.size(), std::size(expected));
    for (std::size_t i = 0; i < spots.size(); ++i) {
        const ScriptSpot& spot = spots[i];
        const Expected& want = expected[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(spot.kind, want.kind);
        EXPECT_EQ(spot.owner, want.owner);
        EXPECT_EQ(spot.name, want.name);
        EXPECT_EQ(spot.assignment, want.assignment);
        EXPECT_EQ(spot.line, want.line);
        const std::string element = text.substr(spot.begin, spot.end - spot.begin);
        EXPECT_EQ(element.rfind(want.opens, 0), 0u) << element;
        EXPECT_EQ(element.substr(element.size() - std::strlen(want.closes)), want.closes) << element;
    }
    // The comment's "</lua>" does not end the greeting's script.
    EXPECT_NE(text.substr(spots[0].begin, spots[0].end - spots[0].begin).find("in a comment"), std::string::npos);

    // Two states replaced at once, the later first, each keeping what stands around it;
    // a trap's re-arm delay after its script is replaced with it.
    const std::string edited = ReplaceScripts(text, {{&spots[0], "A"}, {&spots[2], "B"}, {&spots[5], "C", "0.01"}});
    EXPECT_NE(edited.find("<state> greet <lua> A </lua> </state>"), std::string::npos) << edited;
    EXPECT_NE(edited.find("<state> farewell <lua> B </lua> </state>"), std::string::npos) << edited;
    EXPECT_NE(edited.find("<trap> true 0 0 <lua> C </lua> 0.01 </trap>"), std::string::npos) << edited;
    EXPECT_NE(edited.find("<state> trade ( mood cheerful ) <lua> drav_store( context ) </lua>"), std::string::npos);
    EXPECT_TRUE(FindScripts("<quests> <quest> never_closed <lua> x").empty());
}

TEST(SweepScripts, TheDefinitionsABodyNamesAreFoundInTheirTopLists) {
    const std::string text =
        "<spells> <spell> mend \"Mend\" </spell> <multispell> volley </multispell> <spell> ward </spell> </spells>\n"
        "<items> <item> token \"Token\" <quest> token_found </quest> </item> <item> rope </item>\n"
        " <item> ledger <attribute> 1 </attribute> <quest> ledger_read </quest> </item> </items>\n"
        "<monsters> <monster2> thief <items> <item> pick <quest> x </quest> </item> </items> </monster2> </monsters>\n";
    EXPECT_EQ(FindDefinitionKeys(text, "spells", "spell"), (std::vector<std::string>{"mend", "ward"}));
    EXPECT_EQ(FindDefinitionKeys(text, "items", "item"), (std::vector<std::string>{"token", "rope", "ledger"}));
    EXPECT_EQ(FindDefinitionKeys(text, "items", "item", "quest"), (std::vector<std::string>{"token", "ledger"}));
}

TEST(SweepScripts, EachScriptIsGivenTheBodiesFitForItsKind) {
    const std::string text =
        "<monsters> <monster2> keeper <talk> <state> start <lua> a </lua> </state>\n"
        " <state> ferry <lua> b </lua> </state> <state> pay <lua> c </lua> </state> </talk>\n"
        " <heartbeat> <lua> d </lua> </heartbeat> </monster2>\n"
        " <monster2> hermit <talk> <state> start <lua> e </lua> </state> </talk> </monster2> </monsters>\n"
        "<quests> <quest> errand \"Errand\" 5 0 <lua> f </lua> </quest> </quests>\n"
        "<entries> <entry> dock <lua> g </lua> </entry> <entry> lane <lua> h </lua> </entry> </entries>\n";
    const std::vector<ScriptSpot> spots = FindScripts(text);
    ASSERT_EQ(spots.size(), 8u);
    HostileSetting setting;
    setting.spell = "mend";
    setting.questItem = "token";
    setting.quest = &spots[5];
    setting.entries = {{"landing", "dock"}, {"landing", "lane"}, {"marsh", "hideout"}};
    std::vector<std::vector<HostileEdit>> edits;
    for (const ScriptSpot& spot : spots) edits.push_back(MakeHostileEdits(spot, spots, setting, "landing"));
    auto find = [&](std::size_t spot, const std::string& name) -> const HostileEdit* {
        for (const HostileEdit& edit : edits[spot])
            if (edit.name == name) return &edit;
        return nullptr;
    };
    // A partner's first state and every script of the other kinds get the loops; every
    // state gets the chains, the last leading back through the first, a lone one none.
    struct Row {
        std::size_t spot;
        const char* body;
        bool given;
    };
    const Row rows[] = {
        {0, "chain through ferry and back", true},   {2, "chain through start and back", true},
        {4, "chain to its own state", true},         {4, "chain through start and back", false},
        {0, "loop of drav_message", true},           {2, "loop of drav_message", false},
        {0, "join and leave 499 times", true},       {2, "join and leave 499 times", false},
        {2, "PARTY expanded in a box", false},       {3, "PARTY expanded in a box", true},
        {6, "loop of drav_launch_spell", true},      {2, "loop of drav_launch_spell", false},
        {6, "rest at lane", true},                   {6, "journey to marsh at hideout", true},
        {6, "the chapter won", true},                {3, "the chapter won", false},
        {6, "journey to its own entry", true},       {6, "journeys to lane and back", true},
        {6, "loop of drav_set_tag over a quest check of 999 boxes", true},
        {5, "loop of drav_set_tag over a quest check of 999 boxes", false},
        {5, "quest check setting off the quest checks", true},
        {3, "quest check setting off the quest checks", false},
        {0, "xpcall spinning with a looping handler", true},
        {2, "xpcall spinning with a looping handler", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(find(row.spot, row.body) != nullptr, row.given) << row.spot << " " << row.body;

    // Each body sets the marker first; a chain replaces both its states, each naming the other.
    const HostileEdit* chain = find(2, "chain through start and back");
    ASSERT_TRUE(chain && chain->replacements.size() == 2);
    EXPECT_EQ(chain->replacements[1].spot, &spots[0]);
    for (const ScriptReplacement& replacement : chain->replacements)
        EXPECT_EQ(replacement.body.rfind("drav_set_tag_value( context, \"sweep_hostile_ran\", 1 ) ", 0), 0u);
    EXPECT_NE(chain->replacements[0].body.find("drav_goto_state( context, \"start\" )"), std::string::npos);
    EXPECT_NE(chain->replacements[1].body.find("drav_goto_state( context, \"pay\" )"), std::string::npos);
    const HostileEdit* nested = find(6, "loop of drav_set_tag over a quest check of 999 boxes");
    ASSERT_TRUE(nested && nested->questReplacements.size() == 1);
    EXPECT_EQ(nested->questReplacements[0].spot, &spots[5]);
    const HostileEdit* journey = find(6, "journey to marsh at hideout");
    ASSERT_TRUE(journey);
    EXPECT_TRUE(journey->journeys);
    EXPECT_NE(journey->replacements[0].body.find("drav_goto_area( context, \"marsh\", \"hideout\" )"),
              std::string::npos);
    const HostileEdit* back = find(6, "journeys to lane and back");
    ASSERT_TRUE(back && back->replacements.size() == 2);
    EXPECT_EQ(back->replacements[1].spot, &spots[7]);
    EXPECT_NE(back->replacements[1].body.find("drav_goto_area( context, \"landing\", \"dock\" )"), std::string::npos);
}

TEST(SweepOutcome, ARefusalMustNameTheEditedFile) {
    EXPECT_TRUE(NamesFile("_chapter_\\monsters.drav: bad speed", "monsters.drav"));
    EXPECT_TRUE(NamesFile("reading monsters.drav", "monsters.drav"));
    EXPECT_FALSE(NamesFile("_global_\\global_monsters.drav: bad speed", "monsters.drav"));
    EXPECT_FALSE(NamesFile("monsters.dravx", "monsters.drav"));
    EXPECT_FALSE(NamesFile("anything", ""));

    RunResult refused;
    refused.answer = std::string(kAnswerRefused) + "\n_chapter_\\magic.drav: a spell's dice\nsecond line";
    EXPECT_EQ(Judge(refused, "magic.drav").outcome, Outcome::RefusedNamingFile);
    EXPECT_EQ(Judge(refused, "magic.drav").detail, "_chapter_\\magic.drav: a spell's dice second line");
    EXPECT_EQ(Judge(refused, "items.drav").outcome, Outcome::RefusedOtherwise);
}

TEST(SweepOutcome, EachEndingIsSorted) {
    struct Case {
        RunEnd end;
        std::string answer;
        std::string output;
        int signal;
        Outcome expected;
    };
    const Case cases[] = {
        {RunEnd::Answered, kAnswerPlayed, "", 0, Outcome::Played},
        {RunEnd::Answered, kAnswerOutOfMemory, "", 0, Outcome::MemoryLimit},
        {RunEnd::Answered, kAnswerScriptNotRun, "", 0, Outcome::ScriptNotRun},
        // The game's own save is no module file, even when its refusal names the edited one.
        {RunEnd::Answered, std::string(kAnswerSaveNotLoaded) + "\n_chapter_\\magic.drav: item count out of range", "",
         0, Outcome::SaveNotLoaded},
        // Nor is any failure once the module is taken, though it names the file.
        {RunEnd::Answered, std::string(kAnswerGameError) + "\na tick: Game Error 2: magic.drav: no room", "", 0,
         Outcome::GameErrorInPlay},
        {RunEnd::Answered, std::string(kAnswerSlowStep) + "\na tick took 1.2 s", "", 0, Outcome::Hang},
        {RunEnd::Answered, std::string(kAnswerEventFlood) + "\na tick queued 900000 events", "", 0,
         Outcome::EventFlood},
        {RunEnd::Answered, std::string(kAnswerEmptyParty) + "\na trap: the party is empty", "", 0, Outcome::EmptyParty},
        {RunEnd::Answered, kAnswerJourneyDropped, "", 0, Outcome::JourneyDropped},
        {RunEnd::Answered, "gibberish", "", 0, Outcome::Crash},
        {RunEnd::TimeLimit, "", "", 0, Outcome::Hang},
        {RunEnd::Stuck, "", "", 0, Outcome::Hang},
        {RunEnd::MemoryLimit, "", "", 0, Outcome::MemoryLimit},
        {RunEnd::Signalled, "", "", SIGSEGV, Outcome::Crash},
        {RunEnd::Exited, "", "x.cpp:66:20: runtime error: signed integer overflow\n", 0, Outcome::SanitizerReport},
        {RunEnd::Exited, "", "==1==ERROR: AddressSanitizer: heap-buffer-overflow on address\n", 0,
         Outcome::SanitizerReport},
        {RunEnd::Exited, "", "==1==ERROR: AddressSanitizer: requested allocation size 0x1 exceeds\n", 0,
         Outcome::MemoryLimit},
        {RunEnd::Exited, "", "==1==ERROR: AddressSanitizer: out of memory: allocator is trying\n", 0,
         Outcome::MemoryLimit},
        // AddressSanitizer reports a fault of its own handler: still a crash.
        {RunEnd::Exited, "", "==1==ERROR: AddressSanitizer: SEGV on unknown address 0x0\n", 0, Outcome::Crash},
        {RunEnd::Exited, "", "==1==ERROR: AddressSanitizer: stack-overflow on address\n", 0, Outcome::Crash},
        {RunEnd::Exited, "", "", 0, Outcome::Crash},
    };
    for (const Case& c : cases) {
        RunResult result;
        result.end = c.end;
        result.answer = c.answer;
        result.output = c.output;
        result.signal = c.signal;
        result.exitStatus = c.end == RunEnd::Exited ? 1 : 0;
        const Judgement judgement = Judge(result, "magic.drav");
        EXPECT_EQ(judgement.outcome, c.expected) << c.answer << c.output << " " << judgement.detail;
        EXPECT_EQ(IsAcceptable(judgement.outcome), c.expected == Outcome::Played);
    }
}

TEST(SweepOutcome, TheSummaryCountsEachOutcomeAndNamesTheSlowest) {
    SweepTally tally;
    tally.Add(Outcome::Played, 0.25, "a");
    tally.Add(Outcome::Played, 0.5, "b");
    tally.Add(Outcome::Crash, 2.0, "world.drav:3 1 -> -1");
    EXPECT_EQ(tally.Count(Outcome::Played), 2u);
    EXPECT_EQ(tally.Count(Outcome::Crash), 1u);
    EXPECT_EQ(tally.Count(Outcome::Hang), 0u);
    const std::string summary = tally.Summary(3.0);
    auto lineOf = [&](const std::string& name) {
        const std::size_t at = summary.find(name);
        return at == std::string::npos ? std::string() : summary.substr(at, summary.find('\n', at) - at);
    };
    EXPECT_EQ(lineOf("loaded and played").back(), '2') << summary;
    EXPECT_EQ(lineOf("crash").back(), '1') << summary;
    EXPECT_EQ(lineOf("hang").back(), '0') << summary;
    EXPECT_NE(summary.find("0.500 s at the median, 2.000 s at the slowest (world.drav:3 1 -> -1)"), std::string::npos)
        << summary;
}

TEST(SweepIsolatedRun, EachWayOfEndingIsToldApart) {
    const RunResult answered = RunOne([] {
        std::fputs("said on the way\n", stderr);
        return std::string("the answer");
    });
    EXPECT_EQ(answered.end, RunEnd::Answered);
    EXPECT_EQ(answered.answer, "the answer");
    EXPECT_EQ(answered.output, "said on the way\n");

    const RunResult crashed = RunOne([]() -> std::string { std::abort(); });
    EXPECT_EQ(crashed.end, RunEnd::Signalled);
    EXPECT_EQ(crashed.signal, SIGABRT);

    const RunResult exited = RunOne([]() -> std::string { _exit(3); });
    EXPECT_EQ(exited.end, RunEnd::Exited);
    EXPECT_EQ(exited.exitStatus, 3);

    // The time limit is of work: waiting, as on a busy machine, is not counted.
    const RunResult waited = RunOne(
        []() -> std::string {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            return "waited";
        },
        {0.2, 1ull << 30});
    EXPECT_EQ(waited.end, RunEnd::Answered);
    const RunResult hung = RunOne(
        []() -> std::string {
            for (;;) {
            }
        },
        {0.2, 1ull << 30});
    EXPECT_EQ(hung.end, RunEnd::TimeLimit);
    EXPECT_GE(hung.processorSeconds, 0.2);
    // One that waits for ever is stopped by the clock: once it has run too long,
    // or gone too long without working.
    const auto waitsForEver = []() -> std::string {
        for (;;) pause();
    };
    const RunResult stuck = RunOne(waitsForEver, {0.2, 1ull << 30, 0.5});
    EXPECT_EQ(stuck.end, RunEnd::Stuck);
    EXPECT_GE(stuck.seconds, 0.5);
    const RunResult idle = RunOne(waitsForEver, {0.2, 1ull << 30, 0.0, 0.3});
    EXPECT_EQ(idle.end, RunEnd::Stuck);
    EXPECT_GE(idle.seconds, 0.3);

    // Memory is touched page by page, slowly enough for the watch to see it grow.
    const RunResult grew = RunOne(
        []() -> std::string {
            for (;;) {
                auto* block = static_cast<char*>(std::malloc(16 << 20));
                std::memset(block, 1, 16 << 20);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        },
        {20.0, 200ull << 20});
    EXPECT_EQ(grew.end, RunEnd::MemoryLimit);
    EXPECT_LT(grew.seconds, 20.0);
}

TEST(SweepIsolatedRun, EveryStartedRunIsReportedOnceWhateverItsOrder) {
    CIsolatedRuns runs(3, {});
    std::vector<std::string> answers;
    for (int i = 0; i < 7; ++i)
        runs.Start(
            [i] {
                std::this_thread::sleep_for(std::chrono::milliseconds(7 - i));
                return std::to_string(i);
            },
            [&](const RunResult& result) { answers.push_back(result.answer); });
    runs.Wait();
    std::sort(answers.begin(), answers.end());
    EXPECT_EQ(answers, (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}));
}
