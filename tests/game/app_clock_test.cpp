#include <gtest/gtest.h>

#include <vector>

#include "app_test_access.h"
#include "platform/win32/platform_observer.h"
#include "platform/win32/win32_time.h"
#include "script/script_test_support.h"
#include "support/sample_game.h"
#include "world/actor.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/order.h"

namespace {

// Records message boxes instead of showing them.
class BoxRecorder : public Win32::CPlatformObserver {
public:
    std::optional<int> OnMessageBox(const std::string& text, const std::string& caption, UINT) override {
        boxes.push_back({caption, text});
        return IDOK;
    }
    std::vector<std::pair<std::string, std::string>> boxes;
};

// A game of the sample played by an application object of its own, on a clock
// that moves only when the test says so.
class GameClockTest : public ::testing::Test {
protected:
    GameClockTest() {
        Win32::SetClockSource([this] { return m_now; });
        CDRAVAppTestAccess::SetEngine(m_app, m_game.EnginePtr());
        CDRAVAppTestAccess::SetAudio(m_app, m_audio);
        CDRAVAppTestAccess::StartPlaying(m_app);
        m_app.ResumeClock();
    }
    ~GameClockTest() override {
        Win32::SetClockSource(nullptr);
        Win32::SetPlatformObserver(nullptr);
        if (m_app.IsGameRunning() && !m_app.IsPaused() && m_app.GetSuspendCount() == 0) m_app.SuspendClock();
    }

    std::uint32_t Ticks() const { return m_game.Game().GetTick(); }
    // Moves the clock on and delivers one timer message, as the queue would.
    void TimerAfter(DWORD ms) {
        m_now += ms;
        m_app.HandleMessage(WM_TIMER, CDRAVAppTestAccess::TimerId(m_app), 0);
    }
    // Timer messages every 16 ms for `ms` milliseconds, as a running timer delivers them.
    void TimersFor(DWORD ms) {
        for (; ms > 16; ms -= 16) TimerAfter(16);
        TimerAfter(ms);
    }
    bool TimerSet() const { return Win32::NextTimerDue().has_value(); }

    DWORD m_now = 500000;
    QuillmereTest::SampleGame m_game;
    std::shared_ptr<CountingAudio> m_audio = std::make_shared<CountingAudio>();
    CDRAVApp m_app;
};

TEST_F(GameClockTest, RunsSixtyTicksARealSecondInTimerSteps) {
    std::uint32_t start = Ticks();
    TimersFor(1000);
    EXPECT_EQ(Ticks() - start, 60u);
    m_now += 4294966u * 1000u;  // 49.7 days of play kept up with, in one step
    m_game.Game().SetTick(start = Ticks() + 4294966u * 60u);
    TimersFor(2000);
    EXPECT_EQ(Ticks() - start, 120u) << "the milliseconds since the clock was based came round";
}

TEST_F(GameClockTest, AStallRunsElevenTicksAndDropsTheRest) {
    std::uint32_t start = Ticks();
    TimerAfter(5000);
    EXPECT_EQ(Ticks() - start, 11u);
    // The clock was rebased: the next half second is thirty ticks, not the backlog.
    TimersFor(500);
    EXPECT_EQ(Ticks() - start, 41u);
    // At the counter's end the clock runs what it can and holds there, never round to 0.
    m_game.Game().SetTick(UINT32_MAX - 100);
    m_app.SuspendClock();
    m_app.ResumeClock();
    TimerAfter(5000);
    EXPECT_EQ(Ticks(), UINT32_MAX - 89);
    for (int i = 0; i < 20; ++i) TimerAfter(5000);
    EXPECT_EQ(Ticks(), UINT32_MAX);
}

TEST_F(GameClockTest, FastMoveRunsOneHundredTwentyTicksASecondAndStopsInBattle) {
    // Open ground with nobody about: the party is not in battle.
    m_game.EnterOpenArea(20, 20);
    m_app.ToggleFastMove(false);
    EXPECT_TRUE(m_audio->played.empty()) << "no click without being asked";
    std::uint32_t start = Ticks();
    TimersFor(1000);
    EXPECT_EQ(Ticks() - start, 120u);

    // A goblin beside the party means battle, which ends the hurry.
    ASSERT_TRUE(m_game.Spawn("reed_goblin", 3, 1));
    TimersFor(200);
    EXPECT_TRUE(m_game.Game().IsInBattle());
    EXPECT_FALSE(m_app.IsFastMove());
    m_app.ToggleFastMove(true);
    EXPECT_EQ(m_audio->played, std::vector<int>{0});
}

TEST_F(GameClockTest, NestedSuspendsNeedAsManyResumesAndSuspendedTimeIsNotMadeUp) {
    ASSERT_TRUE(TimerSet());
    m_app.SuspendClock();
    m_app.SuspendClock();
    EXPECT_FALSE(TimerSet());
    EXPECT_FALSE(m_audio->footsteps);
    m_now += 3000;
    m_app.ResumeClock();
    EXPECT_FALSE(TimerSet());
    m_app.ResumeClock();
    EXPECT_TRUE(TimerSet());

    std::uint32_t start = Ticks();
    TimerAfter(100);
    EXPECT_EQ(Ticks() - start, 6u);
}

TEST_F(GameClockTest, PauseHoldsTheClockAndTheTimerMessageOfAnotherIdIsIgnored) {
    m_app.TogglePause(false);
    EXPECT_TRUE(m_app.IsPaused());
    EXPECT_FALSE(TimerSet());
    EXPECT_EQ(m_audio->played, std::vector<int>{0});
    m_now += 2000;
    m_app.TogglePause(true);
    EXPECT_EQ(m_audio->played.size(), 1u);
    std::uint32_t start = Ticks();
    m_now += 100;
    m_app.HandleMessage(WM_TIMER, CDRAVAppTestAccess::TimerId(m_app) + 1, 0);
    EXPECT_EQ(Ticks(), start);
    TimerAfter(0);
    EXPECT_EQ(Ticks() - start, 6u);
}

TEST_F(GameClockTest, AFailingScriptPausesTheGameWithAScriptErrorAndPlayGoesOn) {
    BoxRecorder boxes;
    Win32::SetPlatformObserver(&boxes);
    // Whichever heartbeat comes first, the party's or the neighbour's, fails.
    m_game.EnterOpenArea(20, 20);
    auto neighbour = m_game.Spawn("ferryman", 3, 1);
    ASSERT_TRUE(neighbour);
    neighbour->SetHeartbeat(QuillmereTest::LuaBody("error('the ferry sank')"));
    m_game.Main()->SetHeartbeat(QuillmereTest::LuaBody("error('the oar broke')"));
    for (int i = 0; i < 2000 && !m_app.IsPaused(); ++i) TimerAfter(16);
    ASSERT_TRUE(m_app.IsPaused());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].first, "Script Error");
    // The box says what broke, where.
    EXPECT_EQ(boxes.boxes[0].second.rfind("You may continue to play, however things may be broken\n\ntest.drav: lua:2: the ",
                                          0),
              0u)
        << boxes.boxes[0].second;
    EXPECT_FALSE(TimerSet()) << "the paused game's clock is held";
    EXPECT_TRUE(m_app.IsGameRunning());
    m_app.TogglePause(true);
    EXPECT_TRUE(TimerSet());
    // So does a step that wants a thing the game has no serial left for, which is given up.
    const auto pies =
        m_game.Engine().GetModule()->CreateItem("eel_pie", 3, m_game.Game().NewThingId(DRAV::THING_ITEM), 0);
    m_game.Main()->AddToBackpack(pies, false);
    m_game.Game().SetThingSerialCounter(DRAV::kMaxThingSerial + 1);
    m_game.Main()->PushInstantOrder(std::make_shared<DRAV::CSplitOrder>(pies->GetId(), 1));
    TimerAfter(100);
    EXPECT_TRUE(m_app.IsPaused());
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].first, "Game Error");
    EXPECT_EQ(boxes.boxes[1].second.rfind("The game has numbered all the things it can: save the game and load it", 0),
              0u);
    EXPECT_EQ(pies->GetCount(), 3);
    EXPECT_TRUE(m_app.IsGameRunning());
}

TEST_F(GameClockTest, ChapterWonWithoutClosingTextRunsNoTick) {
    m_game.Game().SetStateCode(7);
    m_game.Game().SetClosingText("");
    std::uint32_t start = Ticks();
    TimerAfter(1000);
    EXPECT_EQ(Ticks(), start);
}

TEST_F(GameClockTest, AWheelOutsideTheWindowIsDroppedAndAHandlerErrorIsShownAsGameError) {
    BoxRecorder boxes;
    Win32::SetPlatformObserver(&boxes);
    // Without a window the wheel point cannot be converted: nothing happens.
    EXPECT_EQ(m_app.HandleMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), MAKELPARAM(10, 10)), 0);
    EXPECT_TRUE(boxes.boxes.empty());
    std::uint32_t start = Ticks();
    TimerAfter(100);
    EXPECT_EQ(Ticks() - start, 6u);
    // An engine event the shell does not know stops at the window procedure.
    m_app.QueueEvent(std::make_shared<DRAV::CInfoEvent>(99));
    TimerAfter(16);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].first, "Game Error");
    EXPECT_FALSE(m_app.IsGameRunning());
}

}  // namespace
