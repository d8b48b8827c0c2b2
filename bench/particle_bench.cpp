// A frame of billboards with 10,000 live particles: advancing, sorting far to near
// and laying out the quads, alone and with the mesh built and drawn on the
// recording device.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_quick.h"
#include "common/data_file_memory.h"
#include "common/random.h"
#include "graphics/particles/billboard_renderer.h"
#include "platform/d3d9/recording_device.h"

namespace {

using namespace DRAVGraph;

constexpr int kParticles = 10000;

struct Scene {
    Scene() {
        const std::string set = "# every particle draws cell 0\n";
        source.Add(DRAVCommon::DFK_EFFECT, DRAVCommon::DFS_NONE, "particles.drav", {set.begin(), set.end()});
        device->SetRecording(false);
        renderer = std::make_unique<CBillboardRenderer>(&wrapper, source);
        auto params = std::make_shared<CParticleParams>();
        params->lifetime = 1e9;  // nobody expires while the benchmark runs
        params->startSize = 0.5;
        params->endSize = 2;
        params->riseAcceleration = -1;
        params->startColour = 0xFFFFFFFFu;
        for (int i = 0; i < kParticles; ++i) {
            auto particle = std::make_shared<CParticle>();
            particle->params = params;
            particle->x = static_cast<float>(DRAVCommon::Random() * 50);
            particle->y = static_cast<float>(DRAVCommon::Random() * 5);
            particle->z = static_cast<float>(DRAVCommon::Random() * 50);
            particle->vx = static_cast<float>(DRAVCommon::Random() - 0.5);
            particle->vz = static_cast<float>(DRAVCommon::Random() - 0.5);
            renderer->AddParticle(std::move(particle));
        }
        device->BeginScene();
    }

    D3DPtr<D3D9Layer::CRecordingDevice> device = D3D9Layer::CRecordingDevice::Create(1024, 768);
    DRAVCommon::CXPDevice wrapper{device.get()};
    DRAVCommon::CDataFileFactoryMemory source;
    std::unique_ptr<CBillboardRenderer> renderer;
    D3DVECTOR view{0.5f, -0.7071f, 0.5f};
};

void BM_AdvanceSortAndLayOut(benchmark::State& state) {
    Scene scene;
    std::vector<ColouredVertex> vertices;
    std::vector<std::uint16_t> indices;
    double now = 0;
    for (auto _ : state) {
        now += 1.0 / 60;
        scene.renderer->Advance(now);
        scene.renderer->BuildGeometry(scene.view, vertices, indices);
        benchmark::DoNotOptimize(vertices.data());
    }
    state.SetItemsProcessed(state.iterations() * kParticles);
}
BENCHMARK(BM_AdvanceSortAndLayOut)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);

void BM_RenderWithMesh(benchmark::State& state) {
    Scene scene;
    const SceneRenderContext context{&scene.wrapper, scene.renderer.get(), nullptr, &scene.view};
    double now = 0;
    for (auto _ : state) {
        now += 1.0 / 60;
        scene.renderer->Render(context, now);
    }
    state.SetItemsProcessed(state.iterations() * kParticles);
}
BENCHMARK(BM_RenderWithMesh)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);

}  // namespace

BENCHMARK_MAIN();
