#include "common/processor_clock.h"

#include <pthread.h>

#include <ctime>

namespace DRAVCommon {
namespace {

struct Reading {
    std::chrono::steady_clock::time_point wall;
    std::chrono::nanoseconds processor{-1};  // none yet
};

thread_local Reading t_lastReading;

// The child of a fork starts its thread's processor time afresh.
[[maybe_unused]] const int kForgottenInChildren = pthread_atfork(nullptr, nullptr, [] { t_lastReading = {}; });

}  // namespace

std::chrono::nanoseconds ThreadProcessorTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

double ThreadProcessorSeconds() { return std::chrono::duration<double>(ThreadProcessorTime()).count(); }

std::chrono::nanoseconds RecentThreadProcessorTime(std::chrono::nanoseconds staleness) {
    Reading& last = t_lastReading;
    const auto now = std::chrono::steady_clock::now();
    if (last.processor.count() < 0 || now - last.wall >= staleness) last = {now, ThreadProcessorTime()};
    return last.processor;
}

std::chrono::nanoseconds LatestThreadProcessorTime() {
    Reading& last = t_lastReading;
    if (last.processor.count() < 0) last = {std::chrono::steady_clock::now(), ThreadProcessorTime()};
    return last.processor;
}

}  // namespace DRAVCommon
