// Time to build areas from their files: the sample's start area, and generated
// square areas of growing size, whose time should grow with the number of cells;
// and the time to read only an area's entry names.

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench_quick.h"
#include "bench_support.h"
#include "common/data_file_memory.h"
#include "common/data_file_reader.h"
#include "world/area.h"
#include "world/game.h"

namespace {

using BenchSupport::SampleModule;

// A walled square of `size` cells a side: reed walls around, planks and muddy path
// inside with a net rack every few rows, an object every tenth cell, one entry and one exit.
std::string GeneratedArea(int size) {
    std::ostringstream text;
    text << "<area> \"Generated\" true <rows> ( " << size << ' ' << size << " )\n";
    for (int row = 0; row < size; ++row) {
        text << " <row>";
        for (int column = 0; column < size; ++column) {
            const bool edge = row == 0 || column == 0 || row == size - 1 || column == size - 1;
            const bool rackRow = row % 4 == 1 && column % 6 == 2 && column + 2 < size - 1 && row + 1 < size - 1;
            const bool underRack = (row % 4 == 1 || row % 4 == 2) && column % 6 >= 2 && column % 6 <= 4 &&
                                   column - column % 6 + 4 < size - 1 && row - (row % 4 - 1) + 1 < size - 1 &&
                                   !(row % 4 == 1 && column % 6 == 2);
            if (edge) text << " ( reed_wall n )";
            else if (rackRow) text << " ( drying_rack n )";
            else if (underRack) text << " 0";
            else text << ((row + column) % 2 ? " ( plank_floor n )" : " ( landing_path n )");
        }
        text << " </row>\n";
    }
    text << " </rows>\n <objects>\n";
    for (int cell = 0; cell < size * size; cell += 10)
        text << "  <object> tackle_chest ( " << (cell % size) * 2.5 + 1.25 << ' ' << (cell / size) * 2.5 + 1.25
             << " ) n 0 <items> ( eel_pie 2 ) </items> </object>\n";
    text << " </objects>\n <entries> <entry> start \"Start\" ( 1 1 ) </entry> </entries>\n"
         << " <exits> <exit> out \"Out\" ( 1 2 ) 0 reedwater_landing </exit> </exits>\n</area>\n";
    return text.str();
}

void BM_LoadStartArea(benchmark::State& state) {
    const DRAV::CModule& module = SampleModule();
    for (auto _ : state) {
        DRAV::CGame game;
        DRAV::CArea area(&game);
        area.LoadAreaFile("", "reedwater_landing", module, DRAV::AREA_LOAD_FRESH, false);
        benchmark::DoNotOptimize(area.GetObjects().size());
    }
}

void BM_LoadGeneratedArea(benchmark::State& state) {
    const DRAV::CModule& module = SampleModule();
    const int size = static_cast<int>(state.range(0));
    const std::string text = GeneratedArea(size);
    for (auto _ : state) {
        DRAV::CGame game;
        DRAV::CArea area(&game);
        DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text), "generated.drav");
        area.ReadAreaFile(reader, "", "generated", module, DRAV::AREA_LOAD_FRESH, false);
        benchmark::DoNotOptimize(area.GetObjects().size());
    }
    state.SetComplexityN(static_cast<std::int64_t>(size) * size);
    state.counters["cells"] = size * size;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

// The look at a destination's entries taken before every journey, against the
// same file as a whole area is built from it.
void BM_ReadEntryNames(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const std::string text = GeneratedArea(size);
    auto package = std::make_shared<DRAVCommon::CDataFileFactoryMemory>();
    package->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "generated.drav", {text.begin(), text.end()});
    if (DRAV::CArea::ReadEntryNames(package, "generated") != std::vector<std::string>{"start"})
        state.SkipWithError("the generated area's entries are not read as \"start\"");
    for (auto _ : state) benchmark::DoNotOptimize(DRAV::CArea::ReadEntryNames(package, "generated"));
    state.counters["cells"] = size * size;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

}  // namespace

BENCHMARK(BM_ReadEntryNames)->Arg(25)->Arg(200)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_LoadStartArea)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_LoadGeneratedArea)->Arg(25)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)->Complexity()
    ->Apply(BenchSupport::QuickIterations<>);

BENCHMARK_MAIN();
