// Saving and loading a played game of the sample chapter: a party of six that has
// crossed from Reedwater Landing to the Reed Marsh (two visited areas with their
// actors, objects and records). A save or a load should stay under 10 ms.
// `SaveGame` is the engine's write alone; `ReplaceSave` the game's whole save
// (write to ".new", copy to ".bak", rename over the save, each waiting for the
// disk); `WriteAndSync` one write and fsync of the same bytes, the least any
// save that reaches the disk can cost.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "bench_quick.h"
#include "game/save_files.h"
#include "support/sample_save.h"
#include "support/temp_dir.h"

namespace {

const DRAV::CModuleVersionRange kExpected("Orvex", 5, 0);

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void SaveGame(benchmark::State& state) {
    auto game = QuillmereTest::StartSampleGame();
    QuillmereTest::PlaySampleGame(game);
    QuillmereTest::TempDir dir;
    const std::string path = dir / "game.drav";
    for (auto _ : state) game.Engine().SaveGame(path, kExpected, nullptr);
}

void ReplaceSave(benchmark::State& state) {
    auto game = QuillmereTest::StartSampleGame();
    QuillmereTest::PlaySampleGame(game);
    QuillmereTest::TempDir dir;
    const std::string path = dir / "Wren.drav";
    const auto write = [&](const std::string& fresh) { game.Engine().SaveGame(fresh, kExpected, nullptr); };
    ReplaceSaveFile(path, write);
    std::int32_t gold = 0;
    for (auto _ : state) {
        game.Game().SetGold(++gold);
        ReplaceSaveFile(path, write);
    }
    std::string bonus;
    game.Engine().LoadGame(path, kExpected, bonus);
    if (game.Game().GetGold() != gold || !std::filesystem::exists(path + ".bak") ||
        std::filesystem::exists(path + ".new"))
        state.SkipWithError("the last save is not the one made, or the backup is missing");
}

void LoadGame(benchmark::State& state) {
    auto game = QuillmereTest::StartSampleGame();
    QuillmereTest::PlaySampleGame(game);
    QuillmereTest::TempDir dir;
    const std::string path = dir / "game.drav";
    game.Engine().SaveGame(path, kExpected, nullptr);
    const std::size_t party = game.Game().GetParty().size();
    std::string bonus;
    for (auto _ : state) game.Engine().LoadGame(path, kExpected, bonus);
    if (game.Game().GetParty().size() != party || party != 6) state.SkipWithError("the loaded party is not the saved one");
}

void WriteAndSync(benchmark::State& state) {
    auto game = QuillmereTest::StartSampleGame();
    QuillmereTest::PlaySampleGame(game);
    QuillmereTest::TempDir dir;
    game.Engine().SaveGame(dir / "source.drav", kExpected, nullptr);
    const std::string bytes = ReadAll(dir / "source.drav");
    const std::string path = dir / "plain.drav";
    for (auto _ : state) {
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (file < 0 || ::write(file, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::fsync(file) != 0)
            state.SkipWithError("the plain write failed");
        ::close(file);
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

}  // namespace

BENCHMARK(SaveGame)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(ReplaceSave)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(LoadGame)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(WriteAndSync)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK_MAIN();
