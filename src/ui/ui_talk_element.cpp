#include "ui/ui_talk_element.h"

#include "platform/win32/rect.h"
#include "ui/text_markup.h"
#include "ui/ui_draw_help.h"

namespace DRAVUI {
namespace {

constexpr int kEntryGap = 5;

}  // namespace

CUITalkElement::CUITalkElement(std::shared_ptr<CUIConfig> config, const std::vector<std::string>* texts,
                               const std::vector<std::string>* choices, std::int32_t firstChoiceId)
    : CUIElement(0, std::move(config)),
      m_texts(texts),
      m_choices(choices),
      m_firstChoiceId(firstChoiceId),
      m_scrollBar(std::make_shared<CUIScrollBar>(m_config)) {
    const std::size_t entries = (m_texts ? m_texts->size() : 0) + (m_choices ? m_choices->size() : 0);
    m_scrollBar->m_range = entries > 0 ? static_cast<std::uint32_t>(entries - 1) : 0;
    m_scrollBar->m_position = std::min(m_scrollBar->m_position, m_scrollBar->m_range);
    m_scrollBar->UpdateThumb();
    SetFlag(UIF_ALT_IS_CLICK, true);
}

void CUITalkElement::SetRect(const RECT& rect) {
    m_scrollBar->SetRect(RECT{rect.right - 25, rect.top + 1, rect.right - 1, rect.bottom - 1});
    CUIElement::SetRect(rect);
}

void CUITalkElement::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) { m_scrollBar->Realize(device, help); }

void CUITalkElement::Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite,
                          const POINT* mouse) {
    if (!HasFlag(UIF_SHOWN)) return;
    RECT box = m_rect;
    CUIDrawHelp::DrawBevel(sprite, 0xFFFFFFFF, 0xFFFFFFFF, box, 1);
    InflateRect(&box, -1, -1);
    m_scrollBar->Draw(device, help, sprite, mouse);
    box.right -= 24;
    InflateRect(&box, -1, -1);

    CUIFontDraw& font = help.LargeFont();
    std::map<int, std::shared_ptr<CUITextTexture>> drawn;
    // The slot of the entry at `index` in the column, carried over from the last draw.
    auto slotFor = [&](int index) -> std::shared_ptr<CUITextTexture>& {
        auto found = m_textCache.find(index);
        if (found != m_textCache.end()) drawn[index] = found->second;
        return drawn[index];
    };

    std::int64_t n = -static_cast<std::int64_t>(m_scrollBar->m_position);
    int index = 0;
    if (m_texts) {
        for (const std::string& line : *m_texts) {
            if (n >= 0 && box.top < box.bottom) {
                const int h = font.DrawText(sprite, slotFor(index), BreakMarkedLines(line), box, 0xFFFFFFFF,
                                            CUIFontDraw::ALIGN_TOP_LEFT_CUT);
                box.top += h + kEntryGap;
            }
            ++n;
            ++index;
        }
    }
    m_choiceRects.clear();
    if (m_choices) {
        for (const std::string& reply : *m_choices) {
            if (n < 0 || box.top >= box.bottom) {
                m_choiceRects.push_back(RECT{0, 0, 0, 0});
            } else {
                std::shared_ptr<CUITextTexture>& slot = slotFor(index);
                const std::string text = BreakMarkedLines(reply);
                const int h = font.DrawText(sprite, slot, text, box, 0xFFFFFFFF, CUIFontDraw::ALIGN_TOP_LEFT_CUT);
                const RECT r{box.left, box.top, box.right, box.top + h};
                m_choiceRects.push_back(r);
                if (mouse && PtInRect(&r, *mouse)) {
                    CUIDrawHelp::FillRect(sprite, 0xFFFFFFFF, r);
                    font.DrawText(sprite, slot, text, box, 0xFF000000, CUIFontDraw::ALIGN_TOP_LEFT_CUT);
                }
                box.top += h + kEntryGap;
            }
            ++n;
            ++index;
        }
    }
    m_textCache = std::move(drawn);
}

bool CUITalkElement::HitTest(const POINT* point, CUIElement** outElement, int* outId) {
    if (!IsUnder(point)) return false;
    if (m_scrollBar->HitTest(point, outElement, outId)) return true;
    for (std::size_t i = 0; i < m_choiceRects.size(); ++i) {
        if (!PtInRect(&m_choiceRects[i], *point)) continue;
        if (outElement) *outElement = this;
        if (outId) *outId = m_firstChoiceId + static_cast<std::int32_t>(i);
        return true;
    }
    return false;
}

bool CUITalkElement::FindScrollTarget(const POINT* point, CUIElement** out) {
    const bool target = IsUnder(point);
    if (out) *out = target ? this : nullptr;
    return target;
}

void CUITalkElement::GetScrollBar(CUIScrollBar** out, int* lineStep) {
    if (out) *out = m_scrollBar.get();
    if (lineStep) *lineStep = m_config->Pick(20, 12);
}

}  // namespace DRAVUI
