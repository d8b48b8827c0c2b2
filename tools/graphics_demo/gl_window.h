#pragma once
// An SDL window with the OpenGL Direct3D device on it: for the demo program, the
// pixel tests and the benchmarks, all of which run under Xvfb (xvfb-run) in CI.

#include "platform/d3d9/gl_device.h"

struct SDL_Window;

namespace QuillmereDemo {

class GLWindow {
public:
    // Starts SDL's video; throws CSDLException when there is no display or no GL.
    GLWindow(int width, int height);
    ~GLWindow();
    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    D3D9Layer::CGLDevice* Device() const { return m_device.get(); }
    SDL_Window* Window() const { return m_window; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width;
    int m_height;
    SDL_Window* m_window = nullptr;
    D3DPtr<D3D9Layer::CGLDevice> m_device;
};

}  // namespace QuillmereDemo
