// The game screen's interface frame (hover window, clock, action bar, mini-map,
// portrait) on the sample chapter's start area, and the mini-map picture of a
// 100 x 100 area rebuilt as every frame does, on the OpenGL device. Needs a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/ui_bench

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "bench_quick.h"
#include "common/sdl_init.h"
#include "graphics_demo/gl_window.h"
#include "support/sample_game.h"
#include "support/sample_module.h"
#include "ui/game_screen.h"
#include "ui/ui_draw_help.h"
#include "ui/ui_mini_map.h"
#include "world/area.h"

namespace {

using Clock = std::chrono::steady_clock;

// Median, 99th percentile and slowest of the timed frames, in milliseconds.
void ReportFrameTimes(benchmark::State& state, std::vector<double> ms) {
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    state.counters["slowest_ms"] = ms.back();
}

void BM_GameScreenFrame(benchmark::State& state) {
    DRAVSDL::InitSDL sdl;
    QuillmereDemo::GLWindow window(1024, 768);
    DRAVCommon::CXPDevice device(window.Device());
    device.SetDefaultRenderStates(true);
    const QuillmereTest::SampleGame game;
    game.Spawn("reed_smuggler", 8, 6);
    QuillmereTest::SampleQuickActions actions(game);
    DRAVUI::CUIManager manager;
    manager.SetDataFileFactory(QuillmereTest::SampleInterfaceSource());
    const auto screen = QuillmereTest::BuildGameScreen(manager, game, actions, 1024, 768);
    manager.Realize(&device, 100);
    DRAVUI::ElementInfo hovered;
    DRAVUI::ElementInfo::DescribeThing(hovered, game.Main().get(), nullptr);
    screen.hover->ShowInfo(hovered);
    const POINT mouse{1024 - 40, 768 - 64 - 480 + 20};

    IDirect3DDevice9* d3d = window.Device();
    auto frame = [&] {
        device.SetDefaultRenderStates(false);
        d3d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        d3d->BeginScene();
        manager.Draw(&device, &mouse);
        d3d->EndScene();
        d3d->Present(nullptr, nullptr, nullptr, nullptr);
    };
    // One frame recorded first: the texts are rendered once, and the draw calls counted.
    window.Device()->SetRecording(true);
    frame();
    const auto drawCalls = window.Device()->Draws().size();
    window.Device()->SetRecording(false);
    window.Device()->ClearRecord();
    // The scenario is the whole screen: every widget and the filled bar.
    if (manager.GetElements().size() < 5 || !screen.bar->IsFilled() || drawCalls == 0) {
        state.SkipWithError("the game screen was not built");
        return;
    }

    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        frame();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["draw_calls"] = static_cast<double>(drawCalls);
    ReportFrameTimes(state, std::move(times));
}
BENCHMARK(BM_GameScreenFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(BenchSupport::QuickIterations<>);

void BM_MiniMapPicture100(benchmark::State& state) {
    DRAVSDL::InitSDL sdl;
    QuillmereDemo::GLWindow window(320, 240);
    DRAVCommon::CXPDevice device(window.Device());
    device.SetDefaultRenderStates(true);
    const QuillmereTest::SampleGame game;
    DRAV::CArea& open = game.EnterOpenArea(100, 100);
    for (std::uint32_t row = 0; row < 100; ++row)
        for (std::uint32_t column = 0; column < 100; ++column) open.GetExploredCells().Set(column, row, true);
    auto source = QuillmereTest::SampleInterfaceSource();
    auto config = std::make_shared<DRAVUI::CUIConfig>();
    DRAVUI::CUIDrawHelp help(source.get(), 100, config);
    DRAVUI::CUIMiniMap map(3, game.Game().GetAreas().at("open"), config);
    map.SetRect(RECT{0, 0, 202, 202});  // 100 x 100 cells
    map.SetFlag(DRAVUI::UIF_BACKGROUND, true);
    map.Realize(&device, help);
    map.m_centreX = 125.0f;
    map.m_centreY = 125.0f;
    {
        DRAVUI::CUISprite check(&device, 100, nullptr);
        map.Draw(&device, help, check, nullptr);
        const auto& textured = check.GetTexturedCommands();
        if (textured.empty() || textured.front().texture->GetImageWidth() != 100 ||
            textured.front().texture->GetImageHeight() != 100) {
            state.SkipWithError("the mini-map did not make a 100 x 100 picture");
            return;
        }
    }
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        DRAVUI::CUISprite sprite(&device, 100, nullptr);
        map.Draw(&device, help, sprite, nullptr);
        benchmark::DoNotOptimize(sprite.GetTexturedCommands().data());
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    ReportFrameTimes(state, std::move(times));
}
BENCHMARK(BM_MiniMapPicture100)->Unit(benchmark::kMicrosecond)->UseRealTime()->Apply(BenchSupport::QuickIterations<>);

}  // namespace

BENCHMARK_MAIN();
