#pragma once
// Every engine step reports through one trace function. The shipped game keeps the
// sink silent; the debug console turns it on, and tests can capture it.

#include <functional>
#include <string>

namespace DRAVCommon {

enum TraceLevel : int {
    TRACE_LOW = 0,   // every step
    TRACE_HIGH = 1,  // notable steps only
};

// Receives one formatted line with where it came from.
using TraceSink = std::function<void(int level, const char* file, int line,
                                     const char* function, const std::string& text)>;

// Installs `sink` (an empty function silences tracing) and returns the previous one.
TraceSink SetTraceSink(TraceSink sink);

// Lines below this level are dropped before they are formatted.
void SetTraceLevel(int level);

// A sink that writes each line to standard error with where it came from.
TraceSink StandardErrorTraceSink();

void Trace(int level, const char* file, int line, const char* function, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 5, 6)))
#endif
    ;

}  // namespace DRAVCommon

#define DRAV_TRACE(level, ...) \
    ::DRAVCommon::Trace((level), __FILE__, __LINE__, __PRETTY_FUNCTION__, __VA_ARGS__)
