// Billboards and ground markers on the OpenGL device.

#include "common/data_file_memory.h"
#include "graphics/adornment_draw.h"
#include "graphics/coloured_batch.h"
#include "graphics/particles/billboard_renderer.h"
#include "graphics/pixel/scene_fixture.h"

namespace {

using namespace QuillmereTest;
using namespace DRAVGraph;

class ParticlesPixelTest : public ScenePixelFixture {};

TEST_F(ParticlesPixelTest, RedParticleAtTheOriginIsDrawnAtTheScreenCentre) {
    DRAVCommon::CDataFileFactoryMemory source;
    const std::string set = "<particle> red \"white.png\" <color> ( 255 0 0 ) 0 0 </color> </particle>";
    source.Add(DRAVCommon::DFK_EFFECT, DRAVCommon::DFS_NONE, "particles.drav", {set.begin(), set.end()});
    auto white = MakeSurface(8, 8, SDL_PIXELFORMAT_ARGB8888, 0xFFFFFFFFu);
    source.Add(DRAVCommon::DFK_EFFECT, DRAVCommon::DFS_TEX, "white.png", EncodePng(white.get()));
    CBillboardRenderer renderer(&m_wrapper, source);

    auto params = std::make_shared<CParticleParams>();
    params->cell = renderer.GetParticleCell("red");
    params->lifetime = 1;
    params->startSize = params->endSize = 2;
    params->startColour = params->endColour = 0xFFFFFFFFu;
    auto particle = std::make_shared<CParticle>();
    particle->params = params;
    renderer.AddParticle(particle);

    const D3DVECTOR view{0, 0, -1};
    renderer.Render({&m_wrapper, &renderer, nullptr, &view}, 0.5);
    const Frame frame = ReadBack();
    EXPECT_TRUE(NearColour(frame.Rgb(kWidth / 2, kHeight / 2), 0xFE0000u));
    // A square of 2 units seen from 10 away: about 58 pixels, centred.
    const RECT box = frame.BoundsOfNot(0);
    EXPECT_NEAR((box.left + box.right) / 2.0, kWidth / 2.0, 2);
    EXPECT_NEAR((box.top + box.bottom) / 2.0, kHeight / 2.0, 2);
    EXPECT_NEAR(box.right - box.left, 58, 4);
    EXPECT_EQ(frame.Rgb(2, 2), 0u);
}

TEST_F(ParticlesPixelTest, RingAddedAfterTheFloorShowsOverIt) {
    LookFrom(0, 4, 4);
    // A grey floor at y = 0 and a raised slab at y = 0.5 that would hide a marker
    // drawn with the ordinary depth test.
    const std::vector<ColouredVertex> floor = {
        {-8, 0, -8, 0xFF808080u, 0, 0}, {-8, 0, 8, 0xFF808080u, 0, 0}, {8, 0, -8, 0xFF808080u, 0, 0},
        {8, 0, 8, 0xFF808080u, 0, 0},   {-3, 0.5f, -3, 0xFF404040u, 0, 0}, {-3, 0.5f, 3, 0xFF404040u, 0, 0},
        {0, 0.5f, -3, 0xFF404040u, 0, 0}, {0, 0.5f, 3, 0xFF404040u, 0, 0}};
    DrawColouredBatch(&m_wrapper, floor, {0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7}, nullptr, BatchDepth::Test);
    CAdornmentDraw batch;
    batch.AddRing(0, 0, 2, 0xFF00FF00u, false);
    batch.Flush(&m_wrapper);
    const Frame frame = ReadBack();
    EXPECT_TRUE(NearColour(At(frame, 2.075f, 0.1f, 0), 0x00FF00u));   // over the floor
    EXPECT_TRUE(NearColour(At(frame, -2.075f, 0.1f, 0), 0x00FF00u));  // under the slab, still seen
    EXPECT_TRUE(NearColour(At(frame, -1, 0.5f, 0), 0x404040u));      // inside the ring: the slab
    EXPECT_TRUE(NearColour(At(frame, 1, 0, 0), 0x808080u));          // and the floor
}

}  // namespace
