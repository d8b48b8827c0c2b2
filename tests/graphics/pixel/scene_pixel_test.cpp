// Direct3D's 3D conventions on the OpenGL device: culling, depth, lights and
// materials, the texture transform of stage 0.

#include <cmath>
#include <cstring>

#include "graphics/matrix.h"
#include "graphics/mesh_vertex.h"
#include "graphics/pixel/scene_fixture.h"

namespace {

using namespace QuillmereTest;

using ScenePixelTest = ScenePixelFixture;
using DRAVGraph::ColouredVertex;
using DRAVGraph::LitVertex;

TEST_F(ScenePixelTest, CounterClockwiseFrontFacesStayAndClockwiseOnesAreCulled) {
    Device()->SetRenderState(D3DRS_LIGHTING, 0);
    Device()->SetTexture(0, m_white->GetTexture());
    DrawList<ColouredVertex>(0x142,
                             {{-3, -1, 0, 0xFFFF0000u, 0, 0}, {-1, -1, 0, 0xFFFF0000u, 0, 0}, {-2, 1, 0, 0xFFFF0000u, 0, 0},
                              {1, -1, 0, 0xFF00FF00u, 0, 0}, {2, 1, 0, 0xFF00FF00u, 0, 0}, {3, -1, 0, 0xFF00FF00u, 0, 0}},
                             {0, 1, 2, 3, 4, 5});
    const Frame frame = ReadBack();
    EXPECT_EQ(At(frame, -2, -0.33f, 0), 0xFF0000u);
    EXPECT_EQ(At(frame, 2, -0.33f, 0), 0u);
}

TEST_F(ScenePixelTest, NearerSurfacesHideFartherOnesWhateverTheOrder) {
    Device()->SetRenderState(D3DRS_LIGHTING, 0);
    Device()->SetTexture(0, m_white->GetTexture());
    auto square = [](float z, std::uint32_t colour) {
        return std::vector<ColouredVertex>{{-1, -1, z, colour, 0, 0}, {1, -1, z, colour, 0, 0},
                                           {-1, 1, z, colour, 0, 0}, {1, 1, z, colour, 0, 0}};
    };
    DrawList<ColouredVertex>(0x142, square(2, 0xFF0000FFu), {0, 1, 2, 2, 1, 3});
    DrawList<ColouredVertex>(0x142, square(-2, 0xFFFFFF00u), {0, 1, 2, 2, 1, 3});
    EXPECT_EQ(At(ReadBack(), 0, 0, 2), 0x0000FFu);
}

TEST_F(ScenePixelTest, PointLightMaterialAndAmbientLightATexturedSurface) {
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = {0.6f, 0.6f, 0.4f, 0.0f};
    light.Position = {0.0f, 0.0f, 5.0f};
    light.Range = 500.0f;
    light.Attenuation0 = 1.0f;
    Device()->SetLight(0, &light);
    Device()->LightEnable(0, 1);
    Device()->SetRenderState(D3DRS_AMBIENT, 0xFF202020u);
    D3DMATERIAL9 material{};
    material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    Device()->SetMaterial(&material);
    Device()->SetTexture(0, m_white->GetTexture());
    DrawList<LitVertex>(0x112, {{-1, -1, 0, 0, 0, 1, 0, 1}, {1, -1, 0, 0, 0, 1, 1, 1}, {-1, 1, 0, 0, 0, 1, 0, 0},
                                {1, 1, 0, 0, 0, 1, 1, 0}},
                        {0, 1, 2, 2, 1, 3});
    // Lit at the corners, as Direct3D lights vertices: N.L = 5 / sqrt(27) of the light's
    // 0.6, 0.6, 0.4, plus the ambient 0x20 on the material's ambient; then interpolated.
    EXPECT_TRUE(NearColour(At(ReadBack(), 0, 0, 0), 0xB3B382u, 2));
    Device()->LightEnable(0, 0);
}

TEST_F(ScenePixelTest, TextureTransformOfStageZeroShiftsTwoComponentCoordinates) {
    auto surface = MakeSurface(2, 1, SDL_PIXELFORMAT_ARGB8888, 0xFFFF0000u);
    SetPixel(surface.get(), 1, 0, 0xFF00FF00u);
    auto texture = DRAVCommon::CreateTextureFromSurface(&m_wrapper, surface.get());
    Device()->SetRenderState(D3DRS_LIGHTING, 0);
    Device()->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    Device()->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    Device()->SetTexture(0, texture->GetTexture());
    // Direct3D puts the translation of two coordinates in the third row.
    D3DMATRIX shift = DRAVGraph::Mat4Identity();
    shift._31 = 0.5f;
    Device()->SetTransform(D3DTS_TEXTURE0, &shift);
    Device()->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    DrawList<ColouredVertex>(0x142, {{-2, -1, 0, 0xFFFFFFFFu, 0, 1}, {2, -1, 0, 0xFFFFFFFFu, 1, 1},
                                     {-2, 1, 0, 0xFFFFFFFFu, 0, 0}, {2, 1, 0, 0xFFFFFFFFu, 1, 0}},
                             {0, 1, 2, 2, 1, 3});
    Device()->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    Device()->SetTexture(0, nullptr);
    const Frame frame = ReadBack();
    EXPECT_EQ(At(frame, -1, 0, 0), 0x00FF00u);
    EXPECT_EQ(At(frame, 1, 0, 0), 0xFF0000u);
}

}  // namespace
