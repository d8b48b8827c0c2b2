// One engine tick with a party of 6 and 50 monsters on an open 100 x 100 area, over
// ten game minutes (36,000 ticks). Walkers that have arrived are sent to a new
// random point; the monsters are neutral with a proximity trigger, so the AI pass
// tests them every tick. EngineTick/1: everyone walks; EngineTick/0: only the party
// walks and the monsters stand. Reports the median, the 99th percentile and the
// slowest tick; a tick must stay far below the 16 ms frame.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "support/sample_game.h"

namespace {

constexpr int kTicks = 36000;
constexpr int kSize = 100;
constexpr int kPartySize = 6;
constexpr int kMonsters = 50;

double Centre(int cell) { return cell * 2.5 + 1.25; }

void EngineTick(benchmark::State& state) {
    const bool monstersWalk = state.range(0) != 0;
    auto game = QuillmereTest::StartSampleGame();
    DRAV::CArea& area = game.EnterOpenArea(kSize, kSize);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> cell(1, kSize - 2);

    // The party: the main character and five companions made from the sample.
    for (int i = 1; i < kPartySize; ++i) {
        std::shared_ptr<DRAV::CActor> companion;
        game.Module().CreateActor(companion, &game.Game(), "ferryman_elder", "", 0);
        game.Game().AddPartyMember(companion);
        area.PlaceActor(2 + i, 2, false, companion);
    }
    for (int i = 0; i < kMonsters; ++i) {
        const auto monster = game.Spawn("reed_smuggler", cell(random), cell(random));
        if (monster) monster->SetRelation(DRAV::RELATION_NEUTRAL);
    }
    game.Game().UpdatePartyVisibility();
    // The area's path search is built once, on first use after entering; it is not a tick's cost.
    area.GetWaypointCalculator();

    std::vector<double> micros;
    micros.reserve(kTicks);
    for (auto _ : state) {
        micros.clear();
        for (int tick = 0; tick < kTicks; ++tick) {
            for (const auto& actor : area.GetActors())
                if (!actor->GetCurrentOrder() && (monstersWalk || actor->IsPartyMember()))
                    actor->PushOrder(std::make_shared<DRAV::CMoveOrder>(Centre(cell(random)), Centre(cell(random))),
                                     false);
            const auto start = std::chrono::steady_clock::now();
            game.Tick();
            micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
            game.DrainEvents();
        }
    }
    std::sort(micros.begin(), micros.end());
    state.counters["actors"] = static_cast<double>(area.GetActors().size());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["slowest_us"] = micros.back();
}

}  // namespace

BENCHMARK(EngineTick)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
