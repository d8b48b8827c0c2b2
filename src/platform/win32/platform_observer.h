#pragma once
// What a program driving the game from outside can see of it and feed it through
// the layer: the moments its message loop waits, its window titles and its
// message boxes. The game itself never installs an observer and behaves the same
// with one installed.

#include <optional>
#include <string>

#include "platform/win32/windef.h"

struct SDL_Window;

namespace Win32 {

class CPlatformObserver {
public:
    virtual ~CPlatformObserver() = default;
    // The queue holds nothing to return. The observer must push input or move the
    // clock on, since the loop asks again at once instead of waiting.
    virtual void OnIdle() {}
    // An answer for the box without showing it, or none to show it.
    virtual std::optional<int> OnMessageBox(const std::string& /*text*/, const std::string& /*caption*/,
                                            UINT /*type*/) {
        return std::nullopt;
    }
    virtual void OnWindowText(const std::string& /*text*/) {}
};

// Null removes it. The observer stays the caller's.
void SetPlatformObserver(CPlatformObserver* observer);
CPlatformObserver* GetPlatformObserver();

// When the earliest timer falls due on the layer's clock; none without timers.
std::optional<DWORD> NextTimerDue();

// The SDL window behind a window handle (null for none), for the device layer.
SDL_Window* GetSDLWindow(HWND window);

}  // namespace Win32
