#pragma once
// The Direct3D 9 device drawn with fixed-function OpenGL 2.1 in an SDL window.
// It reproduces Direct3D's conventions so that matrices, colours and coordinates
// written for Direct3D give the same pixels: row-vector matrices, depth 0 to 1,
// culling by the winding the viewer sees, pixel centres on integer
// coordinates, lighting with material colour sources, texture stage 0.

#include <cstdint>
#include <vector>

#include "platform/d3d9/device_base.h"

struct SDL_Window;

namespace D3D9Layer {

class CGLDevice : public CDeviceBase {
public:
    // Makes a GL context on `window` (created with SDL_WINDOW_OPENGL) and the device
    // on it; none when the context cannot be made (SDL_GetError says why). The
    // call log is off: turn it on with SetRecording.
    static D3DPtr<CGLDevice> Create(SDL_Window* window, const D3DPRESENT_PARAMETERS& parameters);

    // The back buffer as 0xAARRGGBB, rows from the top; read it before Present.
    std::vector<std::uint32_t> ReadBackBuffer() const;

protected:
    ~CGLDevice() override;

    CMemoryTexture* MakeTexture(UINT width, UINT height, DWORD usage, D3DPOOL pool, PoolCounter counter) override;
    void RenderClear(DWORD flags, D3DCOLOR colour, float z) override;
    void RenderDraw(const DrawCall& call) override;
    void RenderPresent() override;

private:
    CGLDevice(SDL_Window* window, void* context, const D3DPRESENT_PARAMETERS& parameters);

    void ApplyViewportAndTransforms();
    void ApplyLighting(bool vertexColours);
    void ApplyRasterStates();
    void ApplyTextureStage();

    SDL_Window* m_window;
    void* m_context;
    int m_maxLights = 8;
    std::vector<std::uint8_t> m_colourScratch;
};

}  // namespace D3D9Layer
