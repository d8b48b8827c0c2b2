#pragma once
// A recording device that also notes the world transform in force at each draw, so
// tests can tell where a graphic was drawn.

#include <vector>

#include "platform/d3d9/recording_device.h"

namespace QuillmereTest {

class WorldCaptureDevice : public D3D9Layer::CRecordingDevice {
public:
    static D3DPtr<WorldCaptureDevice> Create(UINT width, UINT height) {
        return D3DPtr<WorldCaptureDevice>(new WorldCaptureDevice(D3D9Layer::WindowedParameters(width, height)));
    }

    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex, UINT vertexCount,
                                 UINT startIndex, UINT primitiveCount) override {
        const HRESULT result =
            CRecordingDevice::DrawIndexedPrimitive(type, baseVertex, minIndex, vertexCount, startIndex, primitiveCount);
        if (result == D3D_OK) {
            worlds.push_back(Transform(D3DTS_WORLD));
            textureShifts.push_back(Transform(D3DTS_TEXTURE0)._32);
        }
        return result;
    }

    std::vector<D3DMATRIX> worlds;
    // How far stage 0's texture was scrolled in v at each draw.
    std::vector<float> textureShifts;

private:
    using CRecordingDevice::CRecordingDevice;
};

}  // namespace QuillmereTest
