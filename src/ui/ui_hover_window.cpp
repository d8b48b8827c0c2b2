#include "ui/ui_hover_window.h"

#include <algorithm>

#include "platform/win32/rect.h"
#include "ui/info_icons.h"
#include "ui/ui_draw_help.h"

namespace DRAVUI {

CUIHoverWindow::CUIHoverWindow(std::shared_ptr<CUIConfig> config) : CUIBaseHoverWindow(std::move(config)) {
    SetRect(RECT{0, 0, WindowWidth(*m_config), WindowHeight(*m_config)});
    m_hintLine = std::make_shared<CUIStaticText>("", 0, m_config);
    m_hintLine->SetFlag(UIF_FRAMED | UIF_CENTRED | UIF_ONE_LINE, true);
    m_hintLine->SetRect(RECT{0, 0, HoverTextWidth(*m_config), 24});
}

void CUIHoverWindow::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    const LONG w = HoverTextWidth(*m_config);
    const LONG left = (m_rect.left + m_rect.right) / 2 - w / 2;
    m_hintLine->SetRect(RECT{left, m_rect.bottom - 25, left + w, m_rect.bottom - 1});
    m_hintLine->Realize(device, help);
}

void CUIHoverWindow::ShowInfo(const ElementInfo& info) { m_shown = info; }

void CUIHoverWindow::Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) {
    if (!HasFlag(UIF_SHOWN)) return;
    const RECT& R = m_rect;
    DrawBackground(sprite);
    CUIDrawHelp::DrawBevel(sprite, 0xFFFFFFFF, 0xFFFFFFFF, Inflated(R, 1), 1);

    RECT box = R;
    if (m_shown.icon != 0) {
        const RECT square{R.left, R.top + 8, R.left + 32, R.top + 40};
        DrawInfoIcon(device, help, sprite, square, m_shown);
        if (m_shown.count > 1)
            help.SmallFont().DrawText(sprite, m_countSlot, std::to_string(m_shown.count), square, 0xFFFFFFFF,
                                      CUIFontDraw::ALIGN_BOTTOM_RIGHT);
        box.left += 41;
    }
    if (m_shown.hasHitPointBar)
        CUIDrawHelp::DrawProgress(sprite, RECT{R.left, R.top + 1, R.left + 32, R.top + 7}, 0xFFFF0000,
                                  m_shown.hitPointFraction);
    if (m_shown.hasEnergyBar)
        CUIDrawHelp::DrawProgress(sprite, RECT{R.left, R.top + 41, R.left + 32, R.top + 47}, 0xFF0000FF,
                                  m_shown.energyFraction);
    if (!m_shown.title.empty()) {
        // A title that wraps takes as many lines as it needs.
        const std::int32_t height = help.LargeFont().DrawText(sprite, m_titleSlot, m_shown.title, box,
                                                              m_shown.titleColour, CUIFontDraw::ALIGN_TOP_CENTRE);
        box.top += std::max(height, help.LargeFont().GetLineHeight());
    }
    // The text is cut where the hint line begins rather than printed over it.
    if (!m_shown.actionHint.empty()) box.bottom = std::min(box.bottom, m_hintLine->GetRect()->top);
    if (box.top < box.bottom)
        help.LargeFont().DrawText(sprite, m_textSlot, m_shown.text, box, 0xFFFFFFFF, CUIFontDraw::ALIGN_TOP_LEFT_CUT);
    if (!m_shown.actionHint.empty()) {
        m_hintLine->m_text = "R-click for " + m_shown.actionHint;
        m_hintLine->Draw(device, help, sprite, mouse);
    }
}

}  // namespace DRAVUI
