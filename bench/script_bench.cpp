// One trivial script evaluation (a fresh Lua state with the safe libraries and the
// 58 native functions, then "return true"), and one CEngine::SetTag while 30
// assigned quests wait beside the chapter's own, each evaluating its completion script.
// Scripts are compiled when they are read: both fail if an evaluation compiles.
// LaunchFlood: a script that launches a million spells at its own actor, stopped
// at the limit of things one script may make, then the two ticks that resolve and
// clear what it made; each part timed on a fresh game.
// BusyScript: a script of a million and a half loop instructions, for what its limits cost at
// every instruction hook.
// SetTagAmongActors/N: one CEngine::SetTagValue of a tag that no patch of the area
// names, as a quest's script sets one (no quest checked), on the landing holding N
// actors: it costs the same however many stand there. Timed in batches of 100
// sets, reported per set; fails unless the N actors are there throughout and the
// tag holds the last value set.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench_quick.h"
#include "iteration_times.h"
#include "common/data_file_reader.h"
#include "script/script_limits.h"
#include "script/script_loader.h"
#include "support/lua_parse_count.h"
#include "support/overlay_source.h"
#include "support/sample_game.h"
#include "world/area/patch.h"

namespace {

constexpr int kPendingQuests = 30;

std::shared_ptr<DRAV::CLuaScript> ScriptOf(const std::string& element) {
    DRAVCommon::CDataFileFactoryMemory files;
    files.Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "bench.drav", {element.begin(), element.end()});
    DRAVCommon::CDataFileReader reader(files, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "bench.drav");
    return DRAV::LoadScript(reader);
}

// Times an evaluation of `script` each iteration; `failure` when one does not return true.
void TimeEvaluations(benchmark::State& state, DRAV::CLuaScript& script, const char* failure) {
    BenchSupport::IterationTimes times;
    for (auto _ : state) {
        DRAV::CScriptContext context;
        std::int32_t result = 0;
        times.Time([&] { result = script.Eval(nullptr, context); });
        if (result != 1) {
            state.SkipWithError(failure);
            break;
        }
    }
    times.Report(state);
}

void TrivialEval(benchmark::State& state) {
    DRAV::InstallNativeScriptFunctions();
    const auto beforeRead = QuillmereTest::LuaTextCompiles();
    auto script = ScriptOf("<lua> return true </lua>");
    const auto compiles = QuillmereTest::LuaTextCompiles();
    if (compiles == beforeRead) state.SkipWithError("reading the script compiled nothing: the count is blind");
    TimeEvaluations(state, *script, "the script did not return true");
    if (QuillmereTest::LuaTextCompiles() != compiles) state.SkipWithError("an evaluation compiled its script");
}
BENCHMARK(TrivialEval)->Apply(BenchSupport::QuickIterations<>);

void SetTagWithPendingQuests(benchmark::State& state) {
    // The chapter's own quests stay: its scripts give them as the party comes ashore.
    const auto sample = QuillmereTest::SampleFolderSource();
    const auto chapterQuests = sample->ReadAll(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "quests.drav");
    std::string quests(chapterQuests->begin(), chapterQuests->end());
    std::string pending;
    for (int i = 0; i < kPendingQuests; ++i)
        pending += " <quest> quest" + std::to_string(i) + " \"Quest\" 10 assigned <lua> return drav_check_tag( context, "
                   "\"done" + std::to_string(i) + "\" ) </lua> </quest>\n";
    quests.insert(quests.rfind("</quests>"), pending);
    auto source = std::make_shared<QuillmereTest::OverlaySource>(sample);
    source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "quests.drav", quests);

    DRAV::CEngine engine;
    engine.LoadModule(1, DRAV::CModuleVersionRange("Orvex", 5, 0), source);
    engine.BeginNewGame(engine.NewGame());
    engine.EnterArea();
    engine.GetGame()->SetQuestTag("assigned", 1);
    const auto compiles = QuillmereTest::LuaTextCompiles();
    BenchSupport::IterationTimes times;
    for (auto _ : state) times.Time([&] { engine.SetTag("bell", false); });
    times.Report(state);
    if (QuillmereTest::LuaTextCompiles() != compiles) state.SkipWithError("an evaluation compiled its script");
    state.counters["quests"] = kPendingQuests;

    // The scripts ran and judged: none was complete, and the first one is once its tag is set.
    for (int i = 0; i < kPendingQuests; ++i)
        if (engine.GetGame()->IsQuestTagSet("quest" + std::to_string(i))) state.SkipWithError("a quest completed");
    engine.SetTag("done0", false);
    if (!engine.GetGame()->IsQuestTagSet("quest0")) state.SkipWithError("the completion scripts did not run");
}

void SetTagAmongActors(benchmark::State& state) {
    constexpr int kSetsABatch = 100;
    const std::string tag = "bench_unpatched";
    const auto actors = static_cast<std::size_t>(state.range(0));
    const QuillmereTest::SampleGame game;
    DRAV::CArea& area = game.Area();
    for (const auto& actor : DRAV::ActorList(area.GetActors()))
        if (actor->GetRelation() != DRAV::RELATION_PARTY) area.RemoveActor(*actor);
    while (area.GetActors().size() < actors) {
        auto goblin = area.CreateEncounterActor("reed_goblin", "", 0, game.Module());
        goblin->SetPosition(game.Main()->GetX(), game.Main()->GetY());
        area.AddActor(std::move(goblin));
    }
    if (area.GetPatches().empty()) return state.SkipWithError("the landing has no patch to pass over");
    for (const auto& patch : area.GetPatches())
        if (patch->GetTriggerTag() == tag) return state.SkipWithError("a patch of the landing names the tag");
    if (area.GetActors().size() != actors) return state.SkipWithError("the landing holds other than its actors");
    std::vector<double> micros;
    std::int32_t value = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kSetsABatch; ++i) game.Engine().SetTagValue(tag, value++ % 1000 + 1, true);
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
                         kSetsABatch);
    }
    if (area.GetActors().size() != actors) return state.SkipWithError("the sets changed the landing's actors");
    if (game.Game().GetQuestTags().at(tag) != (value - 1) % 1000 + 1) return state.SkipWithError("the tag was not set");
    std::sort(micros.begin(), micros.end());
    state.counters["actors"] = static_cast<double>(actors);
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["slowest_us"] = micros.back();
}
BENCHMARK(SetTagAmongActors)->Arg(4)->Arg(100)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);

void BusyScript(benchmark::State& state) {
    DRAV::InstallNativeScriptFunctions();
    auto script = ScriptOf("<lua> local n = 0 for i = 1, 500000 do n = n + i % 7 end return n > 0 </lua>");
    TimeEvaluations(state, *script, "the script did not finish its loop");
}
BENCHMARK(BusyScript)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);

BENCHMARK(SetTagWithPendingQuests)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);

void LaunchFlood(benchmark::State& state) {
    const std::string expected = "drav_launch_spell: the script makes more than " +
                                 std::to_string(DRAV::kScriptMadeLimit) + " things";
    auto flood = ScriptOf("<lua> for i = 1, 1000000 do drav_launch_spell( context, \"reed_lash\" ) end </lua>");
    BenchSupport::IterationTimes scriptTimes;
    BenchSupport::IterationTimes tickTimes;
    for (auto _ : state) {
        QuillmereTest::SampleGame game;
        DRAV::CScriptContext context;
        context.actor = game.Main().get();
        std::string failure;
        scriptTimes.Time([&] {
            try {
                flood->Eval(&game.Engine(), context);
            } catch (const CDRAVException& error) {
                failure = error.GetMessage();
            }
        });
        if (failure.find(expected) == std::string::npos) {
            state.SkipWithError(("the flood did not stop at the limit: " + failure).c_str());
            break;
        }
        if (game.Area().GetEffects().size() != DRAV::kScriptMadeLimit) {
            state.SkipWithError("the flood made other than the limit of effects");
            break;
        }
        tickTimes.Time([&] { game.Tick(2); });
        if (!game.Area().GetEffects().empty()) {
            state.SkipWithError("two ticks left effects of the flood");
            break;
        }
    }
    scriptTimes.Report(state, "script_");
    tickTimes.Report(state, "ticks_");
}
BENCHMARK(LaunchFlood)->Unit(benchmark::kMillisecond)->Iterations(20)->Apply(BenchSupport::QuickIterations<>);

}  // namespace

BENCHMARK_MAIN();
