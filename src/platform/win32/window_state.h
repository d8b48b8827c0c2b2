#pragma once
// The layer's own record of its windows, shared by the window functions, the
// message queue and the translation of SDL events. Not for callers of the layer.

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/win32/winuser.h"

struct HWND__ {
    SDL_Window* sdl = nullptr;
    WNDPROC procedure = nullptr;
    UINT classStyle = 0;
    LONG_PTR userData = 0;
    std::string text;
    bool invalid = false;
    bool trackLeave = false;
    bool destroyed = false;
    int clientWidth = 0;
    int clientHeight = 0;
};

namespace Win32::Detail {

// Live windows, oldest first.
std::vector<HWND>& Windows();
HWND FindWindowForSDL(Uint32 windowId);
bool IsLiveWindow(HWND window);

// The key-down table GetKeyState answers from, kept by the input translation.
void SetKeyDown(unsigned virtualKey, bool down);

// Turns one SDL event into window messages posted to the input queue.
void TranslateSDLEvent(const SDL_Event& event);

// Drops every timer of the window.
void KillWindowTimers(HWND window);

// Queues an input message (behind posted messages, ahead of painting and timers).
void PushInput(const MSG& message);

}  // namespace Win32::Detail
