#include "ui/ui_scroll_bar.h"

#include <algorithm>

#include "platform/win32/rect.h"
#include "ui/ui_draw_help.h"

namespace DRAVUI {

CUIScrollBar::CUIScrollBar(std::shared_ptr<CUIConfig> config)
    : CUIElement(0, config), m_thumb(std::make_shared<CUIImageButton>(config, 0, IMAGE_SCROLL_THUMB)) {}

std::uint32_t CUIScrollBar::Travel() const {
    return static_cast<std::uint32_t>(std::max<LONG>(0, Height(m_rect) - 2 * kEndZone));
}

void CUIScrollBar::SetRect(const RECT& rect) {
    CUIElement::SetRect(rect);
    UpdateThumb();
}

void CUIScrollBar::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) { m_thumb->Realize(device, help); }

void CUIScrollBar::Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) {
    if (IsRectEmpty(&m_rect)) return;
    help.FillRect(sprite, kPanelBackground, m_rect);
    m_thumb->Draw(device, help, sprite, mouse);
}

int CUIScrollBar::OnMouse(int kind, const POINT* point) {
    switch (kind) {
    case MOUSE_PRESS:
        if (point) SetFromMouse(point->y);
        UpdateThumb();
        return ANSWER_DRAG;
    case MOUSE_DRAG_MOVE:
        if (point) SetFromMouse(point->y);
        UpdateThumb();
        return ANSWER_REFRESH;
    case MOUSE_RELEASE:
        if (point) {
            SetFromMouse(point->y);
            UpdateThumb();
        }
        return ANSWER_REFRESH;
    default: return ANSWER_NONE;
    }
}

void CUIScrollBar::Scroll(int step) {
    const std::int64_t wanted = static_cast<std::int64_t>(m_position) + step;
    m_position = static_cast<std::uint32_t>(std::clamp<std::int64_t>(wanted, 0, m_range));
    UpdateThumb();
}

void CUIScrollBar::SetFromMouse(int y) {
    const std::uint32_t travel = Travel();
    if (m_range == 0 || y < m_rect.top + kEndZone) m_position = 0;
    else if (y > m_rect.bottom - kEndZone) m_position = m_range;
    // A bar with no room between its end zones has only its two ends.
    else if (travel == 0) m_position = 0;
    else
        m_position = std::min<std::uint32_t>(
            static_cast<std::uint32_t>(static_cast<std::uint64_t>(y - m_rect.top - kEndZone) * m_range / travel),
            m_range);
}

void CUIScrollBar::UpdateThumb() {
    const std::uint32_t offset =
        m_range == 0 ? 0 : static_cast<std::uint32_t>(static_cast<std::uint64_t>(Travel()) * m_position / m_range);
    const LONG top = m_rect.top + 1 + static_cast<LONG>(offset);
    // A bar too short for the whole thumb keeps the thumb inside it.
    const LONG bottom = std::min<LONG>(top + kThumbHeight, std::max<LONG>(top, m_rect.bottom - 1));
    m_thumb->SetRect(RECT{m_rect.left + 1, top, m_rect.right - 1, bottom});
}

}  // namespace DRAVUI
