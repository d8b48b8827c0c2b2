#include "ui/ui_action_window.h"

#include "ui/ui_draw_help.h"

namespace DRAVUI {

CUIActionWindow2::CUIActionWindow2(int id, int firstSlotId, IQuickActionOwner* owner, const DRAV::CActor* actor,
                                   std::shared_ptr<CUIConfig> config)
    : CUIElement(id, std::move(config)), m_owner(owner), m_actor(actor) {
    for (int i = 0; i < kSlotCount; ++i)
        m_slots.push_back(std::make_shared<CUIActionElement2>(m_config, firstSlotId + i, false,
                                                              i >= kFirstAssignableSlot));
    m_slots.front()->SetFlag(UIF_SELECTED, true);
    SetRect(RECT{0, 0, CUIActionElement2::kSize, CUIActionElement2::kSize * kSlotCount});
}

void CUIActionWindow2::SetRect(const RECT& rect) {
    CUIElement::SetRect(rect);
    for (int i = 0; i < kSlotCount; ++i)
        m_slots[static_cast<std::size_t>(i)]->MoveTo(POINT{rect.left, rect.top + CUIActionElement2::kSize * i});
}

void CUIActionWindow2::SetFlag(std::uint32_t mask, bool on) {
    CUIElement::SetFlag(mask, on);
    if (mask != UIF_SELECTED) return;
    for (int i = kFirstAssignableSlot; i < kSlotCount; ++i) m_slots[static_cast<std::size_t>(i)]->SetFlag(mask, on);
}

void CUIActionWindow2::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    for (auto& slot : m_slots) slot->Realize(device, help);
}

bool CUIActionWindow2::HitTest(const POINT* point, CUIElement** outElement, int* outId) {
    if (!CUIElement::HitTest(point, outElement, outId)) return false;
    for (auto& slot : m_slots)
        if (slot->HitTest(point, outElement, outId)) break;
    return true;
}

void CUIActionWindow2::RefreshSlots() {
    if (m_filled || !m_owner) return;
    const DRAV::CActor* actor = m_actor ? m_actor : m_owner->GetSelectedActor();
    // Nobody to show: the slots wait for a selection.
    if (!actor) return;
    const int current = m_owner->GetCurrentQuickAction(*actor);
    for (int i = 0; i < kSlotCount; ++i) {
        CUIActionElement2& slot = *m_slots[static_cast<std::size_t>(i)];
        slot.SetFlag(UIF_SELECTED, i == current);
        slot.SetFlag(UIF_SHOWN, true);
        slot.SetQuickAction(*actor, i, *m_owner);
    }
    m_filled = true;
}

void CUIActionWindow2::Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite,
                            const POINT* mouse) {
    if (!HasFlag(UIF_SHOWN)) return;
    DrawBackground(sprite);
    RefreshSlots();
    for (auto& slot : m_slots) slot->Draw(device, help, sprite, mouse);
}

}  // namespace DRAVUI
