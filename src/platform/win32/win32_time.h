#pragma once
// The Win32 clocks: both count milliseconds since the system started and wrap
// around after about 49.7 days, as Win32's do.

#include "platform/win32/windef.h"

DWORD GetTickCount();
DWORD timeGetTime();
