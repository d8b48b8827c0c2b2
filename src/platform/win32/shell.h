#pragma once
// The registry values of the current user, kept as name = value lines in a text
// file of the user's configuration folder (XDG_CONFIG_HOME, else ~/.config):
// quillmere/registry.txt, keyed by the whole key path and value name, which
// compare without regard to case as on Windows.

#include "platform/win32/windef.h"

inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u));
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;

// With data null only the type and size are answered.
LONG SHGetValueA(HKEY key, const char* subKey, const char* value, DWORD* type, void* data, DWORD* size);
// Makes the key when it is missing. Only REG_DWORD and REG_SZ values are kept.
LONG SHSetValueA(HKEY key, const char* subKey, const char* value, DWORD type, const void* data, DWORD size);
