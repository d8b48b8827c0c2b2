#include "graphics_demo/gl_window.h"

#include <SDL.h>

#include "common/sdl_init.h"
#include "platform/d3d9/recording_device.h"

namespace QuillmereDemo {

GLWindow::GLWindow(int width, int height) : m_width(width), m_height(height) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0) throw DRAVSDL::CSDLException();
    m_window = SDL_CreateWindow("Quillmere test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!m_window) {
        DRAVSDL::CSDLException failure;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw failure;
    }
    D3DPRESENT_PARAMETERS parameters =
        D3D9Layer::WindowedParameters(static_cast<UINT>(width), static_cast<UINT>(height));
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    m_device = D3D9Layer::CGLDevice::Create(m_window, parameters);
    if (!m_device) {
        DRAVSDL::CSDLException failure;
        SDL_DestroyWindow(m_window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw failure;
    }
}

GLWindow::~GLWindow() {
    m_device.reset();
    SDL_DestroyWindow(m_window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace QuillmereDemo
