#include "ui_images/image_file.h"

#include <SDL.h>
#include <SDL_image.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace QuillmereTools {

namespace {
constexpr int kJpegQuality = 90;
}  // namespace

void SaveImage(const Canvas& canvas, const std::string& path, bool jpeg) {
    std::vector<std::uint8_t> pixels = canvas.ToRgba();
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
        SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), canvas.Width(), canvas.Height(), 32, canvas.Width() * 4,
                                           SDL_PIXELFORMAT_RGBA32),
        SDL_FreeSurface);
    if (!surface) throw std::runtime_error(std::string("cannot wrap the pixels: ") + SDL_GetError());
    int result = jpeg ? IMG_SaveJPG(surface.get(), path.c_str(), kJpegQuality) : IMG_SavePNG(surface.get(), path.c_str());
    if (result != 0) throw std::runtime_error("cannot write " + path + ": " + IMG_GetError());
}

}  // namespace QuillmereTools
