#include <algorithm>

#include "common/exception.h"
#include "common/processor_clock.h"
#include "engine/engine.h"
#include "game/app.h"
#include "ui/ui_clock_button.h"
#include "platform/win32/win32_time.h"
#include "world/game.h"

namespace {

// Real seconds are worth two game seconds, four in fast-move; a game second is 30 ticks.
constexpr std::uint32_t kTicksPerGameSecond = 30;
constexpr std::uint32_t kNormalTicksPerSecond = 2 * kTicksPerGameSecond;
constexpr std::uint32_t kFastTicksPerSecond = 4 * kTicksPerGameSecond;
constexpr std::uint32_t kMillisecondsPerSecond = 1000;

}  // namespace

std::uint32_t CDRAVApp::GameTick() const { return m_engine->GetGame()->GetTick(); }

void CDRAVApp::RebaseClock() {
    m_clockStart = timeGetTime();
    m_clockBase = GameTick();
}

namespace {

// A system call dear beside a cheap one: a reading at most a millisecond old does,
// which makes the share off by no more than that.
std::chrono::nanoseconds TimerClock() { return DRAVCommon::RecentThreadProcessorTime(std::chrono::milliseconds(1)); }

// Even that costs a reading of the wall clock, dear beside a tick of a calm area:
// between the ticks of a message the clock is read after every few only, and the
// thread's latest reading does in between, which running scripts keep fresh (their
// limits read it after every native call and every few hundred instructions). A
// slow script is seen after its tick; the engine's own work, a few ticks later.
constexpr std::uint32_t kTicksBetweenReadings = 4;

}  // namespace

bool CDRAVApp::HasTimerWorkedItsShare(bool readClock) const {
    if (!m_tickGuard) return false;
    const std::chrono::nanoseconds now = readClock ? TimerClock() : DRAVCommon::LatestThreadProcessorTime();
    return now - m_timerStarted >= kMostWorkPerTimer;
}

void CDRAVApp::OnTimer() {
    if (m_splashMode) {
        if (!m_gameRunning || m_currentDialog || m_paused) InvalidateRect(m_window, nullptr, FALSE);
        return;
    }
    if (m_tickGuard || !m_gameRunning || !m_engine->GetGame()) return;
    m_tickGuard = true;
    m_timerStarted = TimerClock();
    bool changeArea = !Tick();
    if (!changeArea && !m_pendingEvents.empty()) {
        SuspendClock();
        changeArea = !ProcessPendingEvents() && !m_currentDialog;
        ResumeClock();
    }
    // A message that has worked its share leaves the journey to the next, which
    // does nothing before it; the window is drawn between.
    if (changeArea && !HasTimerWorkedItsShare()) CheckPartyAndChangeArea();
    m_tickGuard = false;
}

bool CDRAVApp::Tick() {
    DRAV::CGame& game = *m_engine->GetGame();
    if (game.GetStateCode() == 7) {
        if (!game.GetClosingText().empty()) OnChapterComplete(false);
        return true;
    }
    // Raised where no tick follows, as by an entry script: acted on before a tick drops it.
    if (game.GetStateCode() == DRAV::GAME_WIPED_OUT || game.GetStateCode() == DRAV::GAME_TRAVEL) return false;
    const std::uint32_t perSecond = m_fastMove ? kFastTicksPerSecond : kNormalTicksPerSecond;
    FoldClockSecondsRun(perSecond);
    const std::uint64_t elapsed = static_cast<std::uint32_t>(timeGetTime() - m_clockStart);
    // Summed wide and held at the counter's end: a sum that came round below the tick
    // would hold the world still for good.
    const auto target = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(elapsed * perSecond / kMillisecondsPerSecond + m_clockBase, UINT32_MAX));
    std::uint32_t steps = 0;
    for (;;) {
        // An event waiting for the player holds the world still until its dialog is up.
        if (target <= game.GetTick() || !m_pendingEvents.empty()) break;
        try {
            m_engine->RunTick();
        } catch (const DRAV::CThingSerialsSpent& failure) {
            // Something the game could no longer number is not made, and the step
            // that wanted it is given up: the game pauses, and a save and its load
            // number the things anew.
            TogglePause(true);
            ShowError("The game has numbered all the things it can: save the game and load it to go on.\n\n" +
                          failure.GetMessage(),
                      "Game Error");
            break;
        } catch (const CDRAVException& failure) {
            if (failure.GetCode() != DRAV_ERR_SCRIPT) throw;
            // A broken script pauses the game and play may go on.
            TogglePause(true);
            ShowScriptError(failure);
            break;
        }
        m_graphicsManager.AdvanceEffects(m_deviceWrapper.get(), game);
        PumpEngineEvents();
        ++steps;
        // Every tick starts from state 0: a state that waits for the shell is acted
        // on now or never.
        const std::int32_t raised = game.GetStateCode();
        if (raised != DRAV::GAME_PLAYING && raised != DRAV::GAME_EXIT_AVAILABLE) break;
        if (steps >= kMostTicksPerTimer || HasTimerWorkedItsShare(steps % kTicksBetweenReadings == 0)) {
            // Time the game could not catch up with is dropped, not run later: the
            // game runs slower rather than hold the window while scripts work.
            RebaseClock();
            break;
        }
        if (m_fastMove && game.IsInBattle()) {
            AppendMessage("Fastmove cancelled, party is in combat.");
            ToggleFastMove(false);
            break;
        }
    }
    if (steps == 0) return true;
    InvalidateRect(m_window, nullptr, FALSE);
    OnMouseMove(m_mousePoint);
    const std::int32_t state = game.GetStateCode();
    if (state == 0 || state == 1) {
        UpdateAmbientSound();
    } else {
        m_audio->SetFootsteps(false);
        m_audio->StopAmbientFx();
    }
    switch (state) {
        case 0:
            RefreshExitButtons(false);
            return true;
        case 1:
            RefreshExitButtons(true);
            return true;
        case 2:
        case 3:
            return false;
        case 7:
            OnChapterComplete(false);
            return true;
        default:
            throw CDRAVException(DRAV_ERR_UNEXPECTED, "game state " + std::to_string(state));
    }
}

// The milliseconds since the clock was based are counted in 32 bits, which come
// round after 49.7 days: the whole seconds the world has already run move into the
// base, so the count stays short however long the game runs unpaused. Whole
// seconds are whole ticks at either pace, so no tick is gained or lost.
void CDRAVApp::FoldClockSecondsRun(std::uint32_t perSecond) {
    const std::uint32_t tick = GameTick();
    if (tick < m_clockBase) return;
    const std::uint32_t elapsed = timeGetTime() - m_clockStart;
    const std::uint32_t seconds = std::min(elapsed / kMillisecondsPerSecond, (tick - m_clockBase) / perSecond);
    m_clockStart += seconds * kMillisecondsPerSecond;
    m_clockBase += seconds * perSecond;
}

void CDRAVApp::SuspendClock() {
    m_audio->SetFootsteps(false);
    m_audio->StopAmbientFx();
    if (m_gameRunning && !m_paused && m_suspendCount == 0) KillTimer(m_window, m_timerId);
    ++m_suspendCount;
}

void CDRAVApp::ResumeClock() {
    --m_suspendCount;
    if (m_gameRunning && !m_paused && m_suspendCount == 0) {
        m_clockStart = timeGetTime();
        m_timerId = SetTimer(m_window, kTimerId, kTimerPeriod, nullptr);
        m_clockBase = GameTick();
    }
}

void CDRAVApp::TogglePause(bool silent) {
    if (!m_gameRunning) return;
    if (!m_paused) {
        SuspendClock();
        m_paused = true;
    } else {
        m_paused = false;
        ResumeClock();
    }
    UpdatePauseButton();
    if (!silent) m_audio->PlaySound(0);
}

void CDRAVApp::ToggleFastMove(bool click) {
    m_fastMove = !m_fastMove;
    if (m_gameRunning && !m_paused) RebaseClock();
    UpdatePauseButton();
    if (click) m_audio->PlaySound(0);
}

void CDRAVApp::UpdatePauseButton() {
    if (m_pauseButton) m_pauseButton->SetState(m_paused, m_fastMove);
    RequestRepaint();
}

bool CDRAVApp::IsExitAvailable() const {
    if (!m_gameRunning) return false;
    std::int32_t state = m_engine->GetGame()->GetStateCode();
    return state == 1 || state == 2 || state == 3;
}
