// Time to build areas from their files: the sample's start area, and generated
// square areas of growing size, whose time should grow with the number of cells;
// the time to read only what a place's file is to a journey, and to look it up
// again once the module has read it.

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench_quick.h"
#include "bench_support.h"
#include "iteration_times.h"
#include "generated_area.h"
#include "common/data_file_memory.h"
#include "common/data_file_reader.h"
#include "rules/definitions/place_file.h"
#include "support/counting_source.h"
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

// The look at a destination's entries, taken once for each place the module's maps
// and journeys name, against the same file as a whole area is built from it.
void BM_ReadPlaceFile(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const std::string text = GeneratedArea(size);
    auto package = std::make_shared<DRAVCommon::CDataFileFactoryMemory>();
    package->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "generated.drav", {text.begin(), text.end()});
    if (DRAV::ReadPlaceFile(package, "generated").entryNames != std::vector<std::string>{"start"})
        state.SkipWithError("the generated area's entries are not read as \"start\"");
    BenchSupport::IterationTimes times;
    for (auto _ : state) times.Time([&] { benchmark::DoNotOptimize(DRAV::ReadPlaceFile(package, "generated")); });
    times.Report(state);
    state.counters["cells"] = size * size;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

// Every later journey without an entry to a place the module has read: whether it
// is a map, and the area's entries, from what the module keeps; the file is never
// opened again.
void BM_JourneyCheckOfAKnownArea(benchmark::State& state) {
    auto source = std::make_shared<QuillmereTest::CountingSource>(
        std::make_shared<DRAVCommon::CDataFileFactoryPath>(QUILLMERE_SAMPLE_DIR, 1));
    DRAV::CModule module;
    module.SetBrainFunctions(DRAV::GetBrainFunctions());
    module.Load(1, nullptr, source);
    module.GetAreaEntryNames("reed_marsh");
    const int reads = source->Reads("reed_marsh.drav");
    BenchSupport::IterationTimes times;
    for (auto _ : state) {
        times.Time([&] {
            benchmark::DoNotOptimize(module.IsTravelMap("reed_marsh"));
            benchmark::DoNotOptimize(module.GetAreaEntryNames("reed_marsh").front());
        });
    }
    times.Report(state);
    if (reads != 1 || source->Reads("reed_marsh.drav") != reads)
        state.SkipWithError("the check read the area's file again");
}

}  // namespace

BENCHMARK(BM_ReadPlaceFile)->Arg(25)->Arg(200)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_JourneyCheckOfAKnownArea)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_LoadStartArea)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_LoadGeneratedArea)->Arg(25)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)->Complexity()
    ->Apply(BenchSupport::QuickIterations<>);

BENCHMARK_MAIN();
