#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "common/processor_clock.h"
#include "driver.h"
#include "game/app.h"
#include "game/dialogs/dialog.h"
#include "graphics/xp_device.h"
#include "platform/d3d9/device_base.h"
#include "platform/win32/shell.h"
#include "ui/ui_button.h"
#include "ui/ui_event.h"

namespace {

using namespace QuillmereE2E;
namespace fs = std::filesystem;

std::string Flag(bool value) { return value ? "yes" : "no"; }

TEST(Startup, TheSplashShowsUntilAKeyEndsIt) {
    Driver driver;
    Observed run = driver.Execute({
        Wait(1000),
        Screenshot("splash"),
        Check("splash before", [] { return Flag(GetApp().IsSplashMode()); }),
        Check("music", [] {
            auto* audio = dynamic_cast<CDRAVAudio2*>(GetApp().GetAudio().get());
            return Flag(audio && audio->GetAmbientStream() && audio->GetAmbientStream()->isPlaying());
        }),
        Key(SDL_SCANCODE_SPACE),
        Wait(50),
        Check("splash after", [] { return Flag(GetApp().IsSplashMode()); }),
        Check("music after", [] {
            auto* audio = dynamic_cast<CDRAVAudio2*>(GetApp().GetAudio().get());
            return Flag(audio && audio->GetAmbientStream());
        }),
    });
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    ASSERT_FALSE(run.titles.empty());
    EXPECT_EQ(run.titles.front(), "Quillmere - Welcome");

    const Shot& splash = run.shots["splash"];
    ASSERT_FALSE(splash.path.empty()) << run.log;
    EXPECT_GT(splash.lit, 0.9) << "the picture fills the window";
    fs::create_directories(QUILLMERE_E2E_SCREEN_DIR);
    fs::copy_file(splash.path, std::string(QUILLMERE_E2E_SCREEN_DIR) + "/splash.png",
                  fs::copy_options::overwrite_existing);

    EXPECT_EQ(run.checks["splash before"], "yes");
    EXPECT_EQ(run.checks["music"], "yes");
    EXPECT_EQ(run.checks["splash after"], "no");
    EXPECT_EQ(run.checks["music after"], "no");
}

// The time limit is of the work the program does: a run the machine holds up past
// it goes on, one that works past it is ended.
TEST(Startup, ARunIsEndedForTheTimeItWorksNotTheTimeItWaits) {
    Driver driver;
    driver.SetHeadless(true);
    driver.SetTimeLimit(4);
    for (const bool works : {false, true}) {
        // Five seconds asleep, or thirty of the thread's own at work: thirty of the
        // clock could be under four of work on a machine busy enough.
        const Observed run = driver.Execute({Check("done", [works] {
            if (!works) std::this_thread::sleep_for(std::chrono::seconds(5));
            const auto until = DRAVCommon::ThreadProcessorTime() + std::chrono::seconds(30);
            while (works && DRAVCommon::ThreadProcessorTime() < until) {
            }
            return "yes";
        })});
        EXPECT_EQ(run.exited, !works) << run.log;
        EXPECT_EQ(run.checks.count("done"), works ? 0u : 1u);
        EXPECT_EQ(run.log.find("it worked more than 4 seconds") != std::string::npos, works) << run.log;
    }
}

TEST(Startup, AClickOnTheSplashEndsItAndClosingEndsTheProgramCleanly) {
    Driver driver;
    Observed run = driver.Execute({
        Wait(200),
        Move(500, 400),
        Click(500, 400),
        Wait(50),
        Check("splash", [] { return Flag(GetApp().IsSplashMode()); }),
        Close(),
    });
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.checks["splash"], "no");
    EXPECT_TRUE(run.boxes.empty());
}

// A button that counts the presses it takes.
class CountingButton : public DRAVUI::CUITextButton {
public:
    using DRAVUI::CUITextButton::CUITextButton;
    int OnMouse(int kind, const POINT* point) override {
        int answer = DRAVUI::CUITextButton::OnMouse(kind, point);
        if (answer == DRAVUI::ANSWER_CLICK) ++clicks;
        return answer;
    }
    static inline int clicks = 0;
};

TEST(Startup, AClickThatAWidgetTakesDoesNotEndTheSplash) {
    Driver driver;
    Observed run = driver.Execute({
        Wait(100),
        Check("button", [] {
            DRAVUI::CUIManager& ui = GetApp().GetUIManager();
            auto button = std::make_shared<CountingButton>(7, "Hold", ui.GetConfig());
            button->SetRect(RECT{400, 300, 560, 340});
            ui.AddElement(button);
            ui.Realize(GetApp().GetDevice(), 100);
            return "added";
        }),
        ClickId(7),
        Wait(50),
        Check("splash", [] { return Flag(GetApp().IsSplashMode()); }),
        // The shell delivered the click (to the screen's buttons, with no dialog).
        Check("event", [] {
            std::shared_ptr<DRAVUI::CUIEvent> event;
            const bool left = GetApp().GetUIManager().PopEvent(event);
            return std::to_string(CountingButton::clicks) + (left ? " left" : " delivered");
        }),
        Click(100, 100),
        Wait(50),
        Check("splash after", [] { return Flag(GetApp().IsSplashMode()); }),
    });
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["splash"], "yes");
    EXPECT_EQ(run.checks["event"], "1 delivered") << "the button under the found point took the click";
    EXPECT_EQ(run.checks["splash after"], "no");
}

TEST(Startup, WithoutADisplayTheSplashIsDrawnOnTheRecordingDevice) {
    Driver driver;
    driver.SetHeadless(true);
    Observed run = driver.Execute({Wait(500), Key(SDL_SCANCODE_ESCAPE), Wait(50)});
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.boxes.empty());
    // About a frame for each 16-ms timer of the half second, with the picture and the emblem.
    EXPECT_GE(run.recordedFrames, 25);
    EXPECT_GE(run.mostFrameDraws, 2);
}

TEST(Startup, ADeviceLostDuringTheSplashIsResetAndTheSplashDrawnAgain) {
    auto device = [] { return static_cast<D3D9Layer::CDeviceBase*>(GetApp().GetDevice()->GetDevice()); };
    Driver driver;
    driver.SetHeadless(true);
    Observed run = driver.Execute({
        Wait(200),
        Check("lose", [&] {
            device()->FailCall("Present", D3DERR_DEVICELOST);
            return "";
        }),
        Wait(20),
        Check("lost", [&] { return Flag(device()->IsLost()); }),
        Wait(300),
        Check("lost later", [&] { return Flag(device()->IsLost()); }),
        Wait(100),
    });
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(run.checks["lost"], "yes");
    EXPECT_EQ(run.checks["lost later"], "no") << "the next paint reset the device";
    std::size_t recovered = run.framesBeforeCheck["lost later"];
    ASSERT_LT(recovered, run.frameDraws.size());
    EXPECT_GE(*std::max_element(run.frameDraws.begin() + static_cast<long>(recovered), run.frameDraws.end()), 2)
        << "the splash scene was built again";
}

TEST(Startup, AStoredVolumeAboveOneHundredReadsAsOneHundred) {
    Driver driver;
    fs::create_directories(driver.Home() + "/.config/quillmere");
    std::ofstream(driver.Home() + "/.config/quillmere/registry.txt")
        << "HKEY_CURRENT_USER\\SOFTWARE\\Velmarsh\\Quillmere\\Volume = dword:250\n";
    Observed run = driver.Execute({
        Check("volume", [] { return std::to_string(GetApp().GetAudio()->GetVolume()); }),
    });
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["volume"], "100");
}

// The sample as the build assembles it loose, the interface archive beside the
// chapter folders, starts as the packed one does.
TEST(Startup, TheLooseSampleFolderStartsOnTheFrontPage) {
    Driver driver;
    driver.SetModuleFolder(QUILLMERE_E2E_SAMPLE_FOLDER);
    Observed run = driver.Execute({Wait(200), Key(SDL_SCANCODE_SPACE), Wait(200), Check("page", [] {
                                       const auto& dialog = GetApp().GetCurrentDialog();
                                       return dialog ? dialog->GetTitle() : std::string("(none)");
                                   })});
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    EXPECT_EQ(run.checks["page"], "Welcome");
    EXPECT_EQ(run.exitCode, 0);
}

// Every way a module folder can fail to be one ends start-up with the module
// message, in its box and on standard error, and a status that says it failed.
// Where a file is missing, the message names it.
TEST(Startup, AFolderThatHoldsNoModuleEndsStartUpWithAFailureStatus) {
    const std::vector<std::pair<std::string, std::function<std::string(const Driver&)>>> cases = {
        {"missing folder", [](const Driver& driver) { return driver.Home() + "/no_such_folder"; }},
        {"empty folder",
         [](const Driver& driver) {
             fs::create_directories(driver.Home() + "/empty");
             return driver.Home() + "/empty";
         }},
        {"regular file",
         [](const Driver& driver) {
             std::ofstream(driver.Home() + "/module.txt") << "not a module\n";
             return driver.Home() + "/module.txt";
         }},
        {"no interface archive",
         [](const Driver& driver) { return SampleWithout(driver, QUILLMERE_E2E_SAMPLE, {"uiwin32.drav"}); }},
        {"no chapter", [](const Driver& driver) { return SampleWithout(driver, QUILLMERE_E2E_SAMPLE, {"module1.drav"}); }},
    };
    for (const auto& [name, make] : cases) {
        Driver driver;
        const std::string folder = make(driver);
        driver.SetModuleFolder(folder);
        Observed run = driver.Execute({});
        EXPECT_TRUE(run.exited) << name << ": " << run.log;
        EXPECT_NE(run.exitCode, 0) << name;
        EXPECT_FALSE(run.loopEntered) << name;
        ASSERT_EQ(run.boxes.size(), 1u) << name;
        EXPECT_EQ(run.boxes[0].caption, "Game Error") << name;
        EXPECT_EQ(run.boxes[0].text.rfind("Failed to load module \"" + folder + "\"", 0), 0u) << run.boxes[0].text;
        EXPECT_NE(run.standardError.find(run.boxes[0].text), std::string::npos) << name << ": " << run.standardError;
        const std::string missing = name == "no chapter" ? "\"module1.drav\"" : "\"uiwin32.drav\"";
        EXPECT_NE(run.boxes[0].text.find(missing + " is missing"), std::string::npos) << run.boxes[0].text;
    }
}

TEST(Startup, WithoutTheSplashGraphicsTheLaunchErrorClosesTheWindow) {
    Driver driver;
    // The loose chapter tree without its title pictures and graphics.
    std::string folder = SampleWithout(driver, QUILLMERE_E2E_SAMPLE_FOLDER, {"icon"});
    driver.SetModuleFolder(folder);
    Observed run = driver.Execute({Wait(500)});
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "Launch Error");
    EXPECT_EQ(run.boxes[0].text.rfind("Failed to load graphics file.", 0), 0u);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.standardError.find(run.boxes[0].text), std::string::npos) << run.standardError;
}

}  // namespace
