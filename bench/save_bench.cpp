// Saving and loading a played game of the sample chapter: a party of six that has
// crossed from Reedwater Landing to the Reed Marsh (two visited areas with their
// actors, objects and records). A save or a load should stay under 10 ms.
// `SaveGame` is the engine's write alone; `ReplaceSave` the game's whole save
// (write to ".new", copy to ".bak", rename over the save, each waiting for the
// disk); `WriteAndSync` one write and fsync of the same bytes, the least any
// save that reaches the disk can cost. `LoadGameOnALargeMap/N`: the same load when
// the travel map the party stands on also leads to N generated areas of 200 x 200
// cells, whose entries the map's check reads once for the module and never again,
// so that the load does not grow with them. `ListStrayFile/N`: the load page's
// listing of a save folder holding one file of N KB that opens as a save whose
// title runs on to its end; the file is left out, and costs no more to leave out
// at 256 MB than at 1 KB.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "bench_quick.h"
#include "generated_area.h"
#include "iteration_times.h"
#include "millis_report.h"
#include "game/load_info.h"
#include "game/save_files.h"
#include "support/counting_source.h"
#include "support/overlay_source.h"
#include "support/sample_save.h"
#include "support/temp_dir.h"
#include "world/area.h"

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

// Times `work` on the wall clock and on the thread's own processor time: a busy
// machine adds to the one only. `check` follows each run, outside the times.
template <typename Work, typename Check>
void TimeOnBothClocks(benchmark::State& state, Work work, Check check) {
    BenchSupport::IterationTimes times;
    times.Reserve(state.max_iterations);
    std::vector<double> cpu;
    cpu.reserve(state.max_iterations);
    for (auto _ : state) {
        const double started = BenchSupport::ThreadMillis();
        times.Time(work);
        cpu.push_back(BenchSupport::ThreadMillis() - started);
        check();
    }
    times.Report(state);
    BenchSupport::ReportMillis(state, "cpu_", cpu);
}

// Loads the save of `game` played, and checks the party came back.
void TimeLoads(benchmark::State& state, const QuillmereTest::SampleGame& game) {
    QuillmereTest::TempDir dir;
    const std::string path = dir / "game.drav";
    game.Engine().SaveGame(path, kExpected, nullptr);
    const std::size_t party = game.Game().GetParty().size();
    std::string bonus;
    TimeOnBothClocks(state, [&] { game.Engine().LoadGame(path, kExpected, bonus); }, [] {});
    if (game.Game().GetParty().size() != party || party != 6) state.SkipWithError("the loaded party is not the saved one");
}

void LoadGame(benchmark::State& state) {
    auto game = QuillmereTest::StartSampleGame();
    QuillmereTest::PlaySampleGame(game);
    TimeLoads(state, game);
}

constexpr int kLargeAreaSize = 200;

void LoadGameOnALargeMap(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    const auto sample = QuillmereTest::SampleFolderSource();
    const auto mapFile = sample->ReadAll(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "reedwater_map.drav");
    std::string map(mapFile->begin(), mapFile->end());
    auto overlay = std::make_shared<QuillmereTest::OverlaySource>(sample);
    std::string places;
    const std::string area = BenchSupport::GeneratedArea(kLargeAreaSize);
    for (int k = 0; k < count; ++k) {
        const std::string name = "broad_reach_" + std::to_string(k);
        places += "  <area> " + name + " \"Broad Reach\" " + std::to_string(10 + 8 * k) + " 100 6 6 true " + name + " </area>\n";
        overlay->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, name + ".drav", area);
    }
    map.insert(map.rfind("</areas>"), places);
    overlay->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "reedwater_map.drav", map);
    auto source = std::make_shared<QuillmereTest::CountingSource>(overlay);

    QuillmereTest::SampleGame game(source);
    QuillmereTest::PlaySampleGame(game);  // crosses by the map: its first load
    const DRAV::CMap2* onMap = game.Game().GetCurrentMap();
    if (!onMap || onMap->GetAreas().size() != static_cast<std::size_t>(3 + count)) {
        state.SkipWithError("the party is not on the map with the generated areas");
        return;
    }
    TimeLoads(state, game);
    for (int k = 0; k < count; ++k) {
        const std::string name = "broad_reach_" + std::to_string(k);
        if (source->Reads(name + ".drav") != 1) {
            state.SkipWithError((name + " was read again after the map's first load").c_str());
            return;
        }
        DRAV::CArea built(&game.Game());
        built.LoadAreaFile("", name, game.Module(), DRAV::AREA_LOAD_FRESH, false);
        if (built.GetColumns() != kLargeAreaSize || built.GetRows() != kLargeAreaSize) {
            state.SkipWithError((name + " is not of 200 x 200 cells").c_str());
            return;
        }
    }
    state.counters["large_areas"] = count;
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

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void ListStrayFile(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0)) * 1024;
    QuillmereTest::TempDir dir;
    {
        std::ofstream out(dir / "Stray.drav", std::ios::binary);
        const std::string head = "<save>\n <version>\n  Orvex\n  5\n  0\n </version>\n (1\n false)\n"
                                 " \"/saves/Stray.drav\"\n \"Stray\"\n \"";
        out << head;
        std::string words;
        while (words.size() < 64 * 1024) words += "wanderer ";
        for (std::size_t written = head.size(); written < size; written += words.size())
            out.write(words.data(), static_cast<std::streamsize>(std::min(words.size(), size - written)));
    }
    const double peakBefore = PeakMegabytes();
    std::shared_ptr<CLoadInfo> listed;
    TimeOnBothClocks(state, [&] { listed = ListSaveFolder(dir.Path().string()); }, [&] {
        if (!listed->m_items.empty()) state.SkipWithError("the stray file was listed");
    });
    state.counters["peak_growth_mb"] = PeakMegabytes() - peakBefore;
}

}  // namespace

BENCHMARK(ListStrayFile)->Arg(1)->Arg(256 * 1024)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(SaveGame)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(ReplaceSave)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(LoadGame)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(LoadGameOnALargeMap)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(WriteAndSync)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK_MAIN();
