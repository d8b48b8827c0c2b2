// One interface frame of 500 queued rectangles (plain, textured and text) drawn
// through the 2D queue on the OpenGL device. Needs a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/graphics_bench

#include <benchmark/benchmark.h>

#include <memory>

#include "bench_quick.h"
#include "common/data_file_memory.h"
#include "common/sdl_init.h"
#include "graphics_demo/demo_frame.h"
#include "graphics_demo/gl_window.h"

namespace {

constexpr int kRectangles = 500;

void DrawFrame(DRAVCommon::CXPDevice& device, QuillmereDemo::CDemoFrame& demo,
               const std::shared_ptr<DRAVCommon::CXPTexture>& white) {
    IDirect3DDevice9* d3d = device.GetDevice();
    device.SetDefaultRenderStates(false);
    d3d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    d3d->BeginScene();
    DRAVUI::CUISprite sprite(&device, 100, white);
    sprite.Begin();
    demo.QueueMany(sprite, kRectangles);
    sprite.Flush();
    d3d->EndScene();
    d3d->Present(nullptr, nullptr, nullptr, nullptr);
}

void BM_InterfaceFrame500(benchmark::State& state) {
    DRAVSDL::InitSDL sdl;
    DRAVCommon::CDataFileFactoryMemory source;
    source.Add(DRAVCommon::DFK_UI, DRAVCommon::DFS_NONE, "OpenSans-Regular.ttf",
               DRAVCommon::ReadWholeFile(QUILLMERE_UI_FONT));
    QuillmereDemo::GLWindow window(1024, 768);
    DRAVCommon::CXPDevice device(window.Device());
    device.SetDefaultRenderStates(true);
    auto white = DRAVCommon::CreateColourTexture(&device, 0xFFFFFF, 1.0);
    QuillmereDemo::CDemoFrame demo(&device, source, 100);

    // One frame recorded first: the texts are rendered once, and the draw calls counted.
    window.Device()->SetRecording(true);
    DrawFrame(device, demo, white);
    const auto drawCalls = window.Device()->Draws().size();
    window.Device()->SetRecording(false);
    window.Device()->ClearRecord();

    for (auto _ : state) DrawFrame(device, demo, white);
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["draw_calls"] = static_cast<double>(drawCalls);
}
BENCHMARK(BM_InterfaceFrame500)->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(BenchSupport::QuickIterations<>);

}  // namespace

BENCHMARK_MAIN();
