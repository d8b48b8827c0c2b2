#include <SDL.h>

#include <algorithm>
#include <deque>

#include "platform/win32/platform_observer.h"
#include "platform/win32/win32_time.h"
#include "platform/win32/window_state.h"

using namespace Win32::Detail;

namespace {

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT period;
    DWORD due;
};

struct Queue {
    std::deque<MSG> posted;
    std::deque<MSG> input;
    bool quit = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    UINT_PTR nextThreadTimer = 0x7FFF;
};

Queue& State() {
    static Queue queue;
    return queue;
}

// Windows never fires a timer more often than every 10 ms.
constexpr UINT kMinimumPeriod = 10;
constexpr DWORD kLongestWait = 100;

bool IsDue(DWORD due, DWORD now) { return static_cast<std::int32_t>(now - due) >= 0; }

MSG Make(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{window, message, wParam, lParam, timeGetTime(), POINT{0, 0}};
}

void PumpSDL() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) TranslateSDLEvent(event);
}

bool TakeFront(std::deque<MSG>& queue, MSG* out) {
    while (!queue.empty()) {
        MSG message = queue.front();
        queue.pop_front();
        // Messages for a window that has gone go with it.
        if (message.hwnd && !IsLiveWindow(message.hwnd)) continue;
        *out = message;
        return true;
    }
    return false;
}

bool TakePaint(MSG* out) {
    for (HWND window : Windows()) {
        if (window->invalid && !IsIconic(window)) {
            *out = Make(window, WM_PAINT, 0, 0);
            return true;
        }
    }
    return false;
}

bool TakeTimer(MSG* out) {
    Queue& queue = State();
    DWORD now = timeGetTime();
    Timer* earliest = nullptr;
    for (Timer& timer : queue.timers)
        if (IsDue(timer.due, now) && (!earliest || IsDue(earliest->due, timer.due) == false))
            earliest = &timer;
    if (!earliest) return false;
    // A late timer fires once, not once for each period missed.
    earliest->due = now + earliest->period;
    *out = Make(earliest->window, WM_TIMER, earliest->id, 0);
    return true;
}

void Wait() {
    DWORD wait = kLongestWait;
    if (auto due = Win32::NextTimerDue()) {
        DWORD now = timeGetTime();
        wait = IsDue(*due, now) ? 0 : std::min<DWORD>(*due - now, kLongestWait);
    }
    if (SDL_WasInit(SDL_INIT_EVENTS))
        SDL_WaitEventTimeout(nullptr, static_cast<int>(wait));
    else
        SDL_Delay(wait);
}

}  // namespace

namespace Win32 {

std::optional<DWORD> NextTimerDue() {
    const auto& timers = State().timers;
    if (timers.empty()) return std::nullopt;
    DWORD earliest = timers.front().due;
    for (const Timer& timer : timers)
        if (IsDue(timer.due, earliest)) earliest = timer.due;
    return earliest;
}

namespace Detail {

void PushInput(const MSG& message) { State().input.push_back(message); }

void KillWindowTimers(HWND window) {
    auto& timers = State().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.window == window; }),
                 timers.end());
}

}  // namespace Detail
}  // namespace Win32

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !IsLiveWindow(window)) return FALSE;
    State().posted.push_back(Make(window, message, wParam, lParam));
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    State().quit = true;
    State().quitCode = exitCode;
}

BOOL GetMessageA(MSG* message, HWND, UINT, UINT) {
    Queue& queue = State();
    for (;;) {
        PumpSDL();
        if (TakeFront(queue.posted, message) || TakeFront(queue.input, message)) return TRUE;
        if (queue.quit) {
            queue.quit = false;
            *message = Make(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
            return FALSE;
        }
        if (TakePaint(message) || TakeTimer(message)) return TRUE;
        if (auto* observer = Win32::GetPlatformObserver())
            observer->OnIdle();
        else
            Wait();
    }
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* message) {
    if (!message || !IsLiveWindow(message->hwnd)) return 0;
    return message->hwnd->procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

// The program has no accelerator table: every key reaches the window procedure.
HACCEL LoadAcceleratorsA(HINSTANCE, LPCSTR) { return nullptr; }
int TranslateAcceleratorA(HWND, HACCEL, MSG*) { return 0; }

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC) {
    if (window && !IsLiveWindow(window)) return 0;
    Queue& queue = State();
    if (!window) id = ++queue.nextThreadTimer;
    period = std::max(period, kMinimumPeriod);
    DWORD due = timeGetTime() + period;
    for (Timer& timer : queue.timers) {
        if (timer.window == window && timer.id == id) {
            timer.period = period;
            timer.due = due;
            return window && id == 0 ? 1 : id;
        }
    }
    queue.timers.push_back(Timer{window, id, period, due});
    return window && id == 0 ? 1 : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& timers = State().timers;
    auto found = std::find_if(timers.begin(), timers.end(),
                              [&](const Timer& t) { return t.window == window && t.id == id; });
    if (found == timers.end()) return FALSE;
    timers.erase(found);
    return TRUE;
}
