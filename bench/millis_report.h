#pragma once
// Timings in milliseconds, reported as their median, 99th percentile and slowest;
// and this thread's own processor time, which other programs on a busy machine do
// not add to.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/processor_clock.h"

namespace BenchSupport {

inline double ThreadMillis() { return DRAVCommon::ThreadProcessorSeconds() * 1e3; }

// Sets the counters median_ms, p99_ms and slowest_ms (with `prefix` in front).
inline void ReportMillis(benchmark::State& state, const std::string& prefix, std::vector<double> ms) {
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    state.counters[prefix + "median_ms"] = ms[ms.size() / 2];
    state.counters[prefix + "p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    state.counters[prefix + "slowest_ms"] = ms.back();
}

}  // namespace BenchSupport
