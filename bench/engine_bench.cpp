// One engine tick on the fixed crowds of tests/support/tick_scenarios.h, over ten
// game minutes (36,000 ticks) each:
//   EngineTick/1: everyone walking, 6 party members and 50 sneaking neutral
//   monsters on an open 100 x 100 area; EngineTick/0: only the party walks.
//   EngineFight: the party fighting 50 goblins (cleavers and bows) on 60 x 60.
//   GapCrowd/N/1: the walking crowd beside N walkers who cross a wall both ways
//   by its one gap, two cells wide, on 100 x 100; GapCrowd/N/0: the same walks
//   without the wall, which nobody holds up. Each also counts the crossings, the
//   walkers that crossed at least once (the run fails unless most did) and the
//   walks that ended away from their goal (gave_up), which people walking in the
//   way should seldom cause.
// EngineCrowd/N: N actors on an open area sized for them, as dense as EngineTick/1's:
//   the party and half the rest walking, the other half fighting in pairs (a guard
//   against a goblin, each fallen goblin replaced); 3,600 ticks (600 in quick mode),
//   checked at 600. Its tick's cost per actor (cpu_median_us / actors) should stay
//   about the same from 100 actors to 1,600: no pass may look at every actor for
//   each actor. The run fails unless walks arrived and goblins fell.
// Reports the median, the 99th percentile and the slowest tick; eleven ticks and
// the scene must fit in one 16 ms frame. The same figures of the thread's own CPU
// time (cpu_*) leave out the time other programs had the processor, which on a
// shared machine dwarfs a tick. Each run checks its crowd before every
// tick (all present, walking or fighting as it should) and, but for EngineTick/0,
// the outcome's hash at 300, 3,000 and 36,000 ticks, and fails rather than report
// figures of another scene: a change that shows only late, as one in the gap
// crowd's give-ups, shows there. In quick mode each run is 3,000 ticks, checked
// at 300 and 3,000.
// EffectsInFlight/N: N spells launched at the hero on the sample game, and the two
// ticks that resolve them and clear the area of them. The time per effect
// (per_effect_ns) is what to compare across N: it grows a little as the effects
// outgrow the processor's caches, where a removal that walked the list made it
// grow with N, a hundredfold from 1,000 to 100,000.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench_quick.h"
#include "iteration_times.h"
#include "common/processor_clock.h"
#include "rules/module.h"
#include "support/sample_game.h"
#include "support/tick_scenarios.h"

namespace {

constexpr int kTicks = 36000;

// The hashes of a run at these ticks: those of tests/engine/tick_behaviour_test.cpp
// at 300 and 3,000 ticks, and the end of the whole run.
using Hashes = std::map<int, std::uint64_t>;
const Hashes kWalkingHashes = {{300, 0xe551e1ba9e06fe20ull}, {3000, 0x5d8e20f5a0a361daull}, {kTicks, 0x794764dab408f0b7ull}};
const Hashes kFightHashes = {{300, 0x6469b5319b35f735ull}, {3000, 0xe619692419a12962ull}, {kTicks, 0x261b46001f86c636ull}};
// GapCrowd's, by its walkers and whether the wall stands, at the same ticks.
const std::map<std::pair<int, bool>, Hashes> kGapHashes = {
    {{25, true}, {{300, 0xaa5a8bb5fe48635dull}, {3000, 0x27e54623b5c1d0b0ull}, {kTicks, 0x9417ae00523b3e64ull}}},
    {{100, true}, {{300, 0x5919333fffc50792ull}, {3000, 0xdc8c539911d0524aull}, {kTicks, 0xfc04bee338bd9052ull}}},
    {{25, false}, {{300, 0x5c8405dc1cc99ae6ull}, {3000, 0x766b26e6d3bf68c0ull}, {kTicks, 0xd22c5adfa9439d2full}}},
    {{100, false}, {{300, 0xb6a359d31bbad1ebull}, {3000, 0xbd073f0b9d6c4a12ull}, {kTicks, 0x3d331be488ee1babull}}},
};

// Microseconds of wall-clock time and of this thread's processor time per tick.
struct TickTimes {
    std::vector<double> wall;
    std::vector<double> cpu;
};

double ThreadMicros() { return DRAVCommon::ThreadProcessorSeconds() * 1e6; }

void Report(benchmark::State& state, const std::string& prefix, std::vector<double>& micros) {
    std::sort(micros.begin(), micros.end());
    state.counters[prefix + "median_us"] = micros[micros.size() / 2];
    state.counters[prefix + "p99_us"] = micros[micros.size() * 99 / 100];
    state.counters[prefix + "slowest_us"] = micros.back();
}

void ReportTicks(benchmark::State& state, TickTimes& times) {
    Report(state, "", times.wall);
    Report(state, "cpu_", times.cpu);
}

// Runs `crowd` for the whole run, timing only the engine's tick; false (with the
// benchmark failed) when the crowd or a hash is not what it should be.
template <typename Crowd>
bool RunCrowd(benchmark::State& state, Crowd& crowd, const Hashes* hashes, TickTimes& times,
              int fullTicks = kTicks, int quickTicks = 3000) {
    times.wall.clear();
    times.cpu.clear();
    const int ticks = BenchSupport::QuickMode() ? quickTicks : fullTicks;
    times.wall.reserve(ticks);
    times.cpu.reserve(ticks);
    for (int tick = 1; tick <= ticks; ++tick) {
        crowd.GiveOrders();
        if (const std::string wrong = crowd.Check(); !wrong.empty()) {
            state.SkipWithError(("tick " + std::to_string(tick) + ": " + wrong).c_str());
            return false;
        }
        const double cpuStart = ThreadMicros();
        const auto start = std::chrono::steady_clock::now();
        crowd.Game().Tick();
        const auto end = std::chrono::steady_clock::now();
        times.cpu.push_back(ThreadMicros() - cpuStart);
        times.wall.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        crowd.Game().DrainEvents();
        if (!hashes || !hashes->count(tick)) continue;
        const std::uint64_t hash = QuillmereTest::CrowdHash(crowd.Game());
        if (hash != hashes->at(tick)) {
            state.SkipWithError(("tick " + std::to_string(tick) + ": the outcome changed, hash " +
                                 QuillmereTest::HashText(hash))
                                    .c_str());
            return false;
        }
    }
    return true;
}

void EngineTick(benchmark::State& state) {
    const bool monstersWalk = state.range(0) != 0;
    QuillmereTest::WalkingCrowd crowd(monstersWalk);
    TickTimes times;
    for (auto _ : state)
        if (!RunCrowd(state, crowd, monstersWalk ? &kWalkingHashes : nullptr, times)) return;
    state.counters["actors"] = static_cast<double>(crowd.Area().GetActors().size());
    ReportTicks(state, times);
}

void EngineFight(benchmark::State& state) {
    QuillmereTest::FightingCrowd crowd;
    TickTimes times;
    for (auto _ : state)
        if (!RunCrowd(state, crowd, &kFightHashes, times)) return;
    state.counters["kills"] = crowd.Kills();
    ReportTicks(state, times);
}

void GapCrowd(benchmark::State& state) {
    const auto crossers = static_cast<int>(state.range(0));
    const bool walled = state.range(1) != 0;
    QuillmereTest::GapCrowd crowd(crossers, walled);
    TickTimes times;
    for (auto _ : state)
        if (!RunCrowd(state, crowd, &kGapHashes.at({crossers, walled}), times)) return;
    // A run in which most walkers never got across measured walkers standing in a jam.
    if (2 * crowd.CrossersThatCrossed() <= crossers) {
        state.SkipWithError(("only " + std::to_string(crowd.CrossersThatCrossed()) + " of " +
                             std::to_string(crossers) + " walkers crossed")
                                .c_str());
        return;
    }
    state.counters["actors"] = static_cast<double>(crowd.Area().GetActors().size());
    state.counters["crossings"] = crowd.Crossings();
    state.counters["crossed"] = crowd.CrossersThatCrossed();
    state.counters["gave_up"] = crowd.GaveUp();
    ReportTicks(state, times);
}

// The hash at tick 600 of each size's run.
const std::map<int, std::uint64_t> kMixedHashes = {
    {100, 0xdc6e3d9315d333bcull},
    {400, 0x9fccce7f40b66f10ull},
    {1600, 0xa77d5c933a9a2416ull},
};

void EngineCrowd(benchmark::State& state) {
    const auto actors = static_cast<int>(state.range(0));
    QuillmereTest::MixedCrowd crowd(actors);
    const Hashes hashes = {{600, kMixedHashes.at(actors)}};
    TickTimes times;
    for (auto _ : state)
        if (!RunCrowd(state, crowd, &hashes, times, 3600, 600)) return;
    if (crowd.Kills() == 0 || crowd.Arrivals() == 0) {
        state.SkipWithError(("the crowd did not walk and fight: " + std::to_string(crowd.Arrivals()) +
                             " walks arrived, " + std::to_string(crowd.Kills()) + " goblins fell")
                                .c_str());
        return;
    }
    state.counters["actors"] = static_cast<double>(crowd.Area().GetActors().size());
    state.counters["kills"] = crowd.Kills();
    state.counters["arrivals"] = crowd.Arrivals();
    ReportTicks(state, times);
    state.counters["cpu_median_per_actor_us"] = state.counters["cpu_median_us"] / actors;
}

void EffectsInFlight(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    BenchSupport::IterationTimes times;
    double micros = 0.0;
    for (auto _ : state) {
        QuillmereTest::SampleGame game;
        const DRAV::CSpell& lash = *game.Module().GetSpells().at("reed_lash");
        for (int i = 0; i < count; ++i) game.Engine().LaunchScriptSpell(*game.Main(), lash);
        if (game.Area().GetEffects().size() != static_cast<std::size_t>(count)) {
            state.SkipWithError("the effects were not all launched");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        times.Time([&] { game.Tick(2); });
        micros += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        if (!game.Area().GetEffects().empty()) {
            state.SkipWithError("two ticks left effects in flight");
            return;
        }
    }
    times.Report(state);
    state.counters["per_effect_ns"] = micros * 1000.0 / (static_cast<double>(state.iterations()) * count);
}

}  // namespace

BENCHMARK(EffectsInFlight)->Arg(1000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond)
    ->Apply(BenchSupport::QuickIterations<1>);
BENCHMARK(EngineTick)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineFight)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineCrowd)->Arg(100)->Arg(400)->Arg(1600)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(GapCrowd)
    ->Args({25, 1})
    ->Args({100, 1})
    ->Args({25, 0})
    ->Args({100, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
