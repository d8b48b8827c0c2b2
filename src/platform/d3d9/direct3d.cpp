#include "platform/d3d9/direct3d.h"

#include <SDL.h>

#include <utility>

#include "platform/d3d9/gl_device.h"
#include "platform/d3d9/memory_resources.h"
#include "platform/win32/platform_observer.h"

namespace D3D9Layer {
namespace {

DeviceFactory& Factory() {
    static DeviceFactory factory;
    return factory;
}

class CDirect3D : public CRefCounted<IDirect3D9> {
public:
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND window, DWORD behaviour,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override {
        if (!parameters || !device || adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
        if (!(behaviour & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_SOFTWARE_VERTEXPROCESSING)))
            return D3DERR_INVALIDCALL;
        *device = nullptr;
        SDL_Window* sdl = Win32::GetSDLWindow(window);
        if (sdl && (parameters->BackBufferWidth == 0 || parameters->BackBufferHeight == 0)) {
            int width = 0, height = 0;
            SDL_GetWindowSize(sdl, &width, &height);
            if (parameters->BackBufferWidth == 0) parameters->BackBufferWidth = static_cast<UINT>(width);
            if (parameters->BackBufferHeight == 0) parameters->BackBufferHeight = static_cast<UINT>(height);
        }
        if (Factory()) {
            *device = Factory()(window, *parameters);
        } else {
            if (!sdl) return D3DERR_INVALIDCALL;
            *device = CGLDevice::Create(sdl, *parameters).release();
        }
        return *device ? D3D_OK : D3DERR_NOTAVAILABLE;
    }
};

}  // namespace

void SetDeviceFactory(DeviceFactory factory) { Factory() = std::move(factory); }

}  // namespace D3D9Layer

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
    if (sdkVersion != 32) return nullptr;
    return new D3D9Layer::CDirect3D;
}
