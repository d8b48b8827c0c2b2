// One engine tick on the fixed crowds of tests/support/tick_scenarios.h, over ten
// game minutes (36,000 ticks) each:
//   EngineTick/1: everyone walking, 6 party members and 50 sneaking neutral
//   monsters on an open 100 x 100 area; EngineTick/0: only the party walks.
//   EngineFight: the party fighting 50 goblins (cleavers and bows) on 60 x 60.
// Reports the median, the 99th percentile and the slowest tick; eleven ticks and
// the scene must fit in one 16 ms frame. Each run checks its crowd before every
// tick (all present, walking or fighting as it should) and, where the behaviour
// test keeps one, the outcome's hash at 300, 3,000 and 36,000 ticks, and fails
// rather than report figures of another scene.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "support/tick_scenarios.h"

namespace {

constexpr int kTicks = 36000;

// The hashes of a run at these ticks: those of tests/engine/tick_behaviour_test.cpp
// at 300 and 3,000 ticks, and the end of the whole run.
using Hashes = std::map<int, std::uint64_t>;
const Hashes kWalkingHashes = {{300, 0x9351c406b4f334feull}, {3000, 0x3c950878e3b8fc8dull}, {kTicks, 0xb6baf683adcc6049ull}};
const Hashes kFightHashes = {{300, 0x51a56a71125b9f32ull}, {3000, 0xa0bd3c7a4ee5cb75ull}, {kTicks, 0x1df9e117e44c34d5ull}};

void ReportTicks(benchmark::State& state, std::vector<double>& micros) {
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["slowest_us"] = micros.back();
}

// Runs `crowd` for the whole run, timing only the engine's tick; false (with the
// benchmark failed) when the crowd or a hash is not what it should be.
template <typename Crowd>
bool RunCrowd(benchmark::State& state, Crowd& crowd, const Hashes* hashes, std::vector<double>& micros) {
    micros.clear();
    micros.reserve(kTicks);
    for (int tick = 1; tick <= kTicks; ++tick) {
        crowd.GiveOrders();
        if (const std::string wrong = crowd.Check(); !wrong.empty()) {
            state.SkipWithError(("tick " + std::to_string(tick) + ": " + wrong).c_str());
            return false;
        }
        const auto start = std::chrono::steady_clock::now();
        crowd.Game().Tick();
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
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
    std::vector<double> micros;
    for (auto _ : state)
        if (!RunCrowd(state, crowd, monstersWalk ? &kWalkingHashes : nullptr, micros)) return;
    state.counters["actors"] = static_cast<double>(crowd.Area().GetActors().size());
    ReportTicks(state, micros);
}

void EngineFight(benchmark::State& state) {
    QuillmereTest::FightingCrowd crowd;
    std::vector<double> micros;
    for (auto _ : state)
        if (!RunCrowd(state, crowd, &kFightHashes, micros)) return;
    state.counters["kills"] = crowd.Kills();
    ReportTicks(state, micros);
}

}  // namespace

BENCHMARK(EngineTick)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineFight)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
