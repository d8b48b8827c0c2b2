#pragma once
// Device textures made from images: decoded by SDL2_image, converted to 32-bit
// ARGB with power-of-two sides (the picture in the top-left corner, the rest
// transparent black), optionally recoloured with a colour set, and uploaded through
// a system-memory staging texture.

#include <cstdint>
#include <memory>
#include <string>

#include "common/data_file.h"
#include "graphics/xp_device.h"

struct SDL_Surface;
struct SDL_Rect;

namespace DRAVGraph {
class CGraphicColors;
}

namespace DRAVCommon {

class CXPTexture {
public:
    // Takes over one reference to `texture`, released by the destructor.
    CXPTexture(IDirect3DTexture9* texture, std::int32_t imageWidth, std::int32_t imageHeight,
               std::int32_t textureWidth, std::int32_t textureHeight);
    ~CXPTexture();
    CXPTexture(const CXPTexture&) = delete;
    CXPTexture& operator=(const CXPTexture&) = delete;

    IDirect3DTexture9* GetTexture() const { return m_texture; }
    std::int32_t GetImageWidth() const { return m_imageWidth; }
    std::int32_t GetImageHeight() const { return m_imageHeight; }
    std::int32_t GetTextureWidth() const { return m_textureWidth; }
    std::int32_t GetTextureHeight() const { return m_textureHeight; }
    void SetImageSize(std::int32_t width, std::int32_t height) {
        m_imageWidth = width;
        m_imageHeight = height;
    }

private:
    IDirect3DTexture9* m_texture;
    std::int32_t m_imageWidth;
    std::int32_t m_imageHeight;
    std::int32_t m_textureWidth;
    std::int32_t m_textureHeight;
};

// The smallest power of two not below x (next(1) = 1, next(5) = 8).
std::uint32_t NextPowerOfTwo(std::uint32_t x);

// A PNG or JPEG file's bytes as a texture, recoloured when `colours` is given.
// An image that does not decode, or whose size is 0 or beyond the device's limit,
// is code 1 naming `fileName`; a failed device call is code 5.
std::shared_ptr<CXPTexture> LoadTexture(CXPDevice* device, const ByteVector& bytes,
                                        const DRAVGraph::CGraphicColors* colours, const std::string& fileName);

// The image file `name` of that kind and subkind, read whole from `source`.
std::shared_ptr<CXPTexture> LoadTextureFile(CXPDevice* device, CDataFileFactory& source, DataFileKind kind,
                                            DataFileSubkind subkind, const std::string& name,
                                            const DRAVGraph::CGraphicColors* colours = nullptr);

// 1 x 1 texture of `colour` (0x00RRGGBB) with alpha x 255 truncated.
std::shared_ptr<CXPTexture> CreateColourTexture(CXPDevice* device, std::uint32_t colour, double alpha);

// The surface is not consumed. The image size is the surface's own.
std::shared_ptr<CXPTexture> CreateTextureFromSurface(CXPDevice* device, SDL_Surface* surface);

bool IsPowerOfTwoArgb(SDL_Surface* surface);
// A new ARGB8888 surface with power-of-two sides holding the source at (0, 0); the caller frees it.
SDL_Surface* ConvertToPowerOfTwoArgb(SDL_Surface* surface);
// Red, green and blue of each pixel say how much hair, skin and trim colour it takes.
void RecolourSurface(SDL_Surface* surface, const SDL_Rect* rect, const DRAVGraph::CGraphicColors& colours);

}  // namespace DRAVCommon
