#include "platform/win32/win32_time.h"

#include <time.h>

namespace {

DWORD MillisecondsSinceBoot() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                       static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms);
}

}  // namespace

DWORD GetTickCount() { return MillisecondsSinceBoot(); }
DWORD timeGetTime() { return MillisecondsSinceBoot(); }
