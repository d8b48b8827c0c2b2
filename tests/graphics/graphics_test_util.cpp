#include "graphics/graphics_test_util.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "common/sdl_init.h"
#include "support/temp_dir.h"

namespace QuillmereTest {

namespace {

// SDL and its image and font libraries live for the whole test program.
class SdlEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_sdl = std::make_unique<DRAVSDL::InitSDL>(); }
    void TearDown() override { m_sdl.reset(); }

private:
    std::unique_ptr<DRAVSDL::InitSDL> m_sdl;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new SdlEnvironment);

}  // namespace

Surface MakeSurface(int width, int height, std::uint32_t format, std::uint32_t argb) {
    Surface surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, format));
    if (!surface) throw DRAVSDL::CSDLException();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetPixel(surface.get(), x, y, argb);
    return surface;
}

void SetPixel(SDL_Surface* surface, int x, int y, std::uint32_t argb) {
    const std::uint32_t value = SDL_MapRGBA(surface->format, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF,
                                            argb >> 24);
    std::memcpy(static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch + x * 4, &value, 4);
}

DRAVCommon::ByteVector EncodePng(SDL_Surface* surface) {
    TempDir folder;
    const std::string path = folder / "image.png";
    if (IMG_SavePNG(surface, path.c_str()) != 0) throw DRAVSDL::CSDLException();
    return DRAVCommon::ReadWholeFile(path);
}

void AddInterfaceFont(DRAVCommon::CDataFileFactoryMemory& source) {
    source.Add(DRAVCommon::DFK_UI, DRAVCommon::DFS_NONE, "OpenSans-Regular.ttf",
               DRAVCommon::ReadWholeFile(QUILLMERE_UI_FONT));
}

std::uint32_t TexturePixel(const DRAVCommon::CXPTexture& texture, int x, int y) {
    auto* memory = dynamic_cast<D3D9Layer::CMemoryTexture*>(texture.GetTexture());
    return memory ? memory->Pixel(static_cast<UINT>(x), static_cast<UINT>(y)) : 0;
}

std::vector<QuadVertex> DrawVertices(const D3D9Layer::DrawRecord& draw) {
    std::vector<QuadVertex> vertices(draw.vertices.size() / sizeof(QuadVertex));
    std::memcpy(vertices.data(), draw.vertices.data(), vertices.size() * sizeof(QuadVertex));
    return vertices;
}

RECT Frame::BoundsOfNot(std::uint32_t background) const {
    RECT box{m_width, m_height, 0, 0};
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            if (Rgb(x, y) == (background & 0xFFFFFFu)) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box.right == 0 ? RECT{0, 0, 0, 0} : box;
}

}  // namespace QuillmereTest
