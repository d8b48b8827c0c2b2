#pragma once
// An SDL window with the OpenGL Direct3D device on it, for pixel tests and
// benchmarks run under Xvfb (xvfb-run), and helpers to read the frame back.

#include <cstdint>
#include <vector>

#include "platform/d3d9/gl_device.h"

struct SDL_Window;

namespace QuillmereTest {

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

// A frame read back from a device, 0xAARRGGBB, rows from the top.
class Frame {
public:
    explicit Frame(const D3D9Layer::CGLDevice& device, int width, int height)
        : m_width(width), m_height(height), m_pixels(device.ReadBackBuffer()) {}

    // The colour without its alpha (0x00RRGGBB).
    std::uint32_t Rgb(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x] & 0xFFFFFFu; }
    // The smallest rectangle (right and bottom exclusive) holding every pixel that is
    // not `background`; all zero when there is none.
    struct Box {
        int left, top, right, bottom;
    };
    Box BoundsOfNot(std::uint32_t background) const;

private:
    int m_width;
    int m_height;
    std::vector<std::uint32_t> m_pixels;
};

}  // namespace QuillmereTest
