// Model loading on the recording device: a DirectX model of the sample chapter through
// the importer's child process, the same geometry extracted in this process for
// comparison, an auto-tile, and a tile model replicated as merged scenery.

#include <benchmark/benchmark.h>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>

#include <memory>

#include "bench_quick.h"
#include "common/data_file_path.h"
#include "graphics/matrix.h"
#include "graphics/mesh_scene.h"
#include "graphics/model_node.h"
#include "platform/d3d9/recording_device.h"

namespace {

using namespace DRAVGraph;

struct Loader {
    D3DPtr<D3D9Layer::CRecordingDevice> device = [] {
        auto made = D3D9Layer::CRecordingDevice::Create(64, 64);
        made->SetRecording(false);
        return made;
    }();
    DRAVCommon::CXPDevice xp{device.get()};
    DRAVCommon::CDataFileFactoryPath source{QUILLMERE_SAMPLE_DIR, 1};
};

CSubModelInfo Model(const std::string& name, std::vector<TextureEntry> textures) {
    CSubModelInfo info;
    info.kind = DRAVCommon::DFK_OBJECT;
    info.name = name;
    info.textures = std::move(textures);
    return info;
}

void BM_LoadModelFile(benchmark::State& state) {
    Loader loader;
    const CSubModelInfo info = Model("statue_heron.x", {{"", 0x808080, 1.0}});
    for (auto _ : state)
        benchmark::DoNotOptimize(
            LoadModel(&loader.xp, loader.source, info, info.textures, nullptr, 0, nullptr, false, 0.0, 0.0));
}

// What the child process costs: the same import and extraction without it.
void BM_ImportInProcess(benchmark::State& state) {
    Loader loader;
    const auto bytes = loader.source.ReadAll(DRAVCommon::DFK_OBJECT, DRAVCommon::DFS_MOD, "statue_heron.x");
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFileFromMemory(bytes->data(), bytes->size(),
                                                           aiProcess_ConvertToLeftHanded | aiProcess_Triangulate, "");
        benchmark::DoNotOptimize(ExtractSceneGeometry(*scene).vertices.size());
    }
}

void BM_BuildAutoFloor(benchmark::State& state) {
    Loader loader;
    CSubModelInfo info = Model("auto-floor", {{"", 0x808080, 1.0}});
    info.isAuto = true;
    info.autoParams = {1, 4, 2, 4, 3};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            LoadModel(&loader.xp, loader.source, info, info.textures, nullptr, 0, nullptr, true, 0.0, 0.0));
}

void BM_MergeLoftCells(benchmark::State& state) {
    Loader loader;
    CSubModelInfo info = Model("loft_boathouse.x", {{"", 0x808080, 1.0}, {"", 0x404040, 1.0}});
    info.kind = DRAVCommon::DFK_TILE;
    auto node = LoadModel(&loader.xp, loader.source, info, info.textures, nullptr, 0, nullptr, true, 0.0, 0.0);
    std::vector<D3DMATRIX> placements(static_cast<std::size_t>(state.range(0)), Mat4Identity());
    for (std::size_t k = 0; k < placements.size(); ++k) placements[k]._41 = 2.5f * static_cast<float>(k);
    for (auto _ : state) benchmark::DoNotOptimize(node->MakeMerged(&loader.xp, Mat4Identity(), placements));
}

}  // namespace

BENCHMARK(BM_LoadModelFile)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_ImportInProcess)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_BuildAutoFloor)->Unit(benchmark::kMicrosecond)->Apply(BenchSupport::QuickIterations<>);
BENCHMARK(BM_MergeLoftCells)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)
    ->Apply(BenchSupport::QuickIterations<>);

BENCHMARK_MAIN();
