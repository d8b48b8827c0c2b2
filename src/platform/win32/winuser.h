#pragma once
// The Win32 windowing subset the game's shell calls: window classes and windows,
// the message queue, timers, painting, cursors, message boxes, resources and the
// monitor's DPI, with Win32's names, numbers and message packing. SDL2 stands
// behind it (window.cpp, message_queue.cpp, sdl_messages.cpp).

#include "platform/win32/windef.h"

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using FARPROC = void (*)();
using LPCSTR = const char*;
using LPSTR = char*;

// ---- messages ----
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
inline constexpr UINT WM_EXITSIZEMOVE = 0x0232;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_APP = 0x8000;

// Key and button state flags of mouse messages.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;
inline constexpr int WHEEL_DELTA = 120;

// WM_SIZE kinds.
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

inline constexpr WORD HTCLIENT = 1;

// ---- window classes and windows ----
inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr UINT CS_DBLCLKS = 0x0008;
inline constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);
inline constexpr int GWL_USERDATA = -21;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWDEFAULT = 10;

struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};

struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
inline constexpr DWORD TME_LEAVE = 0x00000002;
inline constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;

unsigned short RegisterClassExA(const WNDCLASSEXA* windowClass);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, void* parameter);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongA(HWND window, int index);
BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR buffer, int size);
BOOL ShowWindow(HWND window, int command);
BOOL UpdateWindow(HWND window);
BOOL IsIconic(HWND window);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL ScreenToClient(HWND window, POINT* point);
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
// The high bit (a negative value) while the key is down, as the messages read so
// far left it.
SHORT GetKeyState(int virtualKey);

// ---- painting ----
inline constexpr int BLACK_BRUSH = 4;
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
void* GetStockObject(int object);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// ---- the message queue ----
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Posted messages first, then input, then the quit message, then one WM_PAINT
// while a window is invalid, then WM_TIMER for a due timer; waits for one of them.
// 0 for WM_QUIT.
BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
HACCEL LoadAcceleratorsA(HINSTANCE instance, LPCSTR name);
int TranslateAcceleratorA(HWND window, HACCEL table, MSG* message);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC function);
BOOL KillTimer(HWND window, UINT_PTR id);

// ---- cursors ----
LPCSTR MakeIntResource(int id);
#define MAKEINTRESOURCEA(id) MakeIntResource(id)
inline const LPCSTR IDC_ARROW = MakeIntResource(32512);
inline const LPCSTR IDC_WAIT = MakeIntResource(32514);
inline const LPCSTR IDC_CROSS = MakeIntResource(32515);
inline const LPCSTR IDC_UPARROW = MakeIntResource(32516);
inline const LPCSTR IDC_SIZEALL = MakeIntResource(32646);
inline const LPCSTR IDC_HAND = MakeIntResource(32649);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HCURSOR SetCursor(HCURSOR cursor);

// ---- message boxes ----
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr int IDOK = 1;
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ---- resources: string 103 the title, 109 the window class, icon 213 ----
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HMODULE GetModuleHandleA(LPCSTR name);
// The program's own path, with backslashes as Windows writes it.
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);

// ---- DPI, reached through a run-time loaded library as on Windows ----
inline constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
inline constexpr int MDT_EFFECTIVE_DPI = 0;
using GetDpiForMonitorProc = LONG (*)(HMONITOR monitor, int type, UINT* dpiX, UINT* dpiY);
HMODULE LoadLibraryA(LPCSTR name);
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
BOOL FreeLibrary(HMODULE module);
HMONITOR MonitorFromWindow(HWND window, DWORD flags);
