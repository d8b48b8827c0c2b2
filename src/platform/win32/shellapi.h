#pragma once
// Opening documents and web pages in the user's programs. The program registered
// for every file type is xdg-open, found on PATH; it is started with fork and exec,
// never through a shell, and is not waited for.

#include "platform/win32/winuser.h"

inline constexpr int SW_SHOW = 5;
inline constexpr int SE_ERR_FNF = 2;      // the file does not exist
inline constexpr int SE_ERR_NOASSOC = 31;  // no program is registered for it

// Writes the program that opens `file` into `result` (at least 260 bytes). Above 32
// on success; SE_ERR_FNF for a missing file, SE_ERR_NOASSOC without xdg-open.
HINSTANCE FindExecutableA(LPCSTR file, LPCSTR directory, LPSTR result);
// Starts `file` with `parameters` as its one argument when it is a program, else
// opens `file` (a document or address) with xdg-open. Above 32 when the program
// was started. The verb, directory and show command are accepted as Win32 takes
// them; a window is never needed.
HINSTANCE ShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int showCommand);
