// A long session in which the hero's heartbeat launches an eight-hour spell at her
// (River Sight, made to last eight hours and roll 1d4): LastingEffects/1 one spell a
// heartbeat, LastingEffects/999 the most one script run may launch. The session is
// 30 game minutes (54,000 ticks) on an open area with nobody else in it.
// Reports the tick's median, 99th percentile and slowest over the whole session,
// the median of its first and of its last tenth (early_, late_), the applied
// spells the hero holds and the save's size at the first tenth and at the end:
// lasting effects that pile up make the late figures grow, renewed ones keep
// them flat. Every tenth checks the scenario: each heartbeat that ran landed
// every spell it launched, and the spell holds on the hero once one landed; at
// the end, enough heartbeats ran. Otherwise the run fails rather than report
// figures of another scene. In quick mode the session is 6,000 ticks.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench_quick.h"
#include "common/data_file_reader.h"
#include "rules/module.h"
#include "script/script_loader.h"
#include "support/sample_game.h"
#include "support/temp_dir.h"

namespace {

constexpr int kSessionTicks = 54000;
constexpr int kSegments = 10;
const DRAV::CModuleVersionRange kExpected("Orvex", 5, 0);

std::shared_ptr<DRAVCommon::CDataFileFactory> EightHourSight() {
    return QuillmereTest::EditedSampleSource(DRAVCommon::DFK_GLOBAL, "global_magic.drav",
                                             "<effect> modify levelminutes 3 observation </effect>",
                                             "<effect> modify 8hours ( 4 0 ) observation </effect>");
}

std::shared_ptr<DRAV::CScript> LaunchingHeartbeat(int launches) {
    std::ostringstream text;
    text << "<lua> for i = 1, " << launches << " do drav_launch_spell( context, \"river_sight\" ) end </lua>";
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text.str()), "heartbeat.drav");
    return DRAV::LoadScript(reader);
}

double Median(std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    return micros[micros.size() / 2];
}

// The lines of `events` that tell of River Sight taking hold.
int CastsLanded(const std::vector<std::shared_ptr<DRAV::CEvent>>& events) {
    int casts = 0;
    for (const auto& event : events)
        if (const auto* line = dynamic_cast<const DRAV::CMessageEvent*>(event.get()))
            if (line->GetText() == "River Sight takes hold of Wren.") ++casts;
    return casts;
}

// Empty when the hero holds River Sight with its bonus, else what is wrong.
std::string SpellHolds(const DRAV::CActor& hero) {
    const auto& effects = hero.GetActiveEffects();
    const bool held = std::any_of(effects.begin(), effects.end(),
                                  [](const auto& effect) { return effect->GetName() == "River Sight"; });
    if (!held) return "River Sight does not hold on the hero";
    const std::int32_t bonus = hero.GetModifier(DRAV::MOD_OBSERVATION);
    if (bonus < 1 || bonus > 4) return "the hero's observation bonus is " + std::to_string(bonus);
    return "";
}

void LastingEffects(benchmark::State& state) {
    const int launches = static_cast<int>(state.range(0));
    const int ticks = BenchSupport::QuickMode() ? 6000 : kSessionTicks;
    const int segmentTicks = ticks / kSegments;
    for (auto _ : state) {
        QuillmereTest::SampleGame game(EightHourSight());
        game.EnterOpenArea(20, 20);
        game.Main()->SetHeartbeat(LaunchingHeartbeat(launches));
        game.DrainEvents();
        QuillmereTest::TempDir dir;
        std::vector<double> micros;
        micros.reserve(ticks);
        std::vector<std::uintmax_t> saveBytes;
        std::vector<std::size_t> records;
        int casts = 0;
        for (int segment = 0; segment < kSegments; ++segment) {
            for (int tick = 0; tick < segmentTicks; ++tick) {
                const auto start = std::chrono::steady_clock::now();
                game.Tick();
                micros.push_back(
                    std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
                casts += CastsLanded(game.DrainEvents());
            }
            std::string wrong = casts > 0 ? SpellHolds(*game.Main()) : "";
            if (casts % launches != 0)
                wrong = std::to_string(casts) + " casts landed, not whole heartbeats of " + std::to_string(launches);
            if (!wrong.empty()) {
                state.SkipWithError(("segment " + std::to_string(segment) + ": " + wrong).c_str());
                return;
            }
            game.Engine().SaveGame(dir / "session.drav", kExpected, nullptr);
            saveBytes.push_back(std::filesystem::file_size(dir / "session.drav"));
            records.push_back(game.Main()->GetActiveEffects().size());
        }
        // A heartbeat comes every 5 to 15 game seconds and picks the party half the time.
        if (casts / launches < ticks / 2400) {
            state.SkipWithError(("only " + std::to_string(casts / launches) + " heartbeats ran").c_str());
            return;
        }
        const auto tenth = static_cast<std::ptrdiff_t>(segmentTicks);
        state.counters["early_median_us"] = Median({micros.begin(), micros.begin() + tenth});
        state.counters["late_median_us"] = Median({micros.end() - tenth, micros.end()});
        std::sort(micros.begin(), micros.end());
        state.counters["median_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[micros.size() * 99 / 100];
        state.counters["slowest_us"] = micros.back();
        state.counters["early_records"] = static_cast<double>(records.front());
        state.counters["late_records"] = static_cast<double>(records.back());
        state.counters["early_save_kb"] = static_cast<double>(saveBytes.front()) / 1024.0;
        state.counters["late_save_kb"] = static_cast<double>(saveBytes.back()) / 1024.0;
    }
}

}  // namespace

BENCHMARK(LastingEffects)->Arg(1)->Arg(999)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
