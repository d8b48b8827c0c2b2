#pragma once
// The Win32 value types the game uses, with the layout and meaning Win32 gives them.

#include <cstdint>

using LONG = std::int32_t;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using BOOL = int;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct POINT {
    LONG x;
    LONG y;
};
