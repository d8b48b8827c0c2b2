// One timer message of the running game that runs the full eleven ticks, on the
// sample chapter's start area with the HUD built, headless (SDL's dummy video
// driver and the recording device). The party walks to and fro on a calm landing;
// every message must run exactly eleven ticks and open no dialog, or the
// benchmark fails.
//   SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy build/bench/app_bench

#include <SDL_image.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench_quick.h"
#include "millis_report.h"
#include "common/sdl_init.h"
#include "dialog_test_support.h"
#include "engine/engine.h"
#include "game/dialogs/dialog.h"
#include "platform/win32/win32_time.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/order.h"

namespace {

using Clock = std::chrono::steady_clock;

using BenchSupport::ThreadMillis;

void TimerMessage(benchmark::State& state) {
    // As the program does: SDL, then the font and image libraries.
    DRAVSDL::InitSDL sdl;
    TTF_Init();
    IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
    DWORD now = 100000;
    Win32::SetClockSource([&now] { return now; });
    QuillmereTest::ShellOnSample shell;
    CDRAVApp& app = shell.app;
    // Started as the creation pages start it, the introduction and the tutorial's
    // welcome then closed.
    shell.StartWrensGame();
    if (!shell.PastTheWelcome([&] {
            now += 16;
            app.HandleMessage(WM_TIMER, CDRAVAppTestAccess::TimerId(app), 0);
        })) {
        state.SkipWithError("no welcome page after the introduction");
        return;
    }
    if (app.GetCurrentDialog()) {
        state.SkipWithError(("the dialog \"" + app.GetCurrentDialog()->GetTitle() + "\" is open before play").c_str());
        return;
    }
    DRAV::CGame& game = *app.GetEngine()->GetGame();
    DRAV::CArea& area = *game.GetCurrentArea();
    // Only the party walks: nobody else acts, and no ambush waits in the lane's reeds.
    for (const auto& actor : DRAV::ActorList(area.GetActors()))
        if (actor->GetRelation() != DRAV::RELATION_PARTY) area.RemoveActor(*actor);
    for (const auto& object : DRAV::ObjectList(area.GetObjects()))
        if (object->GetTemplate().GetKey() == "lane_reeds") area.RemoveObject(*object);
    DRAV::CActor& main = *game.GetParty().front();
    if (app.GetUIManager().GetElements().empty()) state.SkipWithError("no HUD");

    std::vector<double> ms;
    std::vector<double> cpu;
    int step = 0;
    for (auto _ : state) {
        if (!main.GetCurrentOrder())
            main.PushOrder(std::make_shared<DRAV::CMoveOrder>(++step % 2 ? 18.75 : 11.25, 21.25), true);
        const std::uint32_t before = game.GetTick();
        now += 250;  // well over eleven ticks' worth
        const auto start = Clock::now();
        const double cpuStart = ThreadMillis();
        app.HandleMessage(WM_TIMER, CDRAVAppTestAccess::TimerId(app), 0);
        cpu.push_back(ThreadMillis() - cpuStart);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (game.GetTick() - before != CDRAVApp::kMostTicksPerTimer) {
            state.SkipWithError(
                ("a timer message ran " + std::to_string(game.GetTick() - before) + " ticks, not eleven").c_str());
            break;
        }
        if (app.GetCurrentDialog()) {
            state.SkipWithError(
                ("a timer message opened the dialog \"" + app.GetCurrentDialog()->GetTitle() + "\"").c_str());
            break;
        }
    }
    // A walk of 7.5 units takes about six messages: 2,000 messages cross the landing
    // many times, a quick run at least twice.
    const std::int64_t walks = std::max<std::int64_t>(2, static_cast<std::int64_t>(state.iterations()) / 200);
    if (step < walks)
        state.SkipWithError(("the party did not walk to and fro: " + std::to_string(step) + " walks, at " +
                             std::to_string(main.GetX()) + ", " + std::to_string(main.GetY()))
                                .c_str());
    BenchSupport::ReportMillis(state, "", ms);
    BenchSupport::ReportMillis(state, "cpu_", cpu);
    if (app.IsGameRunning()) app.EndGame();
    Win32::SetClockSource(nullptr);
    IMG_Quit();
    TTF_Quit();
}
BENCHMARK(TimerMessage)
    ->Iterations(2000)
    ->Unit(benchmark::kMillisecond)
    ->Apply(BenchSupport::QuickIterations<40>);

}  // namespace

BENCHMARK_MAIN();
