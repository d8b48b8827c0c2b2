#include "common/trace.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace DRAVCommon {
namespace {

TraceSink& Sink() {
    static TraceSink sink;
    return sink;
}

}  // namespace

TraceSink SetTraceSink(TraceSink sink) {
    TraceSink previous = std::move(Sink());
    Sink() = std::move(sink);
    TraceState::sinkInstalled = static_cast<bool>(Sink());
    return previous;
}

void SetTraceLevel(int level) { TraceState::lowestLevel = level; }

TraceSink StandardErrorTraceSink() {
    return [](int, const char* file, int line, const char* function, const std::string& text) {
        std::fprintf(stderr, "%s:%d %s: %s", file, line, function, text.c_str());
        if (text.empty() || text.back() != '\n') std::fputc('\n', stderr);
    };
}

void Trace(int level, const char* file, int line, const char* function, const char* format, ...) {
    TraceSink& sink = Sink();
    if (!sink || !IsTracing(level)) return;

    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    sink(level, file, line, function, text);
}

}  // namespace DRAVCommon
