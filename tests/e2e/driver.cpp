#include "driver.h"

#include <SDL_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "game/app.h"
#include "graphics/xp_device.h"
#include "platform/d3d9/direct3d.h"
#include "platform/d3d9/gl_device.h"
#include "platform/d3d9/recording_device.h"
#include "platform/win32/platform_observer.h"
#include "platform/win32/win32_time.h"
#include "support/child_time_limit.h"

namespace QuillmereE2E {
namespace {

Step Make(Step::Kind kind, int x = 0, int y = 0, int amount = 0) {
    Step step;
    step.kind = kind;
    step.x = x;
    step.y = y;
    step.amount = amount;
    return step;
}

// One observation a line, fields split by tabs; tabs, line breaks and
// backslashes inside fields are escaped.
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else out += c;
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[++i];
        out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return out;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t')) fields.push_back(Unescape(field));
    return fields;
}

// Lives in the program's process: feeds it and watches it.
class Watcher : public Win32::CPlatformObserver {
public:
    Watcher(const std::vector<Step>& steps, std::string home, std::ofstream& out)
        : m_steps(steps), m_home(std::move(home)), m_out(out) {}

    DWORD Now() const { return m_now; }

    void OnIdle() override {
        if (!m_loopNoted) {
            m_loopNoted = true;
            m_out << "loop\n";
        }
        if (m_waitUntil) {
            if (static_cast<std::int32_t>(*m_waitUntil - m_now) > 0) {
                // Straight to the next timer or the end of the wait, whichever is first.
                std::optional<DWORD> due = Win32::NextTimerDue();
                bool timerFirst = due && static_cast<std::int32_t>(*due - m_now) > 0 &&
                                  static_cast<std::int32_t>(*due - *m_waitUntil) < 0;
                m_now = timerFirst ? *due : *m_waitUntil;
                return;
            }
            m_waitUntil.reset();
        }
        if (!m_pendingShot.empty()) {
            if (++m_shotAttempts <= 3) {
                InvalidateRect(GetApp().GetWindow(), nullptr, FALSE);
                return;
            }
            Record("shot", {m_pendingShot, "", "0", "0"});
            m_pendingShot.clear();
        }
        if (m_next < m_steps.size()) {
            RunStep(m_steps[m_next++]);
            return;
        }
        // Out of steps: close the program, then let its clock run until it has gone.
        if (!m_closed) {
            m_closed = true;
            PushQuit();
            return;
        }
        m_now += 16;
        if (++m_idleAfterClose > 10000) {
            Record("log", {"the program did not end after its window was closed"});
            m_out.flush();
            std::_Exit(3);
        }
    }

    std::optional<int> OnMessageBox(const std::string& text, const std::string& caption, UINT) override {
        Record("box", {caption, text});
        return IDOK;
    }

    void OnWindowText(const std::string& text) override { Record("title", {text}); }

    void OnPresent(D3D9Layer::CDeviceBase& device) {
        if (auto* recording = dynamic_cast<D3D9Layer::CRecordingDevice*>(&device)) {
            Record("frame", {std::to_string(recording->Draws().size())});
            // The log would grow with every frame of the run.
            recording->ClearRecord();
        }
        if (m_pendingShot.empty()) return;
        std::string name = m_pendingShot;
        m_pendingShot.clear();
        auto* gl = dynamic_cast<D3D9Layer::CGLDevice*>(&device);
        if (!gl) {
            Record("shot", {name, "", "0", "0"});
            return;
        }
        std::vector<std::uint32_t> pixels = gl->ReadBackBuffer();
        D3DVIEWPORT9 viewport{};
        device.GetViewport(&viewport);
        int width = static_cast<int>(viewport.Width), height = static_cast<int>(viewport.Height);
        if (pixels.size() != static_cast<std::size_t>(width) * height || pixels.empty()) {
            Record("shot", {name, "", "0", "0"});
            return;
        }
        std::size_t lit = 0;
        for (std::uint32_t pixel : pixels) lit += (pixel & 0x00FFFFFFu) != 0;
        std::string path = m_home + "/" + name + ".png";
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32, width * 4,
                                                                  SDL_PIXELFORMAT_ARGB8888);
        bool saved = surface && IMG_SavePNG(surface, path.c_str()) == 0;
        SDL_FreeSurface(surface);
        std::uint32_t centre = pixels[static_cast<std::size_t>(height / 2) * width + width / 2];
        Record("shot", {name, saved ? path : "", std::to_string(static_cast<double>(lit) / pixels.size()),
                        std::to_string(centre)});
    }

    void Record(const std::string& kind, const std::vector<std::string>& fields) {
        m_out << kind;
        for (const std::string& field : fields) m_out << '\t' << Escape(field);
        m_out << '\n';
        m_out.flush();
    }

private:
    Uint32 WindowId() const {
        SDL_Window* window = Win32::GetSDLWindow(GetApp().GetWindow());
        return window ? SDL_GetWindowID(window) : 0;
    }

    void Push(SDL_Event event) { SDL_PushEvent(&event); }

    void PushQuit() {
        SDL_Event event{};
        event.type = SDL_QUIT;
        Push(event);
    }

    void PushButton(Uint8 button, int x, int y, Uint8 clicks) {
        SDL_Event event{};
        event.button.windowID = WindowId();
        event.button.button = button;
        event.button.x = x;
        event.button.y = y;
        event.button.clicks = clicks;
        event.type = SDL_MOUSEBUTTONDOWN;
        event.button.state = SDL_PRESSED;
        Push(event);
        event.type = SDL_MOUSEBUTTONUP;
        event.button.state = SDL_RELEASED;
        Push(event);
    }

    void PushMove(int x, int y, Uint32 buttons = 0) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = WindowId();
        event.motion.x = x;
        event.motion.y = y;
        event.motion.state = buttons;
        Push(event);
    }

    void PushHalfClick(bool down, int x, int y) {
        SDL_Event event{};
        event.button.windowID = WindowId();
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = x;
        event.button.y = y;
        event.button.clicks = 1;
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        Push(event);
    }

    // The centre of the first spot, on a 4-unit grid, where the interface's own
    // hit test answers the id; in window pixels.
    std::optional<POINT> FindElement(int id) {
        DRAVUI::CUIManager& ui = GetApp().GetUIManager();
        RECT client{};
        GetClientRect(GetApp().GetWindow(), &client);
        std::uint32_t scale = ui.GetScale() ? ui.GetScale() : 100;
        for (int y = 0; y * static_cast<int>(scale) / 100 < client.bottom; y += 4) {
            for (int x = 0; x * static_cast<int>(scale) / 100 < client.right; x += 4) {
                POINT logical{x, y};
                int found = 0;
                if (ui.HitTest(&logical, nullptr, &found) && found == id)
                    return POINT{x * static_cast<int>(scale) / 100, y * static_cast<int>(scale) / 100};
            }
        }
        return std::nullopt;
    }

    void RunStep(const Step& step) {
        switch (step.kind) {
            case Step::Kind::Move: PushMove(step.x, step.y); return;
            case Step::Kind::Click:
                PushMove(step.x, step.y);
                PushButton(SDL_BUTTON_LEFT, step.x, step.y, 1);
                return;
            case Step::Kind::DoubleClick:
                PushMove(step.x, step.y);
                PushButton(SDL_BUTTON_LEFT, step.x, step.y, 1);
                PushButton(SDL_BUTTON_LEFT, step.x, step.y, 2);
                return;
            case Step::Kind::RightClick:
                PushMove(step.x, step.y);
                PushButton(SDL_BUTTON_RIGHT, step.x, step.y, 1);
                return;
            case Step::Kind::Wheel: {
                SDL_Event event{};
                event.type = SDL_MOUSEWHEEL;
                event.wheel.windowID = WindowId();
                event.wheel.y = step.amount;
                event.wheel.mouseX = step.x;
                event.wheel.mouseY = step.y;
                Push(event);
                return;
            }
            case Step::Kind::Key: {
                SDL_Event event{};
                event.key.windowID = WindowId();
                event.key.keysym.scancode = step.key;
                event.key.keysym.mod = step.modifiers;
                event.type = SDL_KEYDOWN;
                Push(event);
                event.type = SDL_KEYUP;
                Push(event);
                return;
            }
            case Step::Kind::Type: {
                SDL_Event event{};
                event.type = SDL_TEXTINPUT;
                event.text.windowID = WindowId();
                std::snprintf(event.text.text, sizeof event.text.text, "%s", step.text.c_str());
                Push(event);
                return;
            }
            case Step::Kind::Close: PushQuit(); return;
            case Step::Kind::Wait: m_waitUntil = m_now + static_cast<DWORD>(step.amount); return;
            case Step::Kind::ClickId:
            case Step::Kind::RightClickId: {
                int id = step.amount;
                if (step.check) {
                    const std::string answer = step.check();
                    if (std::sscanf(answer.c_str(), "%d", &id) != 1) {
                        Record("log", {"no id: " + answer});
                        return;
                    }
                }
                if (auto point = FindElement(id)) {
                    PushMove(point->x, point->y);
                    PushButton(step.kind == Step::Kind::ClickId ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT, point->x,
                               point->y, 1);
                } else {
                    Record("log", {"no element with id " + std::to_string(id)});
                }
                return;
            }
            case Step::Kind::PointAt: {
                const std::string where = step.check();
                int x = 0, y = 0;
                if (std::sscanf(where.c_str(), "%d %d", &x, &y) != 2) {
                    Record("log", {"no point: " + where});
                    return;
                }
                const std::uint32_t scale = GetApp().GetUIManager().GetScale() ? GetApp().GetUIManager().GetScale() : 100;
                x = x * static_cast<int>(scale) / 100;
                y = y * static_cast<int>(scale) / 100;
                PushMove(x, y);
                if (step.amount == 1) PushButton(SDL_BUTTON_LEFT, x, y, 1);
                if (step.amount == 2) PushButton(SDL_BUTTON_RIGHT, x, y, 1);
                return;
            }
            case Step::Kind::DragId: {
                const std::string ids = step.check();
                int from = 0, to = 0;
                if (std::sscanf(ids.c_str(), "%d %d", &from, &to) != 2) {
                    Record("log", {"no drag: " + ids});
                    return;
                }
                const auto start = FindElement(from);
                const auto end = FindElement(to);
                if (!start || !end) {
                    Record("log", {"no element to drag between " + ids});
                    return;
                }
                PushMove(start->x, start->y);
                PushHalfClick(true, start->x, start->y);
                PushMove((start->x + end->x) / 2, (start->y + end->y) / 2, SDL_BUTTON_LMASK);
                PushMove(end->x, end->y, SDL_BUTTON_LMASK);
                PushHalfClick(false, end->x, end->y);
                return;
            }
            case Step::Kind::Screenshot:
                m_pendingShot = step.text;
                m_shotAttempts = 0;
                InvalidateRect(GetApp().GetWindow(), nullptr, FALSE);
                return;
            case Step::Kind::Check: Record("check", {step.text, step.check()}); return;
            case Step::Kind::Decide: {
                // Copied first: inserting may move the step itself.
                const auto decide = step.decide;
                std::vector<Step> next = decide();
                m_steps.insert(m_steps.begin() + static_cast<std::ptrdiff_t>(m_next), std::make_move_iterator(next.begin()),
                               std::make_move_iterator(next.end()));
                return;
            }
        }
    }

    std::vector<Step> m_steps;
    std::string m_home;
    std::ofstream& m_out;
    DWORD m_now = 3600000;
    std::size_t m_next = 0;
    std::optional<DWORD> m_waitUntil;
    std::string m_pendingShot;
    int m_shotAttempts = 0;
    bool m_closed = false;
    bool m_loopNoted = false;
    int m_idleAfterClose = 0;
};

[[noreturn]] void RunChild(const std::vector<Step>& steps, const std::string& home, const std::string& module,
                           bool headless, unsigned seconds) {
    if (headless) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        D3D9Layer::SetDeviceFactory([](HWND, const D3DPRESENT_PARAMETERS& parameters) -> IDirect3DDevice9* {
            return new D3D9Layer::CRecordingDevice(parameters);
        });
    }
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (home + "/Documents").c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string path = home + "/bin:" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");
    setenv("PATH", path.c_str(), 1);
    // A run that hangs is ended rather than holding the suite.
    QuillmereTest::LimitChildTime(seconds);
    // What the program tells a terminal is observed too.
    if (!std::freopen((home + "/stderr.txt").c_str(), "w", stderr)) std::_Exit(3);

    std::ofstream out(home + "/observations.txt", std::ios::trunc);
    Watcher watcher(steps, home, out);
    Win32::SetClockSource([&watcher] { return watcher.Now(); });
    Win32::SetPlatformObserver(&watcher);
    D3D9Layer::SetPresentObserver([&watcher](D3D9Layer::CDeviceBase& device) { watcher.OnPresent(device); });
    char folder[4096];
    std::snprintf(folder, sizeof folder, "%s", module.c_str());
    int code = WinMain(GetModuleHandleA(nullptr), nullptr, folder, SW_SHOWNORMAL);
    watcher.Record("exit", {std::to_string(code)});
    out.close();
    // The test's own state is not the program's to tear down.
    std::_Exit(0);
}

}  // namespace

Step Move(int x, int y) { return Make(Step::Kind::Move, x, y); }
Step Click(int x, int y) { return Make(Step::Kind::Click, x, y); }
Step DoubleClick(int x, int y) { return Make(Step::Kind::DoubleClick, x, y); }
Step RightClick(int x, int y) { return Make(Step::Kind::RightClick, x, y); }
Step Wheel(int x, int y, int notches) { return Make(Step::Kind::Wheel, x, y, notches); }
Step Key(SDL_Scancode key, Uint16 modifiers) {
    Step step = Make(Step::Kind::Key);
    step.key = key;
    step.modifiers = modifiers;
    return step;
}
Step Type(std::string text) {
    Step step = Make(Step::Kind::Type);
    step.text = std::move(text);
    return step;
}
Step Close() { return Make(Step::Kind::Close); }
Step Wait(int milliseconds) { return Make(Step::Kind::Wait, 0, 0, milliseconds); }
Step ClickId(int id) { return Make(Step::Kind::ClickId, 0, 0, id); }
Step RightClickId(int id) { return Make(Step::Kind::RightClickId, 0, 0, id); }
Step ClickIdOf(std::function<std::string()> id) {
    Step step = Make(Step::Kind::ClickId);
    step.check = std::move(id);
    return step;
}
std::vector<Step> ConsoleKeys(const std::string& text) {
    std::vector<Step> steps;
    for (char c : text) {
        if (c >= 'a' && c <= 'z') steps.push_back(Key(static_cast<SDL_Scancode>(SDL_SCANCODE_A + (c - 'a'))));
        if (c >= '1' && c <= '9') steps.push_back(Key(static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (c - '1'))));
        if (c == '0') steps.push_back(Key(SDL_SCANCODE_0));
        if (c == ' ') steps.push_back(Key(SDL_SCANCODE_SPACE));
        if (c == '_') steps.push_back(Key(SDL_SCANCODE_MINUS, KMOD_LSHIFT));
    }
    return steps;
}

Step PointAt(std::function<std::string()> where, bool click) {
    Step step = Make(Step::Kind::PointAt, 0, 0, click ? 1 : 0);
    step.check = std::move(where);
    return step;
}

Step RightClickAt(std::function<std::string()> where) {
    Step step = PointAt(std::move(where), false);
    step.amount = 2;
    return step;
}
Step DragId(std::function<std::string()> ids) {
    Step step = Make(Step::Kind::DragId);
    step.check = std::move(ids);
    return step;
}
Step Screenshot(std::string name) {
    Step step = Make(Step::Kind::Screenshot);
    step.text = std::move(name);
    return step;
}
namespace {

void LinkWithout(const std::filesystem::path& from, const std::filesystem::path& to, const std::string& prefix,
                 const std::vector<std::string>& dropped) {
    std::filesystem::create_directories(to);
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
        const std::string path = prefix + entry.path().filename().string();
        if (std::find(dropped.begin(), dropped.end(), path) != dropped.end()) continue;
        const bool holdsDropped = std::any_of(dropped.begin(), dropped.end(),
                                              [&](const std::string& name) { return name.rfind(path + "/", 0) == 0; });
        if (holdsDropped)
            LinkWithout(entry.path(), to / entry.path().filename(), path + "/", dropped);
        else
            std::filesystem::create_symlink(entry.path(), to / entry.path().filename());
    }
}

}  // namespace

std::string SampleWithout(const Driver& driver, const std::string& from, const std::vector<std::string>& dropped) {
    const std::string folder = driver.Home() + "/module";
    LinkWithout(from, folder, "", dropped);
    return folder;
}

Step Decide(std::function<std::vector<Step>()> decide) {
    Step step = Make(Step::Kind::Decide);
    step.decide = std::move(decide);
    return step;
}

Step Check(std::string name, std::function<std::string()> check) {
    Step step = Make(Step::Kind::Check);
    step.text = std::move(name);
    step.check = std::move(check);
    return step;
}

Driver::Driver() : m_module(QUILLMERE_E2E_SAMPLE) {
    char pattern[] = "/tmp/quillmere-e2e-XXXXXX";
    m_home = mkdtemp(pattern);
    std::filesystem::create_directories(m_home + "/bin");
    std::filesystem::create_directories(m_home + "/Documents");
    const std::string stub = m_home + "/bin/xdg-open";
    std::ofstream(stub) << "#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"$HOME/xdg-open.log\"\n";
    std::filesystem::permissions(stub, std::filesystem::perms::owner_all);
}

Driver::~Driver() {
    std::error_code ignored;
    std::filesystem::remove_all(m_home, ignored);
}

Observed Driver::Execute(const std::vector<Step>& steps) const {
    Observed run;
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) RunChild(steps, m_home, m_module, m_headless, m_seconds);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status))
        run.log += "the program did not end normally: it " + QuillmereTest::ChildEndedBy(WTERMSIG(status), m_seconds) + "\n";
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        run.log += "the program did not end normally (status " + std::to_string(status) + ")\n";

    std::ifstream in(m_home + "/observations.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields = Fields(line);
        if (fields.empty()) continue;
        const std::string& kind = fields[0];
        if (kind == "loop") run.loopEntered = true;
        else if (kind == "title" && fields.size() > 1) run.titles.push_back(fields[1]);
        else if (kind == "box" && fields.size() > 2) run.boxes.push_back({fields[1], fields[2]});
        else if (kind == "check" && fields.size() > 2) {
            run.checks[fields[1]] = fields[2];
            run.framesBeforeCheck[fields[1]] = run.frameDraws.size();
        }
        else if (kind == "shot" && fields.size() > 4)
            run.shots[fields[1]] = Shot{fields[2], std::stod(fields[3]), static_cast<std::uint32_t>(std::stoul(fields[4]))};
        else if (kind == "exit" && fields.size() > 1) {
            run.exited = true;
            run.exitCode = std::stoi(fields[1]);
        } else if (kind == "frame" && fields.size() > 1) {
            ++run.recordedFrames;
            run.frameDraws.push_back(std::stoi(fields[1]));
            run.mostFrameDraws = std::max(run.mostFrameDraws, run.frameDraws.back());
        } else if (kind == "log" && fields.size() > 1) run.log += fields[1] + "\n";
    }
    std::ifstream errors(m_home + "/stderr.txt");
    run.standardError.assign(std::istreambuf_iterator<char>(errors), std::istreambuf_iterator<char>());
    std::ifstream browser(m_home + "/xdg-open.log");
    while (std::getline(browser, line)) run.browser.push_back(line);
    return run;
}

}  // namespace QuillmereE2E
