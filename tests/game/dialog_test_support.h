#pragma once
// The shell on the sample as the program starts it (the packed chapters, the
// interface archive, the chapter table), in a window of the dummy video driver
// over the recording device, with the sound counted and the message boxes and
// window titles recorded, for the dialog tests.

#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app_test_access.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/dialog.h"
#include "platform/d3d9/recording_device.h"
#include "platform/win32/platform_observer.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"
#include "ui/ui_group.h"
#include "world/actor.h"

namespace QuillmereTest {

// The game the shell plays; one a test ended by mistake fails it, not the binary.
inline DRAV::CGame& RunningGameOf(CDRAVApp& app) {
    const auto& game = app.GetEngine()->GetGame();
    if (!game) throw std::logic_error("the game has ended");
    return *game;
}

class CountedAudio : public IDRAVAudio2 {
public:
    void SetVolume(int) override {}
    int GetVolume() override { return 100; }
    void PlaySound(int id) override { played.push_back(id); }
    void SetFootsteps(bool) override {}
    void PlayAmbientFx(const std::string&) override {}
    void StopAmbientFx() override {}

    std::vector<int> played;
};

class ShellRecorder : public Win32::CPlatformObserver {
public:
    std::optional<int> OnMessageBox(const std::string& text, const std::string& caption, UINT) override {
        boxes.emplace_back(caption, text);
        return IDOK;
    }
    void OnWindowText(const std::string& text) override { titles.push_back(text); }

    std::vector<std::pair<std::string, std::string>> boxes;
    std::vector<std::string> titles;
};

// Saved games and settings go to folders of the test's own, never the user's, so
// tests running side by side never save over one another.
class PrivateHome {
public:
    PrivateHome() {
        setenv("XDG_DOCUMENTS_DIR", (folder / "docs").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    }
    ~PrivateHome() {
        unsetenv("XDG_DOCUMENTS_DIR");
        unsetenv("XDG_CONFIG_HOME");
    }
    PrivateHome(const PrivateHome&) = delete;
    PrivateHome& operator=(const PrivateHome&) = delete;

    TempDir folder;
};

inline LRESULT QuietWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class ShellOnSample {
public:
    ShellOnSample() {
        Win32::SetPlatformObserver(&recorder);
        WNDCLASSEXA windowClass{};
        windowClass.lpfnWndProc = QuietWindowProcedure;
        windowClass.lpszClassName = "DialogTestWindow";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "DialogTestWindow", "dialogs", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, 1024, 768,
                                 nullptr, nullptr, nullptr, nullptr);
        CDRAVAppTestAccess::SetWindow(app, window);
        CDRAVAppTestAccess::SetSplashMode(app, false);
        CDRAVAppTestAccess::SetDevice(app, device.get());
        loaded = app.InitLoadModule(SampleArchiveRoot());
        CDRAVAppTestAccess::SetAudio(app, audio);
    }
    ~ShellOnSample() {
        Win32::SetPlatformObserver(nullptr);
        CDRAVAppTestAccess::SetWindow(app, nullptr);
        DestroyWindow(window);
    }

    // Chapter 1 started as the creation pages end it (their first page put away),
    // with "Wren" as the main character; her introduction is showing, and the
    // tutorial's welcome page waits for the first timer message after it.
    void StartWrensGame() {
        app.StartNewGame(1, false);
        CDRAVAppTestAccess::DropDialogs(app);
        std::shared_ptr<DRAV::CActor> main = app.GetNewActor();
        main->SetName("Wren");
        app.StartGameWithActor(main);
    }

    // The introduction closed, then the tutorial's welcome page that the dock
    // opens on arrival, which the first timer messages (`timer` delivers one)
    // bring up, read and closed; false when no welcome page came up.
    bool PastTheWelcome(const std::function<void()>& timer) {
        app.CloseDialog(1);
        for (int i = 0; i < 10 && !app.GetCurrentDialog(); ++i) timer();
        const auto page = app.GetCurrentDialog();
        if (!page || page->GetTitle().find("Tutorial - Welcome") == std::string::npos) return false;
        app.CloseDialog(0);
        return true;
    }

    // The sample as a module whose first chapter announces `count` chapters: the
    // chapters past the sample's own are absent, as if not installed.
    void AnnounceChapters(int count) {
        ChapterInfoMap& table = CDRAVAppTestAccess::ChapterTable(app);
        table.at(1)->m_chapterCount = count;
        for (int n = 2; n <= count; ++n) table.emplace(n, std::make_shared<CDRAVChapterInfo>(n, count));
    }

    // The ids of every widget on screen, groups' children included, in order.
    std::vector<int> ScreenIds() {
        std::vector<int> ids;
        for (const auto& element : app.GetUIManager().GetElements()) Collect(*element, ids);
        return ids;
    }

    PrivateHome home;
    ShellRecorder recorder;
    HWND window = nullptr;
    D3DPtr<D3D9Layer::CRecordingDevice> device = D3D9Layer::CRecordingDevice::Create(1024, 768);
    CDRAVApp app;
    std::shared_ptr<CountedAudio> audio = std::make_shared<CountedAudio>();
    bool loaded = false;

    // The first widget on screen with `id` that is not a group, groups searched
    // through; null when there is none.
    DRAVUI::CUIElement* FindElement(int id) {
        std::vector<DRAVUI::CUIElement*> open;
        for (const auto& element : app.GetUIManager().GetElements()) open.push_back(element.get());
        for (std::size_t next = 0; next < open.size(); ++next) {
            DRAVUI::CUIElement* element = open[next];
            if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(element)) {
                for (const auto& child : group->GetChildren()) open.push_back(child.get());
            } else if (element->GetId() == id) {
                return element;
            }
        }
        return nullptr;
    }

private:
    static void Collect(DRAVUI::CUIElement& element, std::vector<int>& ids) {
        if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(&element)) {
            for (const auto& child : group->GetChildren()) Collect(*child, ids);
            return;
        }
        ids.push_back(element.GetId());
    }
};

}  // namespace QuillmereTest
