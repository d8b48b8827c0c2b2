#pragma once
// The one wrapper through which the game's drawing code reaches the Direct3D device:
// the default render states of every frame, the viewport rectangle and the three
// transform setters, each turning a failed device call into a CDRAVException.

#include "platform/d3d9/d3d9.h"

namespace DRAVCommon {

class CXPDevice {
public:
    // The device stays the caller's: the wrapper never releases it.
    explicit CXPDevice(IDirect3DDevice9* device) : m_device(device) {}

    IDirect3DDevice9* GetDevice() const { return m_device; }

    // Lighting, clockwise culling and wrap addressing always; with `full` also depth,
    // normalising, filtering, material source, blend factors, stage-0 alpha and the
    // alpha test. A failed state is code 4; states set before it stay set.
    void SetDefaultRenderStates(bool full);

    // (0, 0, viewport width, viewport height); code 5 on failure.
    void GetViewportRect(RECT& rect);

    // Code 5 on failure.
    void SetViewTransform(const D3DMATRIX& matrix);
    void SetProjectionTransform(const D3DMATRIX& matrix);
    void SetWorldTransform(const D3DMATRIX& matrix);

private:
    IDirect3DDevice9* m_device;
};

// Throws CDRAVException code 5 (empty message) for a failed device call.
void CheckDeviceCall(HRESULT result);

}  // namespace DRAVCommon
