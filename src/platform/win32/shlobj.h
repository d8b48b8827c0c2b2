#pragma once
// The user's folders. The documents folder is XDG_DOCUMENTS_DIR when it is set,
// else ~/Documents; paths come back with backslashes, as the game speaks of them.

#include "platform/win32/winuser.h"

using HRESULT = std::int32_t;
using HANDLE = void*;

inline constexpr int CSIDL_PERSONAL = 5;
inline constexpr DWORD SHGFP_TYPE_CURRENT = 0;
inline constexpr int MAX_PATH = 260;
inline constexpr int ERROR_ALREADY_EXISTS = 183;
inline constexpr int ERROR_PATH_NOT_FOUND = 3;
inline constexpr int ERROR_FILENAME_EXCED_RANGE = 206;

// Writes the folder into `path` (MAX_PATH bytes): 0, or a negative result (E_FAIL)
// for any folder but the documents folder, without a home, or for a path that
// does not fit.
HRESULT SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path);
// Makes the folder and every missing folder above it: 0, ERROR_ALREADY_EXISTS
// when it was there, else the reason it could not be made.
int SHCreateDirectoryExA(HWND owner, LPCSTR path, const void* security);
