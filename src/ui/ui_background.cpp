#include "ui/ui_background.h"

#include "platform/win32/rect.h"
#include "ui/ui_draw_help.h"

namespace DRAVUI {

CUIBackground::CUIBackground(std::shared_ptr<CUIConfig> config) : CUIElement(0, std::move(config)) {}

void CUIBackground::FitAround(const std::list<std::shared_ptr<CUIElement>>& elements) {
    if (elements.empty()) return;
    RECT bounds = *elements.front()->GetRect();
    for (const auto& element : elements) UnionRect(&bounds, &bounds, element->GetRect());
    SetRect(bounds);
}

void CUIBackground::Realize(DRAVCommon::CXPDevice*, CUIDrawHelp&) {}

void CUIBackground::Draw(DRAVCommon::CXPDevice*, CUIDrawHelp& help, CUISprite& sprite, const POINT*) {
    if (!HasFlag(UIF_SHOWN)) return;
    help.DrawBevel(sprite, 0xFFFFFFFF, 0xFFFFFFFF, m_rect, 1);
    if (HasFlag(UIF_BACKGROUND)) help.FillRect(sprite, m_colour, Inflated(m_rect, -1));
}

bool CUIBackground::HitTest(const POINT*, CUIElement**, int*) { return false; }

CUIImageBackground::CUIImageBackground(std::shared_ptr<CUIConfig> config, int imageId, std::uint32_t tint)
    : CUIElement(0, std::move(config)), m_tint(tint), m_imageId(imageId) {}

void CUIImageBackground::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    help.LoadImage(device, m_imageId);
}

void CUIImageBackground::Draw(DRAVCommon::CXPDevice*, CUIDrawHelp& help, CUISprite& sprite, const POINT*) {
    if (HasFlag(UIF_SHOWN)) help.DrawImageRect(sprite, m_rect, m_imageId, m_tint);
}

bool CUIImageBackground::HitTest(const POINT*, CUIElement**, int*) { return false; }

}  // namespace DRAVUI
