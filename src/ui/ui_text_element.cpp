#include "ui/ui_text_element.h"

#include <algorithm>

#include "platform/win32/rect.h"
#include "ui/product_title.h"
#include "ui/text_markup.h"
#include "ui/ui_draw_help.h"

namespace DRAVUI {

CUIBaseTextElement::CUIBaseTextElement(int id, bool withScrollBar, bool fromTop, std::shared_ptr<CUIConfig> config)
    : CUIElement(id, std::move(config)), m_fromTop(fromTop) {
    if (withScrollBar) m_scrollBar = std::make_shared<CUIScrollBar>(m_config);
}

void CUIBaseTextElement::SetLines(const std::deque<std::string>* lines) {
    m_lines = lines;
    if (!m_scrollBar) return;
    const std::size_t count = lines ? lines->size() : 0;
    m_scrollBar->m_range = count == 0 ? 0 : static_cast<std::uint32_t>(count - 1);
    m_scrollBar->m_position = m_fromTop ? 0 : m_scrollBar->m_range;
    m_scrollBar->UpdateThumb();
}

void CUIBaseTextElement::SetRect(const RECT& rect) {
    CUIElement::SetRect(rect);
    if (m_scrollBar) m_scrollBar->SetRect(RECT{rect.right - 25, rect.top + 1, rect.right - 1, rect.bottom - 1});
}

void CUIBaseTextElement::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    if (m_scrollBar) m_scrollBar->Realize(device, help);
}

void CUIBaseTextElement::Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite,
                              const POINT* mouse) {
    if (!HasFlag(UIF_SHOWN)) return;
    const bool hovered = HitTest(mouse, nullptr, nullptr);
    if (hovered && HasFlag(UIF_BACKGROUND | UIF_TEXT_HOVER)) help.FillRect(sprite, 0xC0404040, m_rect);
    else DrawBackground(sprite);
    help.DrawBevel(sprite, 0xFFFFFFFF, 0xFFFFFFFF, m_rect, 1);
    RECT area = Inflated(m_rect, -1);
    if (m_scrollBar) area.right -= 24;
    std::map<int, std::shared_ptr<CUITextTexture>> drawn;
    InflateRect(&area, -1, -1);
    // A panel laid out with no room inside shows no lines.
    if (m_lines && !m_lines->empty() && !IsRectEmpty(&area)) {
        const int last = static_cast<int>(m_lines->size()) - 1;
        int first = m_scrollBar ? static_cast<int>(m_scrollBar->m_position) : m_fromTop ? 0 : last;
        first = std::clamp(first, 0, last);
        CUIFontDraw& font = help.LargeFont();
        for (int i = first; i >= 0 && i <= last; i += m_fromTop ? 1 : -1) {
            auto& slot = drawn[i];
            if (auto kept = m_lineSlots.find(i); kept != m_lineSlots.end()) slot = kept->second;
            // A log's lines may carry the line markers of the texts they quote.
            const std::string line = BreakMarkedLines((*m_lines)[static_cast<std::size_t>(i)]);
            if (m_fromTop) {
                int h = font.DrawText(sprite, slot, line, area, 0xFFFFFFFF, CUIFontDraw::ALIGN_TOP_LEFT_CUT);
                if (h == 0) h = LineStep();
                if (area.top + h >= area.bottom) break;
                area.top += h;
            } else {
                int h = font.DrawText(sprite, slot, line, area, 0xFFFFFFFF, CUIFontDraw::ALIGN_BOTTOM_LEFT_CUT);
                if (h == 0) h = LineStep();
                if (area.bottom - h <= area.top) break;
                area.bottom -= h;
            }
        }
    }
    m_lineSlots = std::move(drawn);
    if (m_scrollBar) m_scrollBar->Draw(device, help, sprite, mouse);
}

bool CUIBaseTextElement::HitTest(const POINT* point, CUIElement** outElement, int* outId) {
    if (!CUIElement::HitTest(point, outElement, outId)) return false;
    if (m_scrollBar) m_scrollBar->HitTest(point, outElement, outId);
    return true;
}

bool CUIBaseTextElement::FindScrollTarget(const POINT* point, CUIElement** out) {
    const bool target = m_scrollBar && IsUnder(point);
    if (out) *out = target ? this : nullptr;
    return target;
}

void CUIBaseTextElement::GetScrollBar(CUIScrollBar** out, int* lineStep) {
    if (!m_scrollBar) CUIElement::GetScrollBar(out, lineStep);
    if (out) *out = m_scrollBar.get();
    if (lineStep) *lineStep = LineStep();
}

CUIMessageWindow::CUIMessageWindow(int id, const std::deque<std::string>* messageLog, bool clickable,
                                   std::shared_ptr<CUIConfig> config)
    : CUIBaseTextElement(id, false, false, std::move(config)) {
    SetLines(messageLog);
    SetInfo("Messages", "", clickable ? "Show All" : "");
}

CUITextElement::CUITextElement(std::shared_ptr<CUIConfig> config, int id, std::string text, bool withScrollBar,
                               bool fromTop)
    : CUIBaseTextElement(id, withScrollBar, fromTop, std::move(config)) {
    SetText(text);
}

CUITextElement::CUITextElement(std::shared_ptr<CUIConfig> config, const std::deque<std::string>* lines)
    : CUIBaseTextElement(0, true, false, std::move(config)) {
    SetLines(lines);
}

void CUITextElement::SetText(const std::string& text) {
    const std::vector<std::string> lines = SplitMarkedLines(text, {{"GAMENAME", GetProductTitle()}});
    m_ownLines.assign(lines.begin(), lines.end());
    SetLines(&m_ownLines);
}

}  // namespace DRAVUI
