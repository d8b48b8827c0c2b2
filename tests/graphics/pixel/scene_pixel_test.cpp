// Direct3D's 3D conventions on the OpenGL device: culling, depth, lights and
// materials, the texture transform of stage 0.

#include <cmath>
#include <cstring>

#include "graphics/matrix.h"
#include "graphics/pixel/pixel_fixture.h"

namespace {

using namespace QuillmereTest;

struct ColouredVertex {  // FVF 0x142
    float x, y, z;
    std::uint32_t colour;
    float u, v;
};

struct LitVertex {  // FVF 0x112
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

class ScenePixelTest : public PixelTest {
protected:
    ScenePixelTest() {
        const float eye[3] = {0, 0, 10}, target[3] = {0, 0, 0}, up[3] = {0, 1, 0};
        DRAVGraph::Mat4LookAt(m_view, eye, target, up);
        DRAVGraph::Mat4Perspective(m_projection, static_cast<float>(M_PI / 4), float(kWidth) / kHeight, 1.0f, 100.0f);
        m_wrapper.SetDefaultRenderStates(true);
        m_wrapper.SetViewTransform(m_view);
        m_wrapper.SetProjectionTransform(m_projection);
        m_wrapper.SetWorldTransform(DRAVGraph::Mat4Identity());
        Device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        Device()->BeginScene();
    }
    ~ScenePixelTest() override { Device()->EndScene(); }

    IDirect3DDevice9* Device() { return m_window.Device(); }

    template <typename Vertex>
    void DrawList(DWORD fvf, const std::vector<Vertex>& vertices, const std::vector<std::uint16_t>& indices) {
        IDirect3DVertexBuffer9* rawVertices = nullptr;
        IDirect3DIndexBuffer9* rawIndices = nullptr;
        const auto vertexBytes = static_cast<UINT>(vertices.size() * sizeof(Vertex));
        const auto indexBytes = static_cast<UINT>(indices.size() * 2);
        ASSERT_EQ(Device()->CreateVertexBuffer(vertexBytes, D3DUSAGE_WRITEONLY, fvf, D3DPOOL_DEFAULT, &rawVertices,
                                               nullptr), D3D_OK);
        ASSERT_EQ(Device()->CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT,
                                              &rawIndices, nullptr), D3D_OK);
        D3DPtr<IDirect3DVertexBuffer9> vertexBuffer(rawVertices);
        D3DPtr<IDirect3DIndexBuffer9> indexBuffer(rawIndices);
        void* data = nullptr;
        vertexBuffer->Lock(0, 0, &data, 0);
        std::memcpy(data, vertices.data(), vertexBytes);
        vertexBuffer->Unlock();
        indexBuffer->Lock(0, 0, &data, 0);
        std::memcpy(data, indices.data(), indexBytes);
        indexBuffer->Unlock();
        Device()->SetFVF(fvf);
        Device()->SetStreamSource(0, vertexBuffer.get(), 0, sizeof(Vertex));
        Device()->SetIndices(indexBuffer.get());
        ASSERT_EQ(Device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, static_cast<UINT>(vertices.size()), 0,
                                                 static_cast<UINT>(indices.size() / 3)), D3D_OK);
        Device()->SetStreamSource(0, nullptr, 0, 0);
        Device()->SetIndices(nullptr);
    }

    // The pixel a world point lands on.
    std::pair<int, int> ScreenOf(float x, float y, float z) const {
        D3DMATRIX both;
        DRAVGraph::Mat4Multiply(both, m_view, m_projection);
        const float cx = x * both._11 + y * both._21 + z * both._31 + both._41;
        const float cy = x * both._12 + y * both._22 + z * both._32 + both._42;
        const float cw = x * both._14 + y * both._24 + z * both._34 + both._44;
        return {static_cast<int>((cx / cw + 1.0f) * 0.5f * kWidth), static_cast<int>((1.0f - cy / cw) * 0.5f * kHeight)};
    }
    std::uint32_t At(const Frame& frame, float x, float y, float z) const {
        const auto [px, py] = ScreenOf(x, y, z);
        return frame.Rgb(px, py);
    }

    D3DMATRIX m_view;
    D3DMATRIX m_projection;
};

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
