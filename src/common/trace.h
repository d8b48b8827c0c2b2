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

namespace TraceState {
// Set while a sink is installed, and the lowest level it receives.
inline bool sinkInstalled = false;
inline int lowestLevel = TRACE_LOW;
}  // namespace TraceState

// Whether a line of `level` reaches a sink; the shipped game asks this at every
// step, so it is answered inline, before any argument is worked out.
inline bool IsTracing(int level) { return TraceState::sinkInstalled && level >= TraceState::lowestLevel; }

void Trace(int level, const char* file, int line, const char* function, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 5, 6)))
#endif
    ;

}  // namespace DRAVCommon

// Nothing of a line is formatted, nor its arguments evaluated, while no sink takes it.
#define DRAV_TRACE(level, ...)                                                                  \
    do {                                                                                        \
        if (::DRAVCommon::IsTracing(level))                                                     \
            ::DRAVCommon::Trace((level), __FILE__, __LINE__, __PRETTY_FUNCTION__, __VA_ARGS__); \
    } while (false)
