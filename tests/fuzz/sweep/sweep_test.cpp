// The module sweep's own parts: finding a file's numbers, running work in children
// that may crash, hang or run away, and sorting what they did.

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

#include "sweep/isolated_run.h"
#include "sweep/modifier_edits.h"
#include "sweep/number_edits.h"
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
        // The game's own save is no module file, even when its refusal names the edited one.
        {RunEnd::Answered, std::string(kAnswerSaveNotLoaded) + "\n_chapter_\\magic.drav: item count out of range", "",
         0, Outcome::SaveNotLoaded},
        {RunEnd::Answered, "gibberish", "", 0, Outcome::Crash},
        {RunEnd::TimeLimit, "", "", 0, Outcome::Hang},
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

    const RunResult hung = RunOne(
        []() -> std::string {
            for (;;) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        },
        {0.2, 1ull << 30});
    EXPECT_EQ(hung.end, RunEnd::TimeLimit);
    EXPECT_GE(hung.seconds, 0.2);

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
