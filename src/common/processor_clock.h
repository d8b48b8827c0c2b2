#pragma once
// The processor time the calling thread has spent. Work is judged on it rather
// than on the wall clock, so that a busy machine, which pauses the thread while
// others run, never makes work look longer than it is.

#include <chrono>

namespace DRAVCommon {

// A system call, about ten times the cost of reading the wall clock.
std::chrono::nanoseconds ThreadProcessorTime();

// The same in seconds.
double ThreadProcessorSeconds();

// ThreadProcessorTime as this thread last read it, read again only once
// `staleness` of the wall clock has passed since: the thread cannot have spent
// more than the wall clock passed, so the time returned is at most `staleness`
// behind, at the cost of reading the wall clock.
std::chrono::nanoseconds RecentThreadProcessorTime(std::chrono::nanoseconds staleness);

// The reading RecentThreadProcessorTime last took on this thread, however old,
// without reading anything: a reading of its own when it has taken none.
std::chrono::nanoseconds LatestThreadProcessorTime();

}  // namespace DRAVCommon
