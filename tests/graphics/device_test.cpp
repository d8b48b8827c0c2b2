// The device wrapper and the recording device under it: default states, viewport,
// transforms, and how failed calls turn into the wrapper's codes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/matrix.h"
#include "graphics/xp_device.h"
#include "platform/d3d9/recording_device.h"
#include "support/expect_drav.h"

namespace {

using D3D9Layer::CRecordingDevice;
using DRAVCommon::CXPDevice;

const std::vector<std::string> kEveryFrameStates = {
    "SetRenderState(137,1)", "SetRenderState(22,2)", "SetSamplerState(0,1,1)", "SetSamplerState(0,2,1)"};

const std::vector<std::string> kFullStates = {
    "SetRenderState(137,1)", "SetRenderState(22,2)",      "SetSamplerState(0,1,1)", "SetSamplerState(0,2,1)",
    "SetRenderState(7,1)",   "SetRenderState(143,1)",     "SetRenderState(136,0)",  "SetSamplerState(0,5,2)",
    "SetSamplerState(0,6,2)", "SetRenderState(148,0)",    "SetRenderState(19,5)",   "SetRenderState(20,6)",
    "SetTextureStageState(0,4,4)", "SetTextureStageState(0,5,2)", "SetTextureStageState(0,6,0)",
    "SetRenderState(25,7)",  "SetRenderState(24,8)",      "SetRenderState(15,1)"};

TEST(XPDevice, DefaultStatesAreTheFourEveryFrameOrTheFullEighteenInOrder) {
    auto device = CRecordingDevice::Create(800, 600);
    CXPDevice wrapper(device.get());
    wrapper.SetDefaultRenderStates(false);
    EXPECT_EQ(device->Calls(), kEveryFrameStates);
    EXPECT_EQ(device->RenderState(D3DRS_ALPHATESTENABLE), 0u);  // the every-frame list leaves the alpha test alone

    device->ClearRecord();
    wrapper.SetDefaultRenderStates(true);
    EXPECT_EQ(device->Calls(), kFullStates);
    EXPECT_EQ(device->RenderState(D3DRS_ALPHAREF), 8u);
    EXPECT_EQ(device->StageState(0, D3DTSS_ALPHAOP), static_cast<DWORD>(D3DTOP_MODULATE));
    // Blending stays off: the 2D queue switches it on itself.
    EXPECT_EQ(device->RenderState(D3DRS_ALPHABLENDENABLE), 0u);
}

TEST(XPDevice, AFailedDefaultStateIsCodeFourAndStopsThere) {
    for (const char* method : {"SetRenderState", "SetSamplerState", "SetTextureStageState"}) {
        auto device = CRecordingDevice::Create(800, 600);
        device->FailCall(method, D3DERR_INVALIDCALL, 1);
        CXPDevice wrapper(device.get());
        EXPECT_DRAV_CODE(wrapper.SetDefaultRenderStates(true), DRAV_ERR_UNEXPECTED);
        const auto& calls = device->Calls();
        ASSERT_FALSE(calls.empty());
        // The failing call is the last one made.
        EXPECT_EQ(calls.back().rfind(method, 0), 0u) << method;
        EXPECT_EQ(calls.size(), static_cast<std::size_t>(std::find(kFullStates.begin(), kFullStates.end(),
                                                                   calls.back()) - kFullStates.begin() + 1));
    }
}

TEST(XPDevice, ViewportRectStartsAtTheOriginWhateverTheViewportOffset) {
    auto device = CRecordingDevice::Create(800, 600);
    const D3DVIEWPORT9 viewport{40, 30, 640, 480, 0.0f, 1.0f};
    device->SetViewport(&viewport);
    CXPDevice wrapper(device.get());
    RECT rect{};
    wrapper.GetViewportRect(rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 640);
    EXPECT_EQ(rect.bottom, 480);
    device->FailCall("GetViewport", D3DERR_INVALIDCALL);
    EXPECT_DRAV_CODE(wrapper.GetViewportRect(rect), DRAV_ERR_DEVICE);
}

TEST(XPDevice, TransformSettersReachTheirSlotsAndFailWithCodeFive) {
    auto device = CRecordingDevice::Create(800, 600);
    CXPDevice wrapper(device.get());
    D3DMATRIX view = DRAVGraph::Mat4Identity(), projection = view, world = view;
    view._41 = 1.0f;
    projection._42 = 2.0f;
    world._43 = 3.0f;
    wrapper.SetViewTransform(view);
    wrapper.SetProjectionTransform(projection);
    wrapper.SetWorldTransform(world);
    EXPECT_EQ(device->Transform(D3DTS_VIEW)._41, 1.0f);
    EXPECT_EQ(device->Transform(D3DTS_PROJECTION)._42, 2.0f);
    EXPECT_EQ(device->Transform(D3DTS_WORLD)._43, 3.0f);
    device->FailCall("SetTransform", D3DERR_INVALIDCALL, 0, -1);
    EXPECT_DRAV_CODE(wrapper.SetViewTransform(view), DRAV_ERR_DEVICE);
    EXPECT_DRAV_CODE(wrapper.SetProjectionTransform(view), DRAV_ERR_DEVICE);
    EXPECT_DRAV_CODE(wrapper.SetWorldTransform(view), DRAV_ERR_DEVICE);
    EXPECT_EQ(device->Transform(D3DTS_WORLD)._43, 3.0f);
}

TEST(RecordingDevice, LostDeviceRecoversOnlyByAResetWithNoDefaultPoolObjectsAlive) {
    auto device = CRecordingDevice::Create(800, 600);
    device->FailCall("Present", D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);

    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr), D3D_OK);
    D3DPRESENT_PARAMETERS parameters = D3D9Layer::WindowedParameters(1024, 768);
    EXPECT_EQ(device->Reset(&parameters), D3DERR_INVALIDCALL);
    texture->Release();
    device->SetRenderState(D3DRS_LIGHTING, 0);
    EXPECT_EQ(device->Reset(&parameters), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    // A reset brings Direct3D's own defaults back and the new back-buffer size.
    EXPECT_EQ(device->RenderState(D3DRS_LIGHTING), 1u);
    D3DVIEWPORT9 viewport{};
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 1024u);
    device->FailCall("Reset", D3DERR_DEVICELOST);
    EXPECT_EQ(device->Reset(&parameters), D3DERR_DEVICELOST);
}

TEST(RecordingDevice, DrawsOutsideTheBuffersOrOutsideASceneAreRefused) {
    auto device = CRecordingDevice::Create(64, 64);
    IDirect3DVertexBuffer9* rawVertices = nullptr;
    IDirect3DIndexBuffer9* rawIndices = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(3 * 24, D3DUSAGE_WRITEONLY, 0x142, D3DPOOL_DEFAULT, &rawVertices, nullptr),
              D3D_OK);
    ASSERT_EQ(device->CreateIndexBuffer(6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &rawIndices,
                                        nullptr),
              D3D_OK);
    D3DPtr<IDirect3DVertexBuffer9> vertices(rawVertices);
    D3DPtr<IDirect3DIndexBuffer9> indices(rawIndices);
    void* data = nullptr;
    ASSERT_EQ(indices->Lock(0, 0, &data, 0), D3D_OK);
    const std::uint16_t values[6] = {0, 1, 2, 0, 2, 3};  // index 3 lies past the three vertices
    std::memcpy(data, values, sizeof values);
    indices->Unlock();
    device->SetFVF(0x142);
    device->SetStreamSource(0, vertices.get(), 0, 24);
    device->SetIndices(indices.get());
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), D3DERR_INVALIDCALL);  // no scene
    device->BeginScene();
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), D3D_OK);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 3, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 3), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 0, 3, 0, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Draws().size(), 1u);
    device->EndScene();
    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
}

}  // namespace
