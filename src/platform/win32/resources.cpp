#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "platform/win32/message_box_text.h"
#include "platform/win32/platform_observer.h"
#include "platform/win32/winuser.h"
#include "platform/win32/window_state.h"

struct HCURSOR__ {
    std::uintptr_t id;
    SDL_Cursor* shape;
};
struct HINSTANCE__ {
    int unused;
};
struct HMONITOR__ {
    int unused;
};

namespace {

constexpr std::uintptr_t kShcoreHandle = 0x5C0;

std::uintptr_t ResourceId(LPCSTR name) { return reinterpret_cast<std::uintptr_t>(name); }

SDL_SystemCursor ShapeOf(std::uintptr_t id, bool& known) {
    known = true;
    switch (id) {
        case 32512: return SDL_SYSTEM_CURSOR_ARROW;
        case 32514: return SDL_SYSTEM_CURSOR_WAIT;
        case 32515: return SDL_SYSTEM_CURSOR_CROSSHAIR;
        case 32516: return SDL_SYSTEM_CURSOR_SIZENS;  // the nearest SDL has to an upward arrow
        case 32646: return SDL_SYSTEM_CURSOR_SIZEALL;
        case 32649: return SDL_SYSTEM_CURSOR_HAND;
        default: known = false; return SDL_SYSTEM_CURSOR_ARROW;
    }
}

HCURSOR& CurrentCursor() {
    static HCURSOR cursor = nullptr;
    return cursor;
}

LONG GetDpiForMonitor(HMONITOR monitor, int, UINT* dpiX, UINT* dpiY) {
    float horizontal = 0, vertical = 0;
    int display = static_cast<int>(reinterpret_cast<std::uintptr_t>(monitor)) - 1;
    if (!dpiX || !dpiY || display < 0 || SDL_GetDisplayDPI(display, nullptr, &horizontal, &vertical) != 0)
        return static_cast<LONG>(0x80004005u);
    *dpiX = static_cast<UINT>(horizontal + 0.5f);
    *dpiY = static_cast<UINT>(vertical + 0.5f);
    return 0;
}

}  // namespace

LPCSTR MakeIntResource(int id) { return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(id))); }

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
    std::uintptr_t id = ResourceId(name);
    bool known = false;
    SDL_SystemCursor shape = ShapeOf(id, known);
    if (!known) return nullptr;
    static HCURSOR__ loaded[6];
    static const std::uintptr_t order[6] = {32512, 32514, 32515, 32516, 32646, 32649};
    std::size_t slot = static_cast<std::size_t>(std::find(order, order + 6, id) - order);
    HCURSOR cursor = &loaded[slot];
    cursor->id = id;
    // Without a display that draws cursors the handle still stands for the shape;
    // the pointer then keeps its default look.
    if (!cursor->shape && SDL_WasInit(SDL_INIT_VIDEO)) cursor->shape = SDL_CreateSystemCursor(shape);
    return cursor;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = CurrentCursor();
    CurrentCursor() = cursor;
    if (cursor && cursor->shape) SDL_SetCursor(cursor->shape);
    return previous;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    std::string body = text ? text : "";
    std::string title = caption ? caption : "Error";
    if (auto* observer = Win32::GetPlatformObserver())
        if (auto answer = observer->OnMessageBox(body, title, type)) return *answer;
    Uint32 flags = (type & MB_ICONEXCLAMATION) ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
    SDL_Window* parent = Win32::GetSDLWindow(owner);
    if (SDL_ShowSimpleMessageBox(flags, title.c_str(), Win32::WrapMessageBoxText(body).c_str(), parent) != 0)
        std::fprintf(stderr, "%s: %s\n", title.c_str(), body.c_str());
    return IDOK;
}

HMODULE GetModuleHandleA(LPCSTR) {
    static HINSTANCE__ program{0};
    return &program;
}

DWORD GetModuleFileNameA(HMODULE, LPSTR buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    char path[4096];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return 0;
    std::string windowsPath(path, static_cast<std::size_t>(length));
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    DWORD copied = std::min<DWORD>(static_cast<DWORD>(windowsPath.size()), size - 1);
    std::memcpy(buffer, windowsPath.data(), copied);
    buffer[copied] = '\0';
    return copied;
}

HMODULE LoadLibraryA(LPCSTR name) {
    if (!name) return nullptr;
    if (::strcasecmp(name, "Shcore") == 0 || ::strcasecmp(name, "Shcore.dll") == 0)
        return reinterpret_cast<HMODULE>(kShcoreHandle);
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    if (reinterpret_cast<std::uintptr_t>(module) != kShcoreHandle || !name) return nullptr;
    if (std::strcmp(name, "GetDpiForMonitor") == 0) return reinterpret_cast<FARPROC>(&GetDpiForMonitor);
    return nullptr;
}

BOOL FreeLibrary(HMODULE module) { return module ? TRUE : FALSE; }

HMONITOR MonitorFromWindow(HWND window, DWORD flags) {
    SDL_Window* sdl = Win32::GetSDLWindow(window);
    int display = sdl ? SDL_GetWindowDisplayIndex(sdl) : -1;
    if (display < 0) {
        if (flags != MONITOR_DEFAULTTOPRIMARY || !SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
        display = 0;
    }
    return reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(display + 1));
}
