#pragma once
// The Win32 value types the game uses, with the layout and meaning Win32 gives them.

#include <cstdint>

using LONG = std::int32_t;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using SHORT = std::int16_t;
using BOOL = int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

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

// Handles are pointers to records only the layer knows.
using HWND = struct HWND__*;
using HINSTANCE = struct HINSTANCE__*;
using HMODULE = HINSTANCE;
using HCURSOR = struct HCURSOR__*;
using HICON = struct HICON__*;
using HACCEL = struct HACCEL__*;
using HBRUSH = struct HBRUSH__*;
using HMENU = struct HMENU__*;
using HMONITOR = struct HMONITOR__*;
using HDC = struct HDC__*;
using HKEY = struct HKEY__*;

constexpr WORD LOWORD(std::uintptr_t value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
// The signed halves a mouse message packs its point into.
constexpr int GET_X_LPARAM(LPARAM value) { return static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(value))); }
constexpr int GET_Y_LPARAM(LPARAM value) { return static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(value))); }
constexpr LPARAM MAKELPARAM(int low, int high) {
    return static_cast<LPARAM>(static_cast<std::uint32_t>((static_cast<WORD>(low)) |
                                                          (static_cast<std::uint32_t>(static_cast<WORD>(high)) << 16)));
}
constexpr WPARAM MAKEWPARAM(int low, int high) {
    return static_cast<WPARAM>(static_cast<std::uint32_t>(MAKELPARAM(low, high)));
}
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM value) { return static_cast<SHORT>(HIWORD(value)); }
