// Time to load the whole sample chapter's definitions, from the folder tree and
// from the packed archive the build makes of it.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_quick.h"
#include "iteration_times.h"
#include "common/data_file_packed.h"
#include "common/data_file_path.h"
#include "engine/brain/brain_functions.h"
#include "rules/module.h"

namespace {

const DRAV::CModuleVersionRange kRecord("Orvex", 5, 0);

template <typename Source>
void LoadSample(benchmark::State& state, const std::string& root) {
    auto source = std::make_shared<Source>(root, 1);
    BenchSupport::IterationTimes times;
    for (auto _ : state) {
        times.Time([&] {
            DRAV::CModule module;
            module.SetBrainFunctions(DRAV::GetBrainFunctions());
            module.Load(1, &kRecord, source);
            benchmark::DoNotOptimize(module.GetSpells().size());
        });
    }
    times.Report(state);
}

void BM_ModuleLoadFolder(benchmark::State& state) {
    LoadSample<DRAVCommon::CDataFileFactoryPath>(state, QUILLMERE_SAMPLE_DIR);
}

void BM_ModuleLoadArchive(benchmark::State& state) {
    LoadSample<DRAVCommon::CDataFileFactoryPacked>(state, QUILLMERE_SAMPLE_ARCHIVE_DIR);
}

}  // namespace

BENCHMARK(BM_ModuleLoadFolder)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_ModuleLoadArchive)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);

BENCHMARK_MAIN();
