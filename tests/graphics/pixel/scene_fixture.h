#pragma once
// Pixel tests of 3D drawing: a perspective camera looking at the origin, a frame
// begun on a cleared target, vertex lists drawn straight through the device, and
// the pixel a world point lands on.

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "graphics/matrix.h"
#include "graphics/pixel/pixel_fixture.h"

namespace QuillmereTest {

class ScenePixelFixture : public PixelTest {
protected:
    ScenePixelFixture() {
        DRAVGraph::Mat4Perspective(m_projection, static_cast<float>(M_PI / 4), float(kWidth) / kHeight, 1.0f, 100.0f);
        m_wrapper.SetDefaultRenderStates(true);
        LookFrom(0, 0, 10);
        m_wrapper.SetProjectionTransform(m_projection);
        m_wrapper.SetWorldTransform(DRAVGraph::Mat4Identity());
        Device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        Device()->BeginScene();
    }
    ~ScenePixelFixture() override { Device()->EndScene(); }

    // The camera at the eye, looking at the origin with +y up.
    void LookFrom(float x, float y, float z) {
        const float eye[3] = {x, y, z}, target[3] = {0, 0, 0}, up[3] = {0, 1, 0};
        DRAVGraph::Mat4LookAt(m_view, eye, target, up);
        m_wrapper.SetViewTransform(m_view);
    }

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

}  // namespace QuillmereTest
