#include "ui/ui_static_text.h"

#include "platform/win32/rect.h"
#include "platform/win32/virtual_keys.h"
#include "ui/ui_draw_help.h"

namespace DRAVUI {

CUIStaticText::CUIStaticText(std::string text, int id, std::shared_ptr<CUIConfig> config)
    : CUIElement(id, std::move(config)), m_text(std::move(text)) {}

void CUIStaticText::Realize(DRAVCommon::CXPDevice*, CUIDrawHelp&) {}

void CUIStaticText::Draw(DRAVCommon::CXPDevice*, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) {
    if (!HasFlag(UIF_SHOWN)) return;
    const bool hovered = HasFlag(UIF_BACKGROUND) && HitTest(mouse, nullptr, nullptr);
    if (hovered) help.FillRect(sprite, 0xFFFFFFFF, m_rect);
    RECT r = m_rect;
    if (HasFlag(UIF_FRAMED)) {
        const std::uint32_t frame = HasFlag(UIF_SELECTED) ? 0xFF00FF00 : 0xFF808080;
        help.DrawBevel(sprite, frame, frame, r, 1);
        InflateRect(&r, -2, -2);
    }
    if (IsRectEmpty(&r)) return;
    std::uint32_t alignment;
    if (HasFlag(UIF_ONE_LINE))
        alignment = HasFlag(UIF_CENTRED) ? CUIFontDraw::ALIGN_MIDDLE_CENTRE : CUIFontDraw::ALIGN_MIDDLE_LEFT;
    else
        alignment = HasFlag(UIF_CENTRED) ? CUIFontDraw::ALIGN_MIDDLE_CENTRE : CUIFontDraw::ALIGN_TOP_LEFT_CUT;
    CUIFontDraw& font = HasFlag(UIF_SMALL_FONT) ? help.SmallFont() : help.LargeFont();
    font.DrawText(sprite, m_textSlot, m_text, r, hovered ? 0xFF000000 : 0xFFFFFFFF, alignment);
}

void CUIStaticText::OnKey(std::uint32_t virtualKey, bool shift) {
    if (virtualKey == VK_BACK) {
        if (!m_text.empty()) m_text.pop_back();
        return;
    }
    char typed = 0;
    if (virtualKey >= '0' && virtualKey <= '9') {
        if (!shift) typed = static_cast<char>(virtualKey);
    } else if (virtualKey >= 'A' && virtualKey <= 'Z') {
        typed = static_cast<char>(shift ? virtualKey : virtualKey - 'A' + 'a');
    } else if (virtualKey == VK_SPACE) {
        typed = ' ';
    } else if (virtualKey == VK_SUBTRACT || virtualKey == VK_OEM_MINUS) {
        typed = shift ? '_' : '-';
    }
    if (typed != 0 && m_text.size() < m_maxLength) m_text.push_back(typed);
}

}  // namespace DRAVUI
