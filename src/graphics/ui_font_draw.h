#pragma once
// Interface text: a whole string rendered white with SDL2_ttf, wrapped to its box's
// width, into one texture that the widget keeps in its own slot and queues as one
// rectangle each frame, tinted by the rectangle's colour.

#include <cstdint>
#include <memory>
#include <string>

#include "common/data_file.h"
#include "common/sdl_init.h"
#include "graphics/ui_sprite.h"

typedef struct _TTF_Font TTF_Font;

namespace DRAVUI {

// One rendered string, cached in a slot of the widget that shows it.
struct CUITextTexture {
    std::shared_ptr<DRAVCommon::CXPTexture> texture;
    std::string text;
    RECT textRect;    // (0, 0, rendered width, rendered height) in texture pixels
    RECT layoutRect;  // the UI-pixel box it was rendered for; only its width matters
};

class CUIFontDraw {
public:
    // Alignment codes of DrawText.
    enum Alignment : std::uint32_t {
        ALIGN_TOP_CENTRE = 0,
        ALIGN_MIDDLE_LEFT = 1,
        ALIGN_MIDDLE_CENTRE = 2,
        ALIGN_TOP_LEFT = 3,
        ALIGN_BOTTOM_RIGHT = 4,
        ALIGN_TOP_LEFT_CUT = 5,
        ALIGN_BOTTOM_LEFT_CUT = 6,
    };

    // Opens "OpenSans-Regular.ttf" of kind "ui" from `source` at size x scale / 100 points.
    CUIFontDraw(DRAVCommon::CDataFileFactory& source, std::uint32_t size, std::uint32_t scalePercent);
    ~CUIFontDraw();
    CUIFontDraw(const CUIFontDraw&) = delete;
    CUIFontDraw& operator=(const CUIFontDraw&) = delete;

    // Queues `text` in `rect` (UI pixels) by `alignment`, rendering into `slot` only
    // when the slot is empty or holds another text or width. Returns the height used
    // in UI pixels; an empty text queues nothing and returns 0.
    std::int32_t DrawText(CUISprite& sprite, std::shared_ptr<CUITextTexture>& slot, const std::string& text,
                          const RECT& rect, std::uint32_t colour, std::uint32_t alignment);

    // `text` as it fits on one line of `rect`'s width: whole, else cut short and
    // ended with "...", else empty when not even that fits.
    std::string FitOnOneLine(const std::string& text, const RECT& rect) const;

    // The height of one line of this font in UI pixels.
    std::int32_t GetLineHeight() const;

    std::shared_ptr<CUITextTexture> RenderTextTexture(CUISprite& sprite, const std::string& text, const RECT& rect);
    std::int32_t PlaceText(std::uint32_t alignment, CUISprite& sprite, const CUITextTexture& textTexture,
                           const RECT& rect, std::uint32_t colour);

private:
    // The width of `rect` in rendered pixels, which text is wrapped to.
    std::int64_t WrapWidth(const RECT& rect) const;

    std::shared_ptr<DRAVCommon::ByteVector> m_fontData;
    DRAVSDL::RWopsPtr m_stream;
    TTF_Font* m_font = nullptr;
    std::uint32_t m_scalePercent;
};

}  // namespace DRAVUI
