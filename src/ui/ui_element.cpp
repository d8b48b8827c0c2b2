#include "ui/ui_element.h"

#include "common/exception.h"
#include "platform/win32/rect.h"
#include "ui/ui_draw_help.h"

namespace DRAVUI {

RECT Inflated(const RECT& rect, int d) {
    RECT result = rect;
    InflateRect(&result, d, d);
    return result;
}

CUIElement::CUIElement(int id, std::shared_ptr<CUIConfig> config) : m_config(std::move(config)), m_id(id) {}

CUIElement::~CUIElement() = default;

void CUIElement::SetRect(const RECT& rect) { m_rect = rect; }

RECT* CUIElement::GetRect() { return &m_rect; }

void CUIElement::SetFlag(std::uint32_t mask, bool on) {
    if (on) m_flags |= mask;
    else m_flags &= ~mask;
}

bool CUIElement::HasFlag(std::uint32_t mask) { return (m_flags & mask) != 0; }

void CUIElement::DrawDrag(DRAVCommon::CXPDevice*, CUIDrawHelp&, CUISprite&, const POINT*) {}

bool CUIElement::IsUnder(const POINT* point) { return HasFlag(UIF_SHOWN) && point && PtInRect(&m_rect, *point); }

bool CUIElement::HitTest(const POINT* point, CUIElement** outElement, int* outId) {
    if (!IsUnder(point)) return false;
    if (outId) *outId = m_id;
    if (outElement) *outElement = this;
    return true;
}

int CUIElement::OnMouse(int kind, const POINT*) {
    switch (kind) {
    case MOUSE_PRESS: return ANSWER_CLICK;
    case MOUSE_DOUBLE_CLICK:
    case MOUSE_RIGHT_PRESS: return HasFlag(UIF_ALT_IS_CLICK) ? ANSWER_CLICK : ANSWER_ALT_CLICK;
    default: return ANSWER_NONE;
    }
}

ElementInfo& CUIElement::GetInfo() { return m_info; }

bool CUIElement::FindScrollTarget(const POINT*, CUIElement** out) {
    if (out) *out = nullptr;
    return false;
}

void CUIElement::GetScrollBar(CUIScrollBar**, int*) { throw CDRAVException(DRAV_ERR_OUT_OF_RANGE); }

void CUIElement::SetInfo(const std::string& title, const std::string& text, const std::string& actionHint) {
    m_info.Clear();
    m_info.title = title;
    m_info.text = text;
    m_info.actionHint = actionHint;
    if (!actionHint.empty()) {
        m_info.kind = INFO_ACTION;
        m_info.subjectId = m_id;
    }
}

void CUIElement::SetInfoNoAction(const std::string& title, const std::string& text) { SetInfo(title, text, ""); }

void CUIElement::CenterOn(POINT centre) {
    const RECT r = *GetRect();
    const LONG w = Width(r), h = Height(r);
    const LONG left = centre.x - w / 2, top = centre.y - h / 2;
    SetRect(RECT{left, top, left + w, top + h});
}

void CUIElement::MoveTo(POINT topLeft) {
    const RECT r = *GetRect();
    SetRect(RECT{topLeft.x, topLeft.y, topLeft.x + Width(r), topLeft.y + Height(r)});
}

void CUIElement::SetSize(int width, int height) {
    const RECT r = *GetRect();
    SetRect(RECT{r.left, r.top, r.left + width, r.top + height});
}

void CUIElement::DrawBackground(CUISprite& sprite) {
    if (HasFlag(UIF_BACKGROUND)) CUIDrawHelp::FillRect(sprite, kPanelBackground, m_rect);
}

}  // namespace DRAVUI
