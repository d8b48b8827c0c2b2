#pragma once
// A Direct3D 9 device that draws nothing: it keeps every state and object in
// memory and logs each call and draw, so tests can check what drawing code set and
// drew, and make any call fail (CDeviceBase::FailCall).

#include "platform/d3d9/device_base.h"

namespace D3D9Layer {

class CRecordingDevice : public CDeviceBase {
public:
    using CDeviceBase::CDeviceBase;

    // A windowed device with a back buffer of that size and a 16-bit depth buffer.
    static D3DPtr<CRecordingDevice> Create(UINT width, UINT height);
};

// The present parameters the game starts with: windowed, discard, 16-bit depth.
D3DPRESENT_PARAMETERS WindowedParameters(UINT width, UINT height);

}  // namespace D3D9Layer
