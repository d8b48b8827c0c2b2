#include "graphics/ui_font_draw.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>

#include "common/rect_scale.h"

namespace DRAVUI {

CUIFontDraw::CUIFontDraw(DRAVCommon::CDataFileFactory& source, std::uint32_t size, std::uint32_t scalePercent)
    : m_scalePercent(scalePercent) {
    m_fontData = source.ReadAll(DRAVCommon::DFK_UI, DRAVCommon::DFS_NONE, "OpenSans-Regular.ttf");
    SDL_RWops* stream = SDL_RWFromMem(m_fontData->data(), static_cast<int>(m_fontData->size()));
    if (!stream) throw DRAVSDL::CSDLException();
    m_stream = DRAVSDL::RWopsPtr(stream, DRAVSDL::CloseRWops);
    m_font = TTF_OpenFontRW(stream, 0, static_cast<int>(size * scalePercent / 100));
    if (!m_font) throw DRAVSDL::CSDLException();
    TTF_SetFontHinting(m_font, TTF_HINTING_NORMAL);
}

CUIFontDraw::~CUIFontDraw() {
    if (m_font) TTF_CloseFont(m_font);
}

std::int32_t CUIFontDraw::GetLineHeight() const { return ScaleCoordinate(TTF_FontHeight(m_font), 100, m_scalePercent); }

std::int32_t CUIFontDraw::DrawText(CUISprite& sprite, std::shared_ptr<CUITextTexture>& slot, const std::string& text,
                                   const RECT& rect, std::uint32_t colour, std::uint32_t alignment) {
    if (text.empty()) return 0;
    if (slot && (slot->layoutRect.right - slot->layoutRect.left != rect.right - rect.left || slot->text != text))
        slot.reset();
    if (!slot) {
        slot = RenderTextTexture(sprite, text, rect);
        if (!slot) return 0;
    }
    return PlaceText(alignment, sprite, *slot, rect, colour);
}

std::int64_t CUIFontDraw::WrapWidth(const RECT& rect) const {
    return static_cast<std::int64_t>(ScaleCoordinate(rect.right, m_scalePercent, 100)) -
           ScaleCoordinate(rect.left, m_scalePercent, 100);
}

std::string CUIFontDraw::FitOnOneLine(const std::string& text, const RECT& rect) const {
    const std::int64_t room = WrapWidth(rect);
    const auto fits = [&](const std::string& line) {
        int width = 0, height = 0;
        if (TTF_SizeText(m_font, line.c_str(), &width, &height) != 0) throw DRAVSDL::CSDLException();
        return width <= room;
    };
    if (room <= 0) return "";
    if (fits(text)) return text;
    for (std::size_t kept = text.size(); kept-- > 0;) {
        std::string cut = text.substr(0, kept);
        while (!cut.empty() && cut.back() == ' ') cut.pop_back();
        cut += "...";
        if (fits(cut)) return cut;
    }
    return "";
}

std::shared_ptr<CUITextTexture> CUIFontDraw::RenderTextTexture(CUISprite& sprite, const std::string& text,
                                                               const RECT& rect) {
    const std::int64_t wrap = WrapWidth(rect);
    // A box with no width has no room for any text: nothing is rendered and no
    // empty texture is made.
    if (wrap <= 0) return nullptr;
    SDL_Surface* surface = TTF_RenderText_Blended_Wrapped(m_font, text.c_str(), SDL_Color{255, 255, 255, 255},
                                                          static_cast<Uint32>(wrap));
    if (!surface) throw DRAVSDL::CSDLException();
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> owned(surface, SDL_FreeSurface);
    if (surface->w <= 0 || surface->h <= 0) return nullptr;
    auto result = std::make_shared<CUITextTexture>();
    result->texture = DRAVCommon::CreateTextureFromSurface(sprite.GetDevice(), surface);
    result->text = text;
    result->textRect = RECT{0, 0, surface->w, surface->h};
    result->layoutRect = rect;
    return result;
}

std::int32_t CUIFontDraw::PlaceText(std::uint32_t alignment, CUISprite& sprite, const CUITextTexture& textTexture,
                                    const RECT& rect, std::uint32_t colour) {
    const std::uint32_t s = m_scalePercent;
    auto toUi = [s](LONG v) { return ScaleCoordinate(v, 100, s); };
    auto toTexture = [s](LONG v) { return ScaleCoordinate(v, s, 100); };
    LONG tl = toUi(textTexture.textRect.left), tt = toUi(textTexture.textRect.top);
    LONG tr = toUi(textTexture.textRect.right), tb = toUi(textTexture.textRect.bottom);
    const LONG tw = tr - tl, th = tb - tt;
    LONG L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
    auto centreHorizontally = [&] {
        L = (L + R) / 2 - tw / 2;
        R = L + tw;
    };
    auto centreVertically = [&] {
        T = T + ((B - T) / 2 - th / 2);
        B = T + th;
    };
    switch (alignment) {
    case ALIGN_TOP_CENTRE:
        B = T + th;
        centreHorizontally();
        break;
    case ALIGN_MIDDLE_LEFT:
        centreVertically();
        R = L + tw;
        break;
    case ALIGN_MIDDLE_CENTRE:
        centreVertically();
        centreHorizontally();
        break;
    case ALIGN_TOP_LEFT:
        B = T + th;
        R = L + tw;
        break;
    case ALIGN_BOTTOM_RIGHT:
        T = B - th;
        L = R - tw;
        break;
    case ALIGN_TOP_LEFT_CUT:
        if (th > B - T) tb = tt + (B - T);
        else B = T + th;
        R = L + tw;
        break;
    case ALIGN_BOTTOM_LEFT_CUT:
        if (th > B - T) tt = tb - (B - T);
        else T = B - th;
        R = L + tw;
        break;
    default: break;  // stretched over the whole rectangle
    }
    const RECT box{L, T, R, B};
    const RECT source{toTexture(tl), toTexture(tt), toTexture(tr), toTexture(tb)};
    sprite.Draw(box, &source, colour, CUISprite::MODE_STRETCH, textTexture.texture);
    return std::max(toUi(textTexture.textRect.bottom - textTexture.textRect.top), B - T);
}

}  // namespace DRAVUI
