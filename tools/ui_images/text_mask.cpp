#include "ui_images/text_mask.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <memory>
#include <stdexcept>

namespace QuillmereTools {

TextMask RenderTextMask(const std::string& fontPath, int pointSize, const std::string& text) {
    if (!TTF_WasInit() && TTF_Init() != 0) throw std::runtime_error(std::string("TTF_Init: ") + TTF_GetError());
    std::unique_ptr<TTF_Font, void (*)(TTF_Font*)> font(TTF_OpenFont(fontPath.c_str(), pointSize), TTF_CloseFont);
    if (!font) throw std::runtime_error("cannot open the font " + fontPath + ": " + TTF_GetError());
    TTF_SetFontHinting(font.get(), TTF_HINTING_LIGHT);
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> rendered(
        TTF_RenderUTF8_Blended(font.get(), text.c_str(), SDL_Color{255, 255, 255, 255}), SDL_FreeSurface);
    if (!rendered) throw std::runtime_error("cannot render \"" + text + "\": " + TTF_GetError());
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
        SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_RGBA32, 0), SDL_FreeSurface);
    if (!surface) throw std::runtime_error(std::string("cannot convert rendered text: ") + SDL_GetError());

    TextMask mask;
    mask.width = surface->w;
    mask.height = surface->h;
    mask.coverage.resize(static_cast<std::size_t>(mask.width) * mask.height);
    SDL_LockSurface(surface.get());
    for (int y = 0; y < mask.height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(surface->pixels) + static_cast<std::size_t>(y) * surface->pitch;
        for (int x = 0; x < mask.width; ++x) mask.coverage[static_cast<std::size_t>(y) * mask.width + x] = row[x * 4 + 3];
    }
    SDL_UnlockSurface(surface.get());
    return mask;
}

}  // namespace QuillmereTools
