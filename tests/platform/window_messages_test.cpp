#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "platform/win32/platform_observer.h"
#include "platform/win32/sdl_messages.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/win32_time.h"
#include "platform/win32/winuser.h"

namespace {

std::vector<MSG>& Dispatched() {
    static std::vector<MSG> messages;
    return messages;
}

LRESULT Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CREATE && message != WM_GETMINMAXINFO)
        Dispatched().push_back(MSG{window, message, wParam, lParam, 0, {0, 0}});
    return DefWindowProcA(window, message, wParam, lParam);
}

// Runs the loop until it would wait; each idle moment first runs the next scripted
// action, and with none left ends the reading.
class Script : public Win32::CPlatformObserver {
public:
    std::vector<std::function<void()>> actions;
    std::vector<MSG> Run() {
        Dispatched().clear();
        Win32::SetPlatformObserver(this);
        MSG message{};
        while (!m_done && GetMessageA(&message, nullptr, 0, 0)) {
            if (message.message == WM_NULL && message.hwnd == nullptr) continue;
            DispatchMessageA(&message);
        }
        Win32::SetPlatformObserver(nullptr);
        return Dispatched();
    }
    void OnIdle() override {
        if (m_next < actions.size()) {
            actions[m_next++]();
        } else {
            m_done = true;
        }
        PostMessageA(nullptr, WM_NULL, 0, 0);
    }

private:
    std::size_t m_next = 0;
    bool m_done = false;
};

class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        Win32::SetClockSource([this] { return m_now; });
        WNDCLASSEXA windowClass{};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = Recorder;
        windowClass.lpszClassName = "WindowTest";
        RegisterClassExA(&windowClass);
        m_window = CreateWindowExA(0, "WindowTest", "test", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, 1024, 768,
                                   nullptr, nullptr, nullptr, nullptr);
        m_sdlId = SDL_GetWindowID(Win32::GetSDLWindow(m_window));
        // What the video driver says about the new window is not the test's.
        Script settle;
        settle.Run();
        InvalidateRect(m_window, nullptr, FALSE);
        BeginPaint(m_window, nullptr);
    }
    ~WindowTest() override {
        if (IsWindow(m_window)) DestroyWindow(m_window);
        Win32::SetClockSource(nullptr);
    }

    SDL_Event Key(SDL_EventType type, SDL_Scancode code, Uint16 modifiers) const {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = m_sdlId;
        event.key.keysym.scancode = code;
        event.key.keysym.mod = modifiers;
        return event;
    }
    SDL_Event Button(SDL_EventType type, Uint8 button, int x, int y, Uint8 clicks) const {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = m_sdlId;
        event.button.button = button;
        event.button.x = x;
        event.button.y = y;
        event.button.clicks = clicks;
        return event;
    }
    static void Push(SDL_Event event) { SDL_PushEvent(&event); }

    DWORD m_now = 1000;
    HWND m_window = nullptr;
    Uint32 m_sdlId = 0;
};

TEST_F(WindowTest, QueueOrderIsPostedThenInputThenPaintThenTimer) {
    ASSERT_NE(m_window, nullptr);
    Script script;
    script.actions.push_back([&] {
        SetTimer(m_window, 7, 16, nullptr);
        m_now += 20;
        InvalidateRect(m_window, nullptr, FALSE);
        Push(Key(SDL_KEYDOWN, SDL_SCANCODE_A, KMOD_NONE));
        PostMessageA(m_window, WM_APP, 0, 0);
    });
    std::vector<MSG> messages = script.Run();
    ASSERT_GE(messages.size(), 4u);
    EXPECT_EQ(messages[0].message, WM_APP);
    EXPECT_EQ(messages[1].message, WM_KEYDOWN);
    EXPECT_EQ(messages[2].message, WM_PAINT);
    EXPECT_EQ(messages[3].message, WM_TIMER);
    EXPECT_EQ(messages[3].wParam, 7u);
    // A painted window is not painted again until invalidated; a timer fires once however late.
    EXPECT_EQ(messages.size(), 4u);
}

TEST_F(WindowTest, LateTimersFireOnceAndKilledTimersNever) {
    Script script;
    script.actions.push_back([&] { SetTimer(m_window, 1, 16, nullptr); });
    script.actions.push_back([&] { m_now += 5000; });
    script.actions.push_back([&] { m_now += 5; });
    script.actions.push_back([&] { m_now += 11; });
    script.actions.push_back([&] { KillTimer(m_window, 1); m_now += 100; });
    int timers = 0;
    for (const MSG& message : script.Run()) timers += message.message == WM_TIMER;
    EXPECT_EQ(timers, 2);
}

TEST_F(WindowTest, InputIsPackedAsWindowsPacksIt) {
    Script script;
    script.actions.push_back([&] {
        SDL_Event move{};
        move.type = SDL_MOUSEMOTION;
        move.motion.windowID = m_sdlId;
        move.motion.x = -5;
        move.motion.y = 300;
        Push(move);
        Push(Key(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT));
        Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20, 1));
        Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 20, 1));
        Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20, 2));
        Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 30, 40, 1));
        Push(Key(SDL_KEYUP, SDL_SCANCODE_LSHIFT, KMOD_NONE));
    });
    std::vector<MSG> messages = script.Run();
    ASSERT_EQ(messages.size(), 8u);
    EXPECT_EQ(messages[0].message, WM_SETCURSOR);
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(messages[0].lParam)), HTCLIENT);
    messages.erase(messages.begin());
    EXPECT_EQ(messages[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(GET_X_LPARAM(messages[0].lParam), -5);
    EXPECT_EQ(GET_Y_LPARAM(messages[0].lParam), 300);
    EXPECT_EQ(messages[1].message, WM_KEYDOWN);
    EXPECT_EQ(messages[1].wParam, VK_SHIFT);
    EXPECT_EQ(messages[2].message, WM_LBUTTONDOWN);
    EXPECT_EQ(messages[2].wParam, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(GET_X_LPARAM(messages[2].lParam), 10);
    EXPECT_EQ(GET_Y_LPARAM(messages[2].lParam), 20);
    EXPECT_EQ(messages[3].message, WM_LBUTTONUP);
    EXPECT_EQ(messages[3].wParam, MK_SHIFT);
    EXPECT_EQ(messages[4].message, WM_LBUTTONDBLCLK);
    EXPECT_EQ(messages[5].message, WM_RBUTTONDOWN);
    EXPECT_EQ(messages[6].message, WM_KEYUP);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

TEST_F(WindowTest, AltMakesSystemKeysAndWheelAndTextAndQuitArrive) {
    RECT frame{};
    ASSERT_TRUE(GetWindowRect(m_window, &frame));
    Script script;
    script.actions.push_back([&] {
        Push(Key(SDL_KEYDOWN, SDL_SCANCODE_LALT, KMOD_LALT));
        Push(Key(SDL_KEYDOWN, SDL_SCANCODE_F4, KMOD_LALT));
        Push(Key(SDL_KEYDOWN, SDL_SCANCODE_F10, KMOD_NONE));
        SDL_Event wheel{};
        wheel.type = SDL_MOUSEWHEEL;
        wheel.wheel.windowID = m_sdlId;
        wheel.wheel.y = -2;
        wheel.wheel.mouseX = 100;
        wheel.wheel.mouseY = 50;
        Push(wheel);
        SDL_Event text{};
        text.type = SDL_TEXTINPUT;
        text.text.windowID = m_sdlId;
        std::strcpy(text.text.text, "a\xC3\xA9");
        Push(text);
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        Push(quit);
    });
    std::vector<MSG> messages = script.Run();
    ASSERT_GE(messages.size(), 7u);
    EXPECT_EQ(messages[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(messages[0].wParam, VK_MENU);
    EXPECT_EQ(messages[1].message, WM_SYSKEYDOWN);
    EXPECT_EQ(messages[1].wParam, 0x73u);
    EXPECT_NE(messages[1].lParam & (1 << 29), 0) << "the context bit says Alt is held";
    EXPECT_EQ(messages[2].message, WM_SYSKEYDOWN);
    EXPECT_EQ(messages[2].wParam, VK_F10);
    EXPECT_EQ(messages[3].message, WM_MOUSEWHEEL);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(messages[3].wParam), -240);
    // The wheel's point is on the screen.
    EXPECT_EQ(GET_X_LPARAM(messages[3].lParam), frame.left + 100);
    EXPECT_EQ(GET_Y_LPARAM(messages[3].lParam), frame.top + 50);
    EXPECT_EQ(messages[4].message, WM_CHAR);
    EXPECT_EQ(messages[4].wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(messages[5].message, WM_CHAR);
    EXPECT_EQ(messages[5].wParam, 0xE9u);
    EXPECT_EQ(messages[6].message, WM_CLOSE);
    // The default handling of the close destroys the window.
    EXPECT_FALSE(IsWindow(m_window));
    EXPECT_EQ(messages.back().message, WM_DESTROY);
}

TEST(VirtualKeys, ComeFromTheKeysPositions) {
    const std::pair<int, unsigned> table[] = {
        {SDL_SCANCODE_A, 'A'},           {SDL_SCANCODE_Z, 'Z'},           {SDL_SCANCODE_1, '1'},
        {SDL_SCANCODE_0, '0'},           {SDL_SCANCODE_F1, VK_F1},        {SDL_SCANCODE_F12, VK_F12},
        {SDL_SCANCODE_RETURN, VK_RETURN}, {SDL_SCANCODE_KP_ENTER, VK_RETURN}, {SDL_SCANCODE_SPACE, VK_SPACE},
        {SDL_SCANCODE_GRAVE, VK_OEM_3},  {SDL_SCANCODE_SLASH, VK_OEM_2},  {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
        {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT}, {SDL_SCANCODE_KP_0, VK_NUMPAD0}, {SDL_SCANCODE_KP_9, VK_NUMPAD0 + 9},
        {SDL_SCANCODE_INSERT, VK_INSERT}, {SDL_SCANCODE_RSHIFT, VK_SHIFT}, {SDL_SCANCODE_RALT, VK_MENU},
        {SDL_SCANCODE_ESCAPE, VK_ESCAPE}, {SDL_SCANCODE_TAB, VK_TAB},     {SDL_SCANCODE_APPLICATION, 0},
    };
    for (auto [scancode, vk] : table) EXPECT_EQ(Win32::VirtualKeyFromScancode(scancode), vk) << scancode;
}

}  // namespace
