#include "graphics/xp_texture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstring>

#include "common/graphic_colors.h"
#include "common/sdl_init.h"
#include "graphics/sdl_handles.h"

namespace DRAVCommon {

namespace {

// Surfaces stay locked only while their pixels are copied or changed.
class SurfaceLock {
public:
    explicit SurfaceLock(SDL_Surface* surface) : m_surface(surface) {
        if (SDL_LockSurface(surface) < 0) throw DRAVSDL::CSDLException();
    }
    ~SurfaceLock() { SDL_UnlockSurface(m_surface); }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;

private:
    SDL_Surface* m_surface;
};

// Refuses an image the device cannot hold before anything is made for it.
void CheckImageSize(CXPDevice* device, int width, int height, const std::string& fileName) {
    if (width <= 0 || height <= 0)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "Image " + fileName + " has no pixels");
    D3DCAPS9 caps{};
    CheckDeviceCall(device->GetDevice()->GetDeviceCaps(&caps));
    if (NextPowerOfTwo(static_cast<std::uint32_t>(width)) > caps.MaxTextureWidth ||
        NextPowerOfTwo(static_cast<std::uint32_t>(height)) > caps.MaxTextureHeight)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "Image " + fileName + " is " + std::to_string(width) + " x " +
                                                    std::to_string(height) + ", larger than the device's textures");
}

}  // namespace

CXPTexture::CXPTexture(IDirect3DTexture9* texture, std::int32_t imageWidth, std::int32_t imageHeight,
                       std::int32_t textureWidth, std::int32_t textureHeight)
    : m_texture(texture), m_imageWidth(imageWidth), m_imageHeight(imageHeight), m_textureWidth(textureWidth),
      m_textureHeight(textureHeight) {}

CXPTexture::~CXPTexture() {
    if (m_texture) m_texture->Release();
}

std::uint32_t NextPowerOfTwo(std::uint32_t x) {
    x -= 1;
    x |= x >> 1;
    x |= x >> 2;
    x |= x >> 4;
    x |= x >> 8;
    x |= x >> 16;
    return x + 1;
}

bool IsPowerOfTwoArgb(SDL_Surface* surface) {
    const auto width = static_cast<std::uint32_t>(surface->w);
    const auto height = static_cast<std::uint32_t>(surface->h);
    return surface->format->format == SDL_PIXELFORMAT_ARGB8888 && NextPowerOfTwo(width) == width &&
           NextPowerOfTwo(height) == height;
}

SDL_Surface* ConvertToPowerOfTwoArgb(SDL_Surface* surface) {
    PixelFormatPtr format(SDL_AllocFormat(SDL_PIXELFORMAT_ARGB8888));
    if (!format) throw DRAVSDL::CSDLException();
    SurfacePtr converted(SDL_CreateRGBSurface(
        0, static_cast<int>(NextPowerOfTwo(static_cast<std::uint32_t>(surface->w))),
        static_cast<int>(NextPowerOfTwo(static_cast<std::uint32_t>(surface->h))), format->BitsPerPixel, format->Rmask,
        format->Gmask, format->Bmask, format->Amask));
    if (!converted) throw DRAVSDL::CSDLException();
    // A plain copy keeps the source's alpha instead of blending it over black.
    if (SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE) < 0) throw DRAVSDL::CSDLException();
    if (SDL_UpperBlit(surface, nullptr, converted.get(), nullptr) < 0) throw DRAVSDL::CSDLException();
    return converted.release();
}

void RecolourSurface(SDL_Surface* surface, const SDL_Rect* rect, const DRAVGraph::CGraphicColors& colours) {
    SDL_Rect area{0, 0, surface->w, surface->h};
    if (rect) SDL_IntersectRect(rect, &area, &area);
    auto channel = [](std::uint32_t colour, int shift) { return (colour >> shift) & 0xFFu; };
    const std::uint32_t hair = colours.GetColor(DRAVGraph::CGraphicColors::HAIR);
    const std::uint32_t skin = colours.GetColor(DRAVGraph::CGraphicColors::SKIN);
    const std::uint32_t trim = colours.GetColor(DRAVGraph::CGraphicColors::TRIM);
    auto mix = [&](int shift, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        return std::min(channel(hair, shift) * r + channel(skin, shift) * g + channel(trim, shift) * b, 65280u) >> 8;
    };
    SurfaceLock lock(surface);
    for (int y = area.y; y < area.y + area.h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = area.x; x < area.x + area.w; ++x) {
            const std::uint32_t pixel = row[x];
            const std::uint32_t r = channel(pixel, 16), g = channel(pixel, 8), b = channel(pixel, 0);
            row[x] = (pixel & 0xFF000000u) | (mix(16, r, g, b) << 16) | (mix(8, r, g, b) << 8) | mix(0, r, g, b);
        }
    }
}

std::shared_ptr<CXPTexture> CreateTextureFromSurface(CXPDevice* device, SDL_Surface* surface) {
    SurfacePtr converted;
    SDL_Surface* working = surface;
    if (!IsPowerOfTwoArgb(surface)) {
        converted.reset(ConvertToPowerOfTwoArgb(surface));
        working = converted.get();
    }
    const auto width = static_cast<UINT>(working->w);
    const auto height = static_cast<UINT>(working->h);
    IDirect3DDevice9* d3d = device->GetDevice();

    IDirect3DTexture9* rawStaging = nullptr;
    CheckDeviceCall(d3d->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &rawStaging, nullptr));
    D3DPtr<IDirect3DTexture9> staging(rawStaging);
    {
        SurfaceLock lock(working);
        D3DLOCKED_RECT locked{};
        CheckDeviceCall(staging->LockRect(0, &locked, nullptr, 0));
        for (UINT row = 0; row < height; ++row)
            std::memcpy(static_cast<std::uint8_t*>(locked.pBits) + row * static_cast<std::size_t>(locked.Pitch),
                        static_cast<const std::uint8_t*>(working->pixels) + row * static_cast<std::size_t>(working->pitch),
                        width * 4);
        CheckDeviceCall(staging->UnlockRect(0));
    }
    IDirect3DTexture9* rawTexture = nullptr;
    CheckDeviceCall(d3d->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &rawTexture, nullptr));
    D3DPtr<IDirect3DTexture9> texture(rawTexture);
    CheckDeviceCall(d3d->UpdateTexture(staging.get(), texture.get()));
    return std::make_shared<CXPTexture>(texture.release(), surface->w, surface->h, static_cast<std::int32_t>(width),
                                        static_cast<std::int32_t>(height));
}

std::shared_ptr<CXPTexture> LoadTexture(CXPDevice* device, const ByteVector& bytes,
                                        const DRAVGraph::CGraphicColors* colours, const std::string& fileName) {
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!stream) throw DRAVSDL::CSDLException();
    SurfacePtr decoded(IMG_Load_RW(stream, 1));
    if (!decoded)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "Image " + fileName + " cannot be decoded: " + SDL_GetError());
    CheckImageSize(device, decoded->w, decoded->h, fileName);
    SurfacePtr converted;
    SDL_Surface* working = decoded.get();
    if (!IsPowerOfTwoArgb(working)) {
        converted.reset(ConvertToPowerOfTwoArgb(working));
        working = converted.get();
    }
    if (colours) RecolourSurface(working, nullptr, *colours);
    auto texture = CreateTextureFromSurface(device, working);
    texture->SetImageSize(decoded->w, decoded->h);
    return texture;
}

std::shared_ptr<CXPTexture> LoadTextureFile(CXPDevice* device, CDataFileFactory& source, DataFileKind kind,
                                            DataFileSubkind subkind, const std::string& name,
                                            const DRAVGraph::CGraphicColors* colours) {
    auto bytes = source.ReadAll(kind, subkind, name);
    return LoadTexture(device, *bytes, colours, DescribeDataFile(kind, subkind, name));
}

std::shared_ptr<CXPTexture> CreateColourTexture(CXPDevice* device, std::uint32_t colour, double alpha) {
    PixelFormatPtr format(SDL_AllocFormat(SDL_PIXELFORMAT_ARGB8888));
    if (!format) throw DRAVSDL::CSDLException();
    std::uint32_t pixel = SDL_MapRGBA(format.get(), (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF,
                                      static_cast<std::uint8_t>(std::clamp(alpha, 0.0, 1.0) * 255.0));
    SurfacePtr surface(SDL_CreateRGBSurfaceFrom(&pixel, 1, 1, 32, 4, format->Rmask, format->Gmask, format->Bmask,
                                                format->Amask));
    if (!surface) throw DRAVSDL::CSDLException();
    return CreateTextureFromSurface(device, surface.get());
}

}  // namespace DRAVCommon
