#pragma once
// The quick mode in which CI runs every benchmark once (QUILLMERE_BENCH_QUICK set
// and not "0"): a few iterations and no timing goal, so that a benchmark that no
// longer sets up or checks its scenario fails where everyone sees it, while the
// figures it prints mean nothing.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace BenchSupport {

inline bool QuickMode() {
    const char* value = std::getenv("QUILLMERE_BENCH_QUICK");
    return value && *value && std::string(value) != "0";
}

// For ->Apply: `count` iterations in quick mode, the registration as it stands otherwise.
template <int count = 3>
void QuickIterations(benchmark::internal::Benchmark* benchmark) {
    if (QuickMode()) benchmark->Iterations(count);
}

}  // namespace BenchSupport
