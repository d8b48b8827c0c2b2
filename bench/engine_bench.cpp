// One engine tick with a party of 6 and 50 monsters on an open 100 x 100 area, over
// ten game minutes (36,000 ticks). Walkers that have arrived are sent to a new
// random point; the monsters are neutral with a proximity trigger, so the AI pass
// tests them every tick. EngineTick/1: everyone walks; EngineTick/0: only the party
// walks and the monsters stand. Reports the median, the 99th percentile and the
// slowest tick; a tick must stay far below the 16 ms frame. EngineFight: the party
// fighting 50 monsters (below).

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

// The party: the main character and five companions made from the sample.
void AddCompanions(const QuillmereTest::SampleGame& game, DRAV::CArea& area) {
    for (int i = 1; i < kPartySize; ++i) {
        std::shared_ptr<DRAV::CActor> companion;
        game.Module().CreateActor(companion, &game.Game(), "ferryman_elder", "", 0);
        game.Game().AddPartyMember(companion);
        area.PlaceActor(2 + i, 2, false, companion);
    }
}

// One tick, its time in microseconds appended to `micros`; the events are dropped.
void TimedTick(const QuillmereTest::SampleGame& game, std::vector<double>& micros) {
    const auto start = std::chrono::steady_clock::now();
    game.Tick();
    micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    game.DrainEvents();
}

void ReportTicks(benchmark::State& state, std::vector<double>& micros) {
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["slowest_us"] = micros.back();
}

void EngineTick(benchmark::State& state) {
    const bool monstersWalk = state.range(0) != 0;
    auto game = QuillmereTest::StartSampleGame();
    DRAV::CArea& area = game.EnterOpenArea(kSize, kSize);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> cell(1, kSize - 2);

    AddCompanions(game, area);
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
            TimedTick(game, micros);
        }
    }
    state.counters["actors"] = static_cast<double>(area.GetActors().size());
    ReportTicks(state, micros);
}

// The same party fighting 50 goblins, half with cleavers and half with bows, on an
// open 60 x 60 area for five game minutes (9,000 ticks). Everyone without an order
// attacks a random enemy; the party is healed between ticks so that the fight goes
// on, and a fallen goblin is replaced by a fresh one, so that 56 actors fight
// throughout: approach, wind-up, strikes, missiles in flight, deaths and loot.
void EngineFight(benchmark::State& state) {
    constexpr int kFightTicks = 9000;
    constexpr int kArena = 60;
    auto game = QuillmereTest::StartSampleGame();
    DRAV::CArea& area = game.EnterOpenArea(kArena, kArena);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> cell(10, kArena - 2);
    AddCompanions(game, area);
    std::vector<std::shared_ptr<DRAV::CActor>> monsters;
    auto spawn = [&](int index) {
        const bool archer = index % 2 != 0;
        auto monster = game.Spawn(archer ? "goblin_archer" : "reed_goblin", cell(random), cell(random));
        if (monster && archer) {
            const auto bow = monster->GetBackpack().front();
            monster->SetEquipment(DRAV::SLOT_WEAPON, monster->RemoveFromBackpack(*bow));
        }
        return monster;
    };
    for (int i = 0; i < kMonsters; ++i) monsters.push_back(spawn(i));
    area.GetWaypointCalculator();
    const DRAV::ActorList party = game.Game().GetParty();

    std::vector<double> micros;
    micros.reserve(kFightTicks);
    int kills = 0;
    for (auto _ : state) {
        micros.clear();
        for (int tick = 0; tick < kFightTicks; ++tick) {
            for (std::size_t i = 0; i < monsters.size(); ++i) {
                if (monsters[i] && area.FindActor(monsters[i]->GetId())) continue;
                ++kills;
                monsters[i] = spawn(static_cast<int>(i));
            }
            for (const auto& member : party) {
                member->SetDamageTaken(0);
                const auto& target = monsters[random() % monsters.size()];
                if (!member->GetCurrentOrder() && target)
                    member->PushOrder(std::make_shared<DRAV::CAttackOrder>(target->GetId()), false);
            }
            for (const auto& monster : monsters)
                if (monster && !monster->GetCurrentOrder())
                    monster->PushOrder(
                        std::make_shared<DRAV::CAttackOrder>(party[random() % party.size()]->GetId()), false);
            TimedTick(game, micros);
        }
    }
    state.counters["kills"] = kills;
    ReportTicks(state, micros);
}

}  // namespace

BENCHMARK(EngineTick)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineFight)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
