#include "platform/win32/sdl_messages.h"

#include <SDL.h>

#include <array>
#include <string>

#include "platform/win32/virtual_keys.h"
#include "platform/win32/win32_time.h"
#include "platform/win32/window_state.h"

using namespace Win32::Detail;

namespace {

std::array<bool, 256>& KeysDown() {
    static std::array<bool, 256> keys{};
    return keys;
}

// The buttons held, as the button events read so far left them.
Uint32& ButtonsDown() {
    static Uint32 buttons = 0;
    return buttons;
}

void Push(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window) PushInput(MSG{window, message, wParam, lParam, timeGetTime(), POINT{0, 0}});
}

WPARAM KeyFlags() {
    WPARAM flags = 0;
    if (GetKeyState(VK_SHIFT) < 0) flags |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) flags |= MK_CONTROL;
    return flags;
}

WPARAM MouseFlags(Uint32 buttons) {
    WPARAM flags = KeyFlags();
    if (buttons & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
    if (buttons & SDL_BUTTON_MMASK) flags |= MK_MBUTTON;
    return flags;
}

void NoteModifiers(Uint16 modifiers) {
    SetKeyDown(VK_SHIFT, (modifiers & KMOD_SHIFT) != 0);
    SetKeyDown(VK_CONTROL, (modifiers & KMOD_CTRL) != 0);
    SetKeyDown(VK_MENU, (modifiers & KMOD_ALT) != 0);
}

void TranslateKey(const SDL_KeyboardEvent& key, bool down) {
    unsigned vk = Win32::VirtualKeyFromScancode(key.keysym.scancode);
    if (vk == 0) return;
    NoteModifiers(key.keysym.mod);
    SetKeyDown(vk, down);
    // With Alt held, and for F10 and Alt themselves, Windows sends the system forms.
    bool system = (key.keysym.mod & KMOD_ALT) != 0 || vk == VK_MENU || vk == VK_F10;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    std::uint32_t packed = 1u | ((static_cast<std::uint32_t>(key.keysym.scancode) & 0xFF) << 16);
    if (key.keysym.mod & KMOD_ALT) packed |= 1u << 29;
    if (!down || key.repeat) packed |= 1u << 30;
    if (!down) packed |= 1u << 31;
    Push(FindWindowForSDL(key.windowID), message, vk, static_cast<LPARAM>(static_cast<std::int32_t>(packed)));
}

void TranslateButton(const SDL_MouseButtonEvent& button, bool down) {
    HWND window = FindWindowForSDL(button.windowID);
    if (!window) return;
    Uint32 mask = SDL_BUTTON(button.button);
    Uint32& buttons = ButtonsDown();
    buttons = down ? (buttons | mask) : (buttons & ~mask);
    UINT message = 0;
    switch (button.button) {
        case SDL_BUTTON_LEFT:
            // Every second click of a run is a double click in a class that asks for them.
            if (down && button.clicks >= 2 && button.clicks % 2 == 0 && (window->classStyle & CS_DBLCLKS))
                message = WM_LBUTTONDBLCLK;
            else
                message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            break;
        case SDL_BUTTON_RIGHT:
            if (down && button.clicks >= 2 && button.clicks % 2 == 0 && (window->classStyle & CS_DBLCLKS))
                message = WM_RBUTTONDBLCLK;
            else
                message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            break;
        default:
            return;
    }
    Push(window, message, MouseFlags(buttons), MAKELPARAM(button.x, button.y));
}

void TranslateWheel(const SDL_MouseWheelEvent& wheel) {
    HWND window = FindWindowForSDL(wheel.windowID);
    if (!window || wheel.y == 0) return;
    int y = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
    int left = 0, top = 0;
    if (window->sdl) SDL_GetWindowPosition(window->sdl, &left, &top);
    // The wheel message carries the point in screen coordinates.
    Push(window, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(MouseFlags(ButtonsDown())), y * WHEEL_DELTA),
         MAKELPARAM(left + wheel.mouseX, top + wheel.mouseY));
}

void TranslateText(const SDL_TextInputEvent& text) {
    HWND window = FindWindowForSDL(text.windowID);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.text);
    for (std::size_t i = 0; bytes[i];) {
        // One character message per code point of the UTF-8 text.
        unsigned code = bytes[i];
        int extra = code >= 0xF0 ? 3 : code >= 0xE0 ? 2 : code >= 0xC0 ? 1 : 0;
        code &= extra == 0 ? 0x7F : (0x3F >> extra);
        ++i;
        for (int k = 0; k < extra && bytes[i]; ++k, ++i) code = (code << 6) | (bytes[i] & 0x3F);
        Push(window, WM_CHAR, code, 1);
    }
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
    HWND window = FindWindowForSDL(event.windowID);
    if (!window) return;
    switch (event.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (event.data1 == window->clientWidth && event.data2 == window->clientHeight) return;
            window->clientWidth = event.data1;
            window->clientHeight = event.data2;
            Push(window, WM_SIZE,
                 window->sdl && (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MAXIMIZED) ? SIZE_MAXIMIZED
                                                                                          : SIZE_RESTORED,
                 MAKELPARAM(event.data1, event.data2));
            window->invalid = true;
            return;
        case SDL_WINDOWEVENT_MINIMIZED:
            Push(window, WM_SIZE, SIZE_MINIMIZED, 0);
            return;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
            window->invalid = true;
            return;
        case SDL_WINDOWEVENT_LEAVE:
            if (window->trackLeave) {
                window->trackLeave = false;
                Push(window, WM_MOUSELEAVE, 0, 0);
            }
            return;
        default:
            return;
    }
}

}  // namespace

namespace Win32 {

unsigned VirtualKeyFromScancode(int scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return VK_F1 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return VK_NUMPAD0 + 1 + (scancode - SDL_SCANCODE_KP_1);
    switch (scancode) {
        case SDL_SCANCODE_0: return '0';
        case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
        case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
        case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
        case SDL_SCANCODE_BACKSPACE: return VK_BACK;
        case SDL_SCANCODE_TAB: return VK_TAB;
        case SDL_SCANCODE_SPACE: return VK_SPACE;
        case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
        case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
        case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
        case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
        case SDL_SCANCODE_BACKSLASH: return VK_OEM_5;
        case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
        case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
        case SDL_SCANCODE_GRAVE: return VK_OEM_3;
        case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
        case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
        case SDL_SCANCODE_SLASH: return VK_OEM_2;
        case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
        case SDL_SCANCODE_PAUSE: return VK_PAUSE;
        case SDL_SCANCODE_INSERT: return VK_INSERT;
        case SDL_SCANCODE_DELETE: return VK_DELETE;
        case SDL_SCANCODE_HOME: return VK_HOME;
        case SDL_SCANCODE_END: return VK_END;
        case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
        case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
        case SDL_SCANCODE_LEFT: return VK_LEFT;
        case SDL_SCANCODE_RIGHT: return VK_RIGHT;
        case SDL_SCANCODE_UP: return VK_UP;
        case SDL_SCANCODE_DOWN: return VK_DOWN;
        case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
        case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
        case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
        case SDL_SCANCODE_KP_PLUS: return VK_ADD;
        case SDL_SCANCODE_KP_PERIOD: return VK_DECIMAL;
        case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return VK_SHIFT;
        case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return VK_CONTROL;
        case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return VK_MENU;
        default: return 0;
    }
}

namespace Detail {

void SetKeyDown(unsigned virtualKey, bool down) {
    if (virtualKey < KeysDown().size()) KeysDown()[virtualKey] = down;
}

void TranslateSDLEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            // Closing the window and SIGTERM both ask the program to close.
            if (!Windows().empty()) Push(Windows().front(), WM_CLOSE, 0, 0);
            return;
        case SDL_WINDOWEVENT: TranslateWindowEvent(event.window); return;
        case SDL_KEYDOWN: TranslateKey(event.key, true); return;
        case SDL_KEYUP: TranslateKey(event.key, false); return;
        case SDL_TEXTINPUT: TranslateText(event.text); return;
        case SDL_MOUSEMOTION: {
            HWND window = FindWindowForSDL(event.motion.windowID);
            // As on Windows, the window sets the cursor for the point first.
            Push(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            Push(window, WM_MOUSEMOVE, MouseFlags(event.motion.state), MAKELPARAM(event.motion.x, event.motion.y));
            return;
        }
        case SDL_MOUSEBUTTONDOWN: TranslateButton(event.button, true); return;
        case SDL_MOUSEBUTTONUP: TranslateButton(event.button, false); return;
        case SDL_MOUSEWHEEL: TranslateWheel(event.wheel); return;
        default: return;
    }
}

}  // namespace Detail
}  // namespace Win32

SHORT GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey >= static_cast<int>(KeysDown().size())) return 0;
    return KeysDown()[static_cast<std::size_t>(virtualKey)] ? static_cast<SHORT>(0x8000) : 0;
}
