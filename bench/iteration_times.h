#pragma once
// The wall time of every iteration of a benchmark loop, reported beside Google
// Benchmark's mean as its median, 99th percentile and slowest, so that a rare
// slow iteration (a collection, a cache refill) shows.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace BenchSupport {

class IterationTimes {
public:
    // Room for `count` timings, so that timing allocates nothing until they are reported.
    void Reserve(std::size_t count) { m_micros.reserve(count); }

    // Runs `work` once, timing it.
    template <typename Work>
    void Time(Work&& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        m_micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }

    // Sets the counters median_us, p99_us and slowest_us (with `prefix` in front).
    void Report(benchmark::State& state, const std::string& prefix = "") {
        if (m_micros.empty()) return;
        std::sort(m_micros.begin(), m_micros.end());
        state.counters[prefix + "median_us"] = m_micros[m_micros.size() / 2];
        state.counters[prefix + "p99_us"] = m_micros[m_micros.size() * 99 / 100];
        state.counters[prefix + "slowest_us"] = m_micros.back();
    }

private:
    std::vector<double> m_micros;
};

}  // namespace BenchSupport
