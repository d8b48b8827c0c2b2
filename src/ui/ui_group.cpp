#include "ui/ui_group.h"

#include "platform/win32/rect.h"
#include "ui/ui_draw_help.h"

namespace DRAVUI {

CUIGroup::CUIGroup(std::string caption, bool horizontal, bool border, std::uint32_t backgroundColour, int spacing,
                   std::shared_ptr<CUIConfig> config)
    : CUIElement(0, std::move(config)),
      m_caption(std::move(caption)),
      m_horizontal(horizontal),
      m_border(border),
      m_backgroundColour(backgroundColour),
      m_spacing(spacing) {
    m_rect = RECT{0, 0, 2 * Pad(), Pad() + TopOffset()};
}

CUIGroup::CUIGroup(std::shared_ptr<CUIConfig> config, std::string caption, bool horizontal, bool border,
                   std::uint32_t backgroundColour)
    : CUIGroup(std::move(caption), horizontal, border, backgroundColour, 1, std::move(config)) {}

int CUIGroup::TopOffset() const {
    if (!m_border) return 0;
    return Pad() + (m_caption.empty() ? 0 : CaptionHeight() + m_spacing);
}

void CUIGroup::AddChild(std::shared_ptr<CUIElement> child) {
    const RECT c = *child->GetRect();
    const LONG cw = Width(c), ch = Height(c);
    const LONG gap = m_children.empty() ? 0 : m_spacing;
    if (!m_horizontal) {
        const LONG needed = 2 * Pad() + cw;
        if (static_cast<std::uint32_t>(Width(m_rect)) < static_cast<std::uint32_t>(needed))
            m_rect.right = m_rect.left + needed;
        m_rect.bottom += ch + gap;
    } else {
        const LONG needed = TopOffset() + ch + Pad();
        if (static_cast<std::uint32_t>(Height(m_rect)) < static_cast<std::uint32_t>(needed))
            m_rect.bottom = m_rect.top + needed;
        m_rect.right += cw + gap;
    }
    m_children.push_back(std::move(child));
    Layout();
}

void CUIGroup::Layout() {
    if (!m_horizontal) {
        const LONG x0 = m_rect.left + Pad(), available = Width(m_rect) - 2 * Pad();
        LONG y = m_rect.top + TopOffset();
        for (auto& child : m_children) {
            const RECT c = *child->GetRect();
            const LONG left = x0 + (available - Width(c)) / 2;
            child->SetRect(RECT{left, y, left + Width(c), y + Height(c)});
            y += Height(c) + m_spacing;
        }
    } else {
        const LONG y0 = m_rect.top + TopOffset(), available = Height(m_rect) - TopOffset() - Pad();
        LONG x = m_rect.left + Pad();
        for (auto& child : m_children) {
            const RECT c = *child->GetRect();
            const LONG top = y0 + (available - Height(c)) / 2;
            child->SetRect(RECT{x, top, x + Width(c), top + Height(c)});
            x += Width(c) + m_spacing;
        }
    }
}

void CUIGroup::SetRect(const RECT& rect) {
    OffsetRect(&m_rect, rect.left - m_rect.left, rect.top - m_rect.top);
    Layout();
}

void CUIGroup::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    for (auto& child : m_children) child->Realize(device, help);
}

void CUIGroup::Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) {
    if (HasFlag(UIF_BACKGROUND)) help.FillRect(sprite, m_backgroundColour, m_rect);
    if (m_border) {
        const std::uint32_t frame = HasFlag(UIF_SELECTED) ? 0xFF00C000 : 0xFF404040;
        help.DrawBevel(sprite, frame, frame, m_rect, 1);
    }
    if (!m_caption.empty()) {
        RECT box = Inflated(m_rect, -Pad());
        box.bottom = box.top + CaptionHeight();
        if (!IsRectEmpty(&box))
            help.LargeFont().DrawText(sprite, m_captionSlot, m_caption, box, 0xFFFFFFFF,
                                      CUIFontDraw::ALIGN_MIDDLE_CENTRE);
    }
    for (auto& child : m_children) child->Draw(device, help, sprite, mouse);
}

bool CUIGroup::HitTest(const POINT* point, CUIElement** outElement, int* outId) {
    if (!IsUnder(point)) return false;
    for (auto& child : m_children)
        if (child->HitTest(point, outElement, outId)) return true;
    return false;
}

bool CUIGroup::FindScrollTarget(const POINT* point, CUIElement** out) {
    for (auto& child : m_children)
        if (child->FindScrollTarget(point, out)) return true;
    if (out) *out = nullptr;
    return false;
}

}  // namespace DRAVUI
