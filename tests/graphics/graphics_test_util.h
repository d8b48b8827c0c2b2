#pragma once
// Shared pieces of the graphics tests: images made in memory, textures of known
// pixels, and reading back what a recording device holds.

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "common/data_file_memory.h"
#include "graphics/xp_texture.h"
#include "platform/d3d9/device_base.h"

namespace QuillmereTest {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// A surface of `format` filled with `argb` (0xAARRGGBB).
Surface MakeSurface(int width, int height, std::uint32_t format, std::uint32_t argb);
void SetPixel(SDL_Surface* surface, int x, int y, std::uint32_t argb);
// The surface as the bytes of a PNG file.
DRAVCommon::ByteVector EncodePng(SDL_Surface* surface);

// The interface font "OpenSans-Regular.ttf" (kind ui) from the system's font package.
void AddInterfaceFont(DRAVCommon::CDataFileFactoryMemory& source);

// The pixels a device texture holds now (0xAARRGGBB, rows from the top).
std::uint32_t TexturePixel(const DRAVCommon::CXPTexture& texture, int x, int y);

// The vertices of a draw as the 2D queue's format lays them out.
struct QuadVertex {
    float x, y, z;
    std::uint32_t colour;
    float u, v;
};
std::vector<QuadVertex> DrawVertices(const D3D9Layer::DrawRecord& draw);

// A frame read back from an OpenGL device: rows from the top.
class Frame {
public:
    Frame(const std::vector<std::uint32_t>& pixels, int width, int height)
        : m_width(width), m_height(height), m_pixels(pixels) {}

    // The colour without its alpha (0x00RRGGBB).
    std::uint32_t Rgb(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x] & 0xFFFFFFu; }
    // The smallest box (right and bottom exclusive) holding every pixel that is not
    // `background`; all zero when there is none.
    RECT BoundsOfNot(std::uint32_t background) const;

private:
    int m_width;
    int m_height;
    std::vector<std::uint32_t> m_pixels;
};

}  // namespace QuillmereTest
