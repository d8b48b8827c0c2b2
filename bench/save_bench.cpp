// Saving and loading a played game of the sample chapter: a party of six that has
// crossed from Reedwater Landing to the Reed Marsh (two visited areas with their
// actors, objects and records). A save or a load should stay under 10 ms.

#include <benchmark/benchmark.h>

#include "support/sample_save.h"
#include "support/temp_dir.h"

namespace {

const DRAV::CModuleVersionRange kExpected("Orvex", 5, 0);

void SaveGame(benchmark::State& state) {
    auto game = QuillmereTest::StartSampleGame();
    QuillmereTest::PlaySampleGame(game);
    QuillmereTest::TempDir dir;
    const std::string path = dir / "game.drav";
    for (auto _ : state) game.Engine().SaveGame(path, kExpected, nullptr);
}

void LoadGame(benchmark::State& state) {
    auto game = QuillmereTest::StartSampleGame();
    QuillmereTest::PlaySampleGame(game);
    QuillmereTest::TempDir dir;
    const std::string path = dir / "game.drav";
    game.Engine().SaveGame(path, kExpected, nullptr);
    std::string bonus;
    for (auto _ : state) game.Engine().LoadGame(path, kExpected, bonus);
}

}  // namespace

BENCHMARK(SaveGame)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadGame)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
