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
#include "generated_area.h"
#include "common/data_file_memory.h"
#include "common/data_file_reader.h"
#include "rules/definitions/place_file.h"
#include "world/area.h"
#include "world/game.h"

namespace {

using BenchSupport::GeneratedArea;
using BenchSupport::SampleModule;

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

// The look at a destination's entries, taken once for each area the module's maps
// and journeys name, against the same file as a whole area is built from it.
void BM_ReadEntryNames(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const std::string text = GeneratedArea(size);
    auto package = std::make_shared<DRAVCommon::CDataFileFactoryMemory>();
    package->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "generated.drav", {text.begin(), text.end()});
    if (DRAV::ReadPlaceFile(package, "generated").entryNames != std::vector<std::string>{"start"})
        state.SkipWithError("the generated area's entries are not read as \"start\"");
    for (auto _ : state) benchmark::DoNotOptimize(DRAV::ReadPlaceFile(package, "generated"));
    state.counters["cells"] = size * size;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

}  // namespace

BENCHMARK(BM_ReadEntryNames)->Arg(25)->Arg(200)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_LoadStartArea)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_LoadGeneratedArea)->Arg(25)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)->Complexity()
    ->Apply(BenchSupport::QuickIterations<>);

BENCHMARK_MAIN();
