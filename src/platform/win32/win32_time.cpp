#include "platform/win32/win32_time.h"

#include <time.h>

#include <utility>

namespace {

DWORD MillisecondsSinceBoot() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                       static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms);
}

std::function<DWORD()>& ClockSource() {
    static std::function<DWORD()> source;
    return source;
}

DWORD Now() { return ClockSource() ? ClockSource()() : MillisecondsSinceBoot(); }

}  // namespace

DWORD GetTickCount() { return Now(); }
DWORD timeGetTime() { return Now(); }

namespace Win32 {

void SetClockSource(std::function<DWORD()> source) { ClockSource() = std::move(source); }

}  // namespace Win32
