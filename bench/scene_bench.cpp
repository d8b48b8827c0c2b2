// The start area of the sample chapter, as the scene viewer shows it.
//
// BM_DrawStartArea draws it at 1024 x 768 on the OpenGL device (Mesa under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/scene_bench)
// and reports frames per second, the median, 99th percentile and slowest frame, and
// the draw calls of one frame as the recording device counts them.
// BM_BuildAreaGraphicsCold builds an area's graphics with an empty cache (every tile
// graphic read, every model imported) on the recording device, for the start area and
// for a generated 100 x 100 area; BM_ImportAreaModelsInProcess imports the same
// models in this process, without the importing process, for comparison, and
// BM_ImportAreaModelsThroughImporter through it.

#include <benchmark/benchmark.h>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>

#include <algorithm>
#include <stdexcept>
#include <chrono>
#include <sstream>
#include <vector>

#include "bench_quick.h"
#include "common/data_file_path.h"
#include "common/data_file_reader.h"
#include "common/sdl_init.h"
#include "graphics/mesh_scene.h"
#include "graphics/model_import.h"
#include "graphics_demo/gl_window.h"
#include "platform/d3d9/recording_device.h"
#include "rules/module.h"
#include "scene_viewer/scene_view.h"
#include "world/area.h"
#include "world/game.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;
// The tile models of the start area (the net rack, the slipway doors, the boathouse
// door and shutters, the sluice gate); its other tiles are built, not imported.
const char* const kStartAreaModels[] = {"rack_nets.x", "doors_slip.x", "door_boathouse.x", "gate_sluice.x"};

// Every cell seen, so the whole area is drawn.
void SeeAll(QuillmereViewer::CSceneView& view) {
    view.SeeEverything();
    if (view.Engine().GetGame()->GetCurrentArea()->GetName() != "reedwater_landing")
        throw std::runtime_error("the view is not at the start area");
}

std::size_t DrawCallsOfOneFrame() {
    auto device = D3D9Layer::CRecordingDevice::Create(kWidth, kHeight);
    DRAVCommon::CXPDevice xp(device.get());
    QuillmereViewer::CSceneView view(QUILLMERE_SAMPLE_DIR, &xp, kWidth, kHeight);
    SeeAll(view);
    view.Draw();
    device->ClearRecord();
    view.Draw();
    return device->Draws().size();
}

void BM_DrawStartArea(benchmark::State& state) {
    const std::size_t drawCalls = DrawCallsOfOneFrame();
    DRAVSDL::InitSDL sdl;
    QuillmereDemo::GLWindow window(kWidth, kHeight);
    DRAVCommon::CXPDevice device(window.Device());
    QuillmereViewer::CSceneView view(QUILLMERE_SAMPLE_DIR, &device, kWidth, kHeight);
    SeeAll(view);
    view.Draw();
    // The frame must show the area, not an empty clear.
    const auto pixels = window.Device()->ReadBackBuffer();
    if (pixels[static_cast<std::size_t>(kHeight / 2) * kWidth + kWidth / 2] == 0xFF000000u || drawCalls < 10) {
        state.SkipWithError("the start area is not drawn");
        return;
    }
    std::vector<double> frames;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        view.Draw();
        window.Device()->Present(nullptr, nullptr, nullptr, nullptr);
        frames.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(frames.begin(), frames.end());
    state.counters["fps"] = benchmark::Counter(static_cast<double>(frames.size()), benchmark::Counter::kIsRate);
    state.counters["median_ms"] = frames[frames.size() / 2];
    state.counters["p99_ms"] = frames[std::min(frames.size() - 1, frames.size() * 99 / 100)];
    state.counters["slowest_ms"] = frames.back();
    state.counters["draw_calls"] = static_cast<double>(drawCalls);
}
// Three seconds of frames for the figures; a few frames in quick mode.
void DrawTiming(benchmark::internal::Benchmark* benchmark) {
    if (BenchSupport::QuickMode()) benchmark->Iterations(3);
    else benchmark->MinTime(3.0);
}
BENCHMARK(BM_DrawStartArea)->Unit(benchmark::kMillisecond)->Apply(DrawTiming)->UseRealTime();

// A 100 x 100 area of the chapter's tiles: reed walls round it, plank and mud floors,
// a river, posts, doors and net racks.
std::string GeneratedArea() {
    std::ostringstream text;
    text << "<area> \"Generated\" true <rows> ( 100 100 )";
    for (int row = 0; row < 100; ++row) {
        text << " <row>";
        for (int column = 0; column < 100; ++column) {
            if (row == 0 || column == 0 || row == 99 || column == 99) text << " ( reed_wall n )";
            else if (row % 20 == 10) text << " ( river_channel n )";
            else if (row % 20 == 5 && column % 10 == 5) text << " ( boathouse_door e )";
            else if (row % 20 == 15 && column % 10 == 3) text << " ( mooring_post n )";
            else if (row % 2 == 0) text << " ( plank_floor n )";
            else text << " ( landing_path n )";
        }
        text << " </row>\n";
    }
    text << " </rows> <objects> </objects> <entries> <entry> here \"Here\" ( 1 1 ) </entry> </entries>"
         << " <exits> </exits> </area>";
    return text.str();
}

void BM_BuildAreaGraphicsCold(benchmark::State& state) {
    auto device = D3D9Layer::CRecordingDevice::Create(kWidth, kHeight);
    device->SetRecording(false);
    DRAVCommon::CXPDevice xp(device.get());
    QuillmereViewer::CSceneView view(QUILLMERE_SAMPLE_DIR, &xp, kWidth, kHeight);
    SeeAll(view);
    DRAV::CArea* area = view.Engine().GetGame()->GetCurrentArea();
    std::shared_ptr<DRAV::CArea> generated;
    if (state.range(0) == 100) {
        generated = std::make_shared<DRAV::CArea>(view.Engine().GetGame().get());
        DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(GeneratedArea()), "generated.drav");
        generated->ReadAreaFile(reader, "", "generated", *view.Engine().GetModule(), DRAV::AREA_LOAD_FRESH, false);
        for (std::uint32_t c = 0; c < 100; ++c)
            for (std::uint32_t r = 0; r < 100; ++r) generated->GetSeenCells().Set(c, r, true);
        area = generated.get();
    }
    auto source = std::make_shared<DRAVCommon::CDataFileFactoryPath>(QUILLMERE_SAMPLE_DIR, 1);
    for (auto _ : state) {
        DRAVGraph::CGraphicsManager manager;
        manager.SetDataFileFactory(source);
        manager.BuildAreaGraphics(&xp, *area);
        state.PauseTiming();
        std::size_t drawn = 0;
        for (const auto& master : area->GetMasterTiles()) drawn += master->GetGraphic().graphic ? 1 : 0;
        if (drawn != area->GetMasterTiles().size()) state.SkipWithError("a master tile has no graphic");
        for (const auto& master : area->GetMasterTiles()) master->ReleaseGraphics();
        state.ResumeTiming();
    }
    state.counters["master_tiles"] = static_cast<double>(area->GetMasterTiles().size());
}
BENCHMARK(BM_BuildAreaGraphicsCold)->Arg(16)->Arg(100)->Unit(benchmark::kMillisecond)
    ->Apply(BenchSupport::QuickIterations<>);

void BM_ImportAreaModelsInProcess(benchmark::State& state) {
    DRAVCommon::CDataFileFactoryPath source(QUILLMERE_SAMPLE_DIR, 1);
    std::vector<std::shared_ptr<DRAVCommon::ByteVector>> files;
    for (const char* name : kStartAreaModels) files.push_back(source.ReadAll(DRAVCommon::DFK_TILE, DRAVCommon::DFS_MOD, name));
    for (auto _ : state) {
        for (const auto& bytes : files) {
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFileFromMemory(
                bytes->data(), bytes->size(), aiProcess_ConvertToLeftHanded | aiProcess_Triangulate, "");
            benchmark::DoNotOptimize(DRAVGraph::ExtractSceneGeometry(*scene).vertices.size());
        }
    }
}
BENCHMARK(BM_ImportAreaModelsInProcess)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);

// The same imports through the long-lived importing process, as the area build makes
// them, while the game holds the argument's MiB of touched memory (a fork per import
// would cost more the more it holds; the process started while the game was small
// does not).
void BM_ImportAreaModelsThroughImporter(benchmark::State& state) {
    DRAVCommon::CDataFileFactoryPath source(QUILLMERE_SAMPLE_DIR, 1);
    std::vector<std::shared_ptr<DRAVCommon::ByteVector>> files;
    for (const char* name : kStartAreaModels) files.push_back(source.ReadAll(DRAVCommon::DFK_TILE, DRAVCommon::DFS_MOD, name));
    DRAVGraph::StartModelImporter();
    std::vector<char> held(static_cast<std::size_t>(state.range(0)) << 20);
    for (std::size_t i = 0; i < held.size(); i += 4096) held[i] = 1;
    benchmark::DoNotOptimize(held.data());
    for (auto _ : state)
        for (const auto& bytes : files) benchmark::DoNotOptimize(DRAVGraph::ImportDirectXModel(*bytes, "tile.x").vertices.size());
    state.counters["models"] = static_cast<double>(files.size());
}
BENCHMARK(BM_ImportAreaModelsThroughImporter)->Arg(0)->Arg(1024)->Unit(benchmark::kMillisecond)
    ->Apply(BenchSupport::QuickIterations<>);

}  // namespace

BENCHMARK_MAIN();
