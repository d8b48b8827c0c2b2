#pragma once
// Reaches the application object's state for the shell tests, which drive a
// CDRAVApp of their own (never the program's) without a window procedure loop.

#include <memory>
#include <string>
#include <vector>

#include "game/app.h"
#include "graphics/xp_device.h"

class CDRAVAppTestAccess {
public:
    static void SetEngine(CDRAVApp& app, std::shared_ptr<DRAV::CEngine> engine) { app.m_engine = std::move(engine); }
    static void SetAudio(CDRAVApp& app, std::shared_ptr<IDRAVAudio2> audio) { app.m_audio = std::move(audio); }
    static void SetWindow(CDRAVApp& app, HWND window) { app.m_window = window; }
    // A game played with no dialog: running, unpaused, the clock held once, so
    // that the next ResumeClock starts it.
    static void StartPlaying(CDRAVApp& app) {
        app.m_splashMode = false;
        app.m_gameRunning = true;
        app.m_paused = false;
        app.m_suspendCount = 1;
    }
    static void SetDevice(CDRAVApp& app, IDirect3DDevice9* device) {
        device->AddRef();
        app.m_device.reset(device);
        app.m_deviceWrapper = std::make_shared<DRAVCommon::CXPDevice>(device);
    }
    static void SetSplashMode(CDRAVApp& app, bool on) { app.m_splashMode = on; }
    // A party index, or CDRAVApp::kWholeParty.
    static void SetSelectedMember(CDRAVApp& app, std::uint32_t member) { app.m_selectedParty = member; }
    static void SetPaused(CDRAVApp& app, bool paused) { app.m_paused = paused; }
    static bool IsDeviceLost(const CDRAVApp& app) { return app.m_deviceLost; }
    static bool IsScreenRebuildPending(const CDRAVApp& app) { return app.m_screenRebuildPending; }
    static UINT_PTR TimerId(const CDRAVApp& app) { return app.m_timerId; }
    static bool IsPartyDeadShown(const CDRAVApp& app) { return app.m_partyDeadShown; }
    static ChapterInfoMap& ChapterTable(CDRAVApp& app) { return app.m_chapterTable; }
    // The game the engine holds now taken up as the shell takes up a loaded one or a
    // new area: what waited for the game before, and its actors' records, dropped.
    static void TakeUpGame(CDRAVApp& app) {
        app.m_pendingEvents.clear();
        app.m_quickActions.clear();
        app.UpdatePartyQuickActions(false);
        app.ResetPartySelection();
    }
    // Every dialog goes without its close action, and the clock's hold with it.
    static void DropDialogs(CDRAVApp& app) {
        if (!app.m_currentDialog) return;
        app.m_currentDialog.reset();
        app.m_coveredDialogs.clear();
        app.ResumeClock();
        app.LayoutGameScreen();
    }
};

// Counts what the shell asks of the sound.
class CountingAudio : public IDRAVAudio2 {
public:
    void SetVolume(int) override {}
    int GetVolume() override { return 100; }
    void PlaySound(int id) override { played.push_back(id); }
    void SetFootsteps(bool on) override { footsteps = on; }
    void PlayAmbientFx(const std::string&) override {}
    void StopAmbientFx() override { ++ambientStops; }

    std::vector<int> played;
    bool footsteps = true;
    int ambientStops = 0;
};
