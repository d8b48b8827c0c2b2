#pragma once
// The Direct3D 9 object that makes devices: Direct3DCreate9 and CreateDevice. A
// device is drawn with OpenGL in the window's SDL window unless a program that
// runs the game without a screen has installed a factory of its own.

#include <functional>

#include "platform/d3d9/d3d9.h"

class IDirect3D9 : public IUnknownLite {
public:
    // Back-buffer width and height 0 take the window's client size and are
    // written back into `parameters`, as Direct3D does.
    virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND window, DWORD behaviour,
                                 D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) = 0;
};

// Null for an SDK version other than 32.
IDirect3D9* Direct3DCreate9(UINT sdkVersion);

namespace D3D9Layer {

// Makes the devices CreateDevice hands out (one reference each), or null for a
// failure; an empty function restores the OpenGL devices.
using DeviceFactory = std::function<IDirect3DDevice9*(HWND window, const D3DPRESENT_PARAMETERS& parameters)>;
void SetDeviceFactory(DeviceFactory factory);

}  // namespace D3D9Layer
