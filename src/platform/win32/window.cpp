#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/win32/platform_observer.h"
#include "platform/win32/window_state.h"

namespace Win32::Detail {

std::vector<HWND>& Windows() {
    static std::vector<HWND> windows;
    return windows;
}

HWND FindWindowForSDL(Uint32 windowId) {
    for (HWND window : Windows())
        if (window->sdl && SDL_GetWindowID(window->sdl) == windowId) return window;
    // Input that names no window of ours goes to the main (first) window.
    return Windows().empty() ? nullptr : Windows().front();
}

bool IsLiveWindow(HWND window) {
    return window && std::find(Windows().begin(), Windows().end(), window) != Windows().end();
}

}  // namespace Win32::Detail

using namespace Win32::Detail;

namespace {

// Every window record ever made. A destroyed window's record stays: messages
// already queued may still name it, and dispatching them must find no live window
// rather than freed memory.
std::vector<std::unique_ptr<HWND__>>& Records() {
    static std::vector<std::unique_ptr<HWND__>> records;
    return records;
}

std::map<std::string, WNDCLASSEXA>& Classes() {
    static std::map<std::string, WNDCLASSEXA> classes;
    return classes;
}

Win32::CPlatformObserver*& Observer() {
    static Win32::CPlatformObserver* observer = nullptr;
    return observer;
}

void NoteClientSize(HWND window) {
    SDL_GetWindowSize(window->sdl, &window->clientWidth, &window->clientHeight);
}

}  // namespace

namespace Win32 {

void SetPlatformObserver(CPlatformObserver* observer) { Observer() = observer; }
CPlatformObserver* GetPlatformObserver() { return Observer(); }

SDL_Window* GetSDLWindow(HWND window) { return IsLiveWindow(window) ? window->sdl : nullptr; }

}  // namespace Win32

unsigned short RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
    if (Classes().count(windowClass->lpszClassName)) return 0;
    Classes()[windowClass->lpszClassName] = *windowClass;
    return static_cast<unsigned short>(Classes().size());
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD, int x, int y, int width, int height, HWND,
                     HMENU, HINSTANCE, void*) {
    auto found = className ? Classes().find(className) : Classes().end();
    if (found == Classes().end()) return nullptr;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    int left = x == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : x;
    int top = x == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : y;
    constexpr Uint32 kFlags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN;
    SDL_Window* sdl = SDL_CreateWindow(title ? title : "", left, top, width, height, kFlags | SDL_WINDOW_OPENGL);
    // Without OpenGL (a video driver that has none) the window still opens; making
    // a device on it then fails, and the program says so.
    if (!sdl) sdl = SDL_CreateWindow(title ? title : "", left, top, width, height, kFlags);
    if (!sdl) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    HWND window = Records().emplace_back(std::make_unique<HWND__>()).get();
    window->sdl = sdl;
    window->procedure = found->second.lpfnWndProc;
    window->classStyle = found->second.style;
    window->text = title ? title : "";
    NoteClientSize(window);
    Windows().push_back(window);
    window->procedure(window, WM_CREATE, 0, 0);
    return window;
}

BOOL DestroyWindow(HWND window) {
    if (!IsLiveWindow(window) || window->destroyed) return FALSE;
    window->destroyed = true;
    KillWindowTimers(window);
    window->procedure(window, WM_DESTROY, 0, 0);
    SDL_DestroyWindow(window->sdl);
    window->sdl = nullptr;
    Windows().erase(std::find(Windows().begin(), Windows().end(), window));
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return TRUE;
}

BOOL IsWindow(HWND window) { return IsLiveWindow(window) ? TRUE : FALSE; }

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_PAINT:
            // A window that paints nothing is valid all the same.
            if (IsLiveWindow(window)) window->invalid = false;
            return 0;
        default:
            return 0;
    }
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsLiveWindow(window)) return 0;
    LRESULT result = window->procedure(window, message, wParam, lParam);
    if (message == WM_GETMINMAXINFO && window->sdl) {
        const auto* limits = reinterpret_cast<const MINMAXINFO*>(lParam);
        if (limits->ptMinTrackSize.x > 0 && limits->ptMinTrackSize.y > 0)
            SDL_SetWindowMinimumSize(window->sdl, limits->ptMinTrackSize.x, limits->ptMinTrackSize.y);
    }
    return result;
}

LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value) {
    if (!IsLiveWindow(window) || index != GWL_USERDATA) return 0;
    LONG_PTR previous = window->userData;
    window->userData = value;
    return previous;
}

LONG_PTR GetWindowLongA(HWND window, int index) {
    return IsLiveWindow(window) && index == GWL_USERDATA ? window->userData : 0;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    if (!IsLiveWindow(window)) return FALSE;
    window->text = text ? text : "";
    SDL_SetWindowTitle(window->sdl, window->text.c_str());
    if (auto* observer = Win32::GetPlatformObserver()) observer->OnWindowText(window->text);
    return TRUE;
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
    if (!IsLiveWindow(window) || !buffer || size <= 0) return 0;
    int length = std::min(static_cast<int>(window->text.size()), size - 1);
    std::memcpy(buffer, window->text.data(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}

BOOL ShowWindow(HWND window, int command) {
    if (!IsLiveWindow(window)) return FALSE;
    bool wasVisible = (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN) != 0;
    if (command == SW_HIDE) {
        SDL_HideWindow(window->sdl);
    } else {
        // Windows asks for the size limits whenever a window takes a size; SDL
        // keeps a minimum, so asking as the window appears is enough.
        MINMAXINFO limits{};
        SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        SDL_ShowWindow(window->sdl);
        window->invalid = true;
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND window) {
    if (!IsLiveWindow(window)) return FALSE;
    if (window->invalid && !IsIconic(window)) SendMessageA(window, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL IsIconic(HWND window) {
    return IsLiveWindow(window) && (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MINIMIZED) ? TRUE : FALSE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    if (!IsLiveWindow(window) || !rect) return FALSE;
    int x = 0, y = 0;
    SDL_GetWindowPosition(window->sdl, &x, &y);
    *rect = RECT{x, y, x + window->clientWidth, y + window->clientHeight};
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    if (!IsLiveWindow(window) || !rect) return FALSE;
    *rect = RECT{0, 0, window->clientWidth, window->clientHeight};
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    if (!IsLiveWindow(window)) return FALSE;
    SDL_SetWindowPosition(window->sdl, x, y);
    SDL_SetWindowSize(window->sdl, width, height);
    int oldWidth = window->clientWidth;
    int oldHeight = window->clientHeight;
    NoteClientSize(window);
    // Windows sends the new size before MoveWindow returns.
    if (window->clientWidth != oldWidth || window->clientHeight != oldHeight)
        SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window->clientWidth, window->clientHeight));
    if (repaint) window->invalid = true;
    return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
    if (!IsLiveWindow(window) || !point) return FALSE;
    int x = 0, y = 0;
    SDL_GetWindowPosition(window->sdl, &x, &y);
    point->x -= x;
    point->y -= y;
    return TRUE;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
    if (!track || !IsLiveWindow(track->hwndTrack)) return FALSE;
    track->hwndTrack->trackLeave = (track->dwFlags & TME_LEAVE) != 0;
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
    if (!IsLiveWindow(window)) return FALSE;
    window->invalid = true;
    return TRUE;
}

BOOL ValidateRect(HWND window, const RECT*) {
    if (!IsLiveWindow(window)) return FALSE;
    window->invalid = false;
    return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    if (!IsLiveWindow(window)) return nullptr;
    window->invalid = false;
    if (paint) *paint = PAINTSTRUCT{reinterpret_cast<HDC>(window), FALSE, {0, 0, window->clientWidth, window->clientHeight}};
    return reinterpret_cast<HDC>(window);
}

BOOL EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

void* GetStockObject(int object) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(object + 1)); }

// A window without a device shows nothing else, and SDL has cleared it to black
// already; there is no separate surface to fill.
int FillRect(HDC, const RECT*, HBRUSH) { return 1; }
