#pragma once
// The Win32 clocks: both count milliseconds since the system started and wrap
// around after about 49.7 days, as Win32's do.

#include <functional>

#include "platform/win32/windef.h"

DWORD GetTickCount();
DWORD timeGetTime();

namespace Win32 {

// Where both clocks read the time; an empty function restores the system clock.
// A driver that runs the program on a clock of its own installs it here.
void SetClockSource(std::function<DWORD()> source);

}  // namespace Win32
