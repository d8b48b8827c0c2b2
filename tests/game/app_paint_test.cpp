#include <gtest/gtest.h>

#include <algorithm>

#include "app_test_access.h"
#include "platform/d3d9/recording_device.h"
#include "platform/win32/platform_observer.h"
#include "support/sample_game.h"
#include "support/overlay_source.h"
#include "support/sample_module.h"

namespace {

LRESULT QuietProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// Takes the messages queued for the window until the queue runs dry.
class QueueReader : public Win32::CPlatformObserver {
public:
    std::vector<UINT> Drain(HWND window) {
        Win32::SetPlatformObserver(this);
        std::vector<UINT> messages;
        MSG message{};
        m_dry = false;
        while (!m_dry && GetMessageA(&message, nullptr, 0, 0)) {
            if (m_dry) break;
            if (message.hwnd != window) continue;
            messages.push_back(message.message);
            // Not dispatched: the paint is taken here, or it would come back at once.
            if (message.message == WM_PAINT) BeginPaint(window, nullptr);
        }
        Win32::SetPlatformObserver(nullptr);
        return messages;
    }
    void OnIdle() override {
        // Nothing left: a quiet message ends the reading.
        m_dry = true;
        PostMessageA(nullptr, WM_NULL, 0, 0);
    }

private:
    bool m_dry = false;
};

class BoxRecorder : public Win32::CPlatformObserver {
public:
    BoxRecorder() { Win32::SetPlatformObserver(this); }
    std::optional<int> OnMessageBox(const std::string& text, const std::string& caption, UINT) override {
        boxes.emplace_back(caption, text);
        return IDOK;
    }
    std::vector<std::pair<std::string, std::string>> boxes;
};

bool Contains(const std::vector<UINT>& messages, UINT wanted) {
    return std::find(messages.begin(), messages.end(), wanted) != messages.end();
}

// An application object painting on the recording device in a window of the dummy video driver.
class PaintTest : public ::testing::Test {
protected:
    PaintTest() {
        WNDCLASSEXA windowClass{};
        windowClass.lpfnWndProc = QuietProcedure;
        windowClass.lpszClassName = "PaintTestWindow";
        RegisterClassExA(&windowClass);
        m_window = CreateWindowExA(0, "PaintTestWindow", "paint", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, 1024, 768,
                                   nullptr, nullptr, nullptr, nullptr);
        CDRAVAppTestAccess::SetWindow(m_app, m_window);
        CDRAVAppTestAccess::SetSplashMode(m_app, false);
        CDRAVAppTestAccess::SetDevice(m_app, m_device.get());
    }
    ~PaintTest() override {
        CDRAVAppTestAccess::SetWindow(m_app, nullptr);
        DestroyWindow(m_window);
    }

    HWND m_window = nullptr;
    D3DPtr<D3D9Layer::CRecordingDevice> m_device = D3D9Layer::CRecordingDevice::Create(1024, 768);
    CDRAVApp m_app;
    QueueReader m_queue;
};

TEST_F(PaintTest, ALostDeviceIsResetByTheNextPaintWhichRebuildsTheScreen) {
    ASSERT_NE(m_window, nullptr);
    m_queue.Drain(m_window);
    m_app.OnPaint(0);
    EXPECT_FALSE(CDRAVAppTestAccess::IsDeviceLost(m_app));

    m_device->FailCall("Present", D3DERR_DEVICELOST);
    m_app.OnPaint(0);
    EXPECT_TRUE(CDRAVAppTestAccess::IsDeviceLost(m_app));
    EXPECT_FALSE(Contains(m_queue.Drain(m_window), CDRAVApp::kAppShowChapterPicture));

    // A reset that fails skips the frame and keeps the device lost.
    m_device->ClearRecord();
    m_device->FailCall("Reset", D3DERR_DEVICELOST);
    m_app.OnPaint(0);
    EXPECT_TRUE(CDRAVAppTestAccess::IsDeviceLost(m_app));
    EXPECT_EQ(std::count(m_device->Calls().begin(), m_device->Calls().end(), "Present()"), 0);
    EXPECT_FALSE(Contains(m_queue.Drain(m_window), CDRAVApp::kAppShowChapterPicture));

    m_device->ClearRecord();
    m_app.OnPaint(0);
    EXPECT_FALSE(CDRAVAppTestAccess::IsDeviceLost(m_app));
    const auto& calls = m_device->Calls();
    auto reset = std::find(calls.begin(), calls.end(), "Reset()");
    auto present = std::find(calls.begin(), calls.end(), "Present()");
    ASSERT_NE(reset, calls.end());
    EXPECT_LT(reset, present) << "the frame is drawn on the reset device";
    EXPECT_TRUE(Contains(m_queue.Drain(m_window), CDRAVApp::kAppShowChapterPicture));

    // The rebuild message marks the screen for rebuilding; the next paint asks for it.
    m_app.HandleMessage(CDRAVApp::kAppShowChapterPicture, 0, 0);
    EXPECT_TRUE(CDRAVAppTestAccess::IsScreenRebuildPending(m_app));
    m_app.OnPaint(0);
    EXPECT_TRUE(Contains(m_queue.Drain(m_window), CDRAVApp::kAppLoadGraphics));
}

TEST_F(PaintTest, AResizeResetsTheDeviceToTheNewSize) {
    m_queue.Drain(m_window);
    m_app.HandleMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1280, 800));
    D3DVIEWPORT9 viewport{};
    m_device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 1280u);
    EXPECT_EQ(viewport.Height, 800u);
    EXPECT_TRUE(Contains(m_queue.Drain(m_window), CDRAVApp::kAppShowChapterPicture));

    m_device->FailCall("Reset", D3DERR_DEVICELOST);
    m_app.HandleMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(1600, 900));
    EXPECT_TRUE(CDRAVAppTestAccess::IsDeviceLost(m_app));
    // A minimised window keeps its device as it is.
    m_app.HandleMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_TRUE(CDRAVAppTestAccess::IsDeviceLost(m_app));
}

TEST_F(PaintTest, TheRunningGamesGraphicsLoadOnTheRebuildMessageWithTheClockHeld) {
    QuillmereTest::SampleGame game;
    auto audio = std::make_shared<CountingAudio>();
    CDRAVAppTestAccess::SetEngine(m_app, game.EnginePtr());
    CDRAVAppTestAccess::SetAudio(m_app, audio);
    CDRAVAppTestAccess::StartPlaying(m_app);
    m_app.GetUIManager().SetDataFileFactory(QuillmereTest::SampleInterfaceSource());
    m_app.HandleMessage(CDRAVApp::kAppLoadGraphics, 0, 0);
    EXPECT_TRUE(m_app.IsGameViewReady());
    EXPECT_NE(m_app.GetGraphicsManager().GetBillboardRenderer(), nullptr) << "the area's graphics are loaded";
    EXPECT_EQ(m_app.GetSuspendCount(), 1) << "the load holds the clock and lets it go again";
    EXPECT_FALSE(audio->footsteps);
    EXPECT_GE(audio->ambientStops, 1);
}

TEST_F(PaintTest, GraphicsThatFailToLoadEndTheGameAndLeaveNoViewToPaint) {
    QuillmereTest::SampleGame game;
    CDRAVAppTestAccess::SetEngine(m_app, game.EnginePtr());
    CDRAVAppTestAccess::SetAudio(m_app, std::make_shared<CountingAudio>());
    CDRAVAppTestAccess::StartPlaying(m_app);
    m_app.GetUIManager().SetDataFileFactory(QuillmereTest::SampleInterfaceSource());
    m_device->FailCall("CreateVertexBuffer", E_FAIL, 0, 1000);
    BoxRecorder boxes;
    m_app.HandleMessage(CDRAVApp::kAppLoadGraphics, 0, 0);
    Win32::SetPlatformObserver(nullptr);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].first, "Game Error");
    EXPECT_EQ(boxes.boxes[0].second.rfind("Failed to load graphics file.", 0), 0u);
    EXPECT_FALSE(m_app.IsGameRunning());
    EXPECT_FALSE(m_app.IsGameViewReady()) << "no view of a game that has ended";
    EXPECT_EQ(m_app.GetSuspendCount(), 2) << "the load's hold on the clock is not let go for an ended game";
    EXPECT_TRUE(Contains(m_queue.Drain(m_window), WM_CLOSE));
    m_app.HandleMessage(WM_PAINT, 0, 0);
}

TEST_F(PaintTest, AChapterWithoutItsPictureShowsAnEmptyOneOfTheSameSizeWhileItLoads) {
    auto source = std::make_shared<QuillmereTest::OverlaySource>(QuillmereTest::SampleFolderSource());
    source->Add(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "chapter.jpg", "not a picture");
    auto engine = std::make_shared<DRAV::CEngine>();
    engine->LoadModule(1, DRAV::CModuleVersionRange("Orvex", 5, 0), source);
    std::shared_ptr<DRAV::CActor> main = engine->NewGame();
    engine->BeginNewGame(main);
    engine->EnterArea();
    CDRAVAppTestAccess::SetEngine(m_app, engine);
    CDRAVAppTestAccess::SetAudio(m_app, std::make_shared<CountingAudio>());
    CDRAVAppTestAccess::StartPlaying(m_app);
    m_app.GetUIManager().SetDataFileFactory(QuillmereTest::SampleInterfaceSource());
    m_app.HandleMessage(CDRAVApp::kAppShowChapterPicture, 0, 0);
    EXPECT_TRUE(m_app.IsGameRunning()) << "the game goes on";
    ASSERT_EQ(m_app.GetUIManager().GetElements().size(), 1u);
    const RECT picture = *m_app.GetUIManager().GetElements().front()->GetRect();
    EXPECT_EQ(picture.right - picture.left, 730);
    EXPECT_EQ(picture.bottom - picture.top, 366);
    EXPECT_TRUE(CDRAVAppTestAccess::IsScreenRebuildPending(m_app)) << "the graphics load next";
}

TEST_F(PaintTest, MinimumTrackingSizeAndAltKeysStayWithTheGame) {
    MINMAXINFO limits{};
    m_app.HandleMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 1024);
    EXPECT_EQ(limits.ptMinTrackSize.y, 768);
    // Alt+F4 is not turned into a close.
    m_queue.Drain(m_window);
    m_app.HandleMessage(WM_SYSKEYDOWN, 0x73, 0);
    EXPECT_TRUE(IsWindow(m_window));
    EXPECT_FALSE(Contains(m_queue.Drain(m_window), WM_CLOSE));
}

TEST_F(PaintTest, KeysRepaintUnlessTheGameRunsUndisturbed) {
    m_queue.Drain(m_window);
    m_app.HandleMessage(WM_KEYUP, 'A', 0);
    EXPECT_TRUE(Contains(m_queue.Drain(m_window), WM_PAINT));

    QuillmereTest::SampleGame game;
    CDRAVAppTestAccess::SetEngine(m_app, game.EnginePtr());
    CDRAVAppTestAccess::SetAudio(m_app, std::make_shared<CountingAudio>());
    CDRAVAppTestAccess::StartPlaying(m_app);
    m_app.HandleMessage(WM_SYSKEYUP, 'A', 0);
    EXPECT_FALSE(Contains(m_queue.Drain(m_window), WM_PAINT)) << "the clock repaints a running game";
    m_app.TogglePause(true);
    m_app.HandleMessage(WM_SYSKEYDOWN, 'A', 0);
    EXPECT_TRUE(Contains(m_queue.Drain(m_window), WM_PAINT));
}

TEST(UIScale, FollowsTheDpiAndTheViewportButNeverBelowOneHundred) {
    struct Case {
        UINT dpi;
        RECT viewport;
        std::uint32_t scale;
    };
    const Case cases[] = {
        {96, {0, 0, 1024, 768}, 100},   {144, {0, 0, 1920, 1080}, 150}, {144, {0, 0, 1280, 720}, 100},
        {192, {0, 0, 2560, 1600}, 200}, {192, {0, 0, 1600, 1200}, 150}, {100, {0, 0, 1024, 768}, 100},
        {30, {0, 0, 1024, 768}, 100},   {0, {0, 0, 1024, 768}, 100},    {96, {0, 0, 300, 200}, 100},
        {288, {0, 0, 2880, 1000}, 150},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComputeUIScalePercent(c.dpi, c.viewport), c.scale) << c.dpi << " " << c.viewport.right;
}

}  // namespace
