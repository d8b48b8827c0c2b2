#pragma once
// The action bar: a column of ten action slots, one per quick-action slot of an
// actor (0 to 3 fixed, 4 to 9 assignable). It follows the selection unless it was
// made for one actor, and describes its slots once after each change the owner
// announces with ClearFilled.

#include <memory>
#include <vector>

#include "ui/ui_action_element.h"

namespace DRAVUI {

class CUIActionWindow2 : public CUIElement {
public:
    static constexpr int kSlotCount = 10;
    static constexpr int kFirstAssignableSlot = 4;

    // Slots firstSlotId + i; `actor` null follows the selection.
    CUIActionWindow2(int id, int firstSlotId, IQuickActionOwner* owner, const DRAV::CActor* actor,
                     std::shared_ptr<CUIConfig> config);

    // Slot i goes to (left, top + 48 i).
    void SetRect(const RECT& rect) override;
    // Flag 4 also goes to the assignable slots, never to slots 0 to 3.
    void SetFlag(std::uint32_t mask, bool on) override;
    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    // The bar itself, or the slot under the point.
    bool HitTest(const POINT* point, CUIElement** outElement, int* outId) override;

    // Describes the slots for the bar's actor (or the selected one) once per change.
    void RefreshSlots();
    void ClearFilled() { m_filled = false; }
    bool IsFilled() const { return m_filled; }
    CUIActionElement2& Slot(int i) { return *m_slots.at(static_cast<std::size_t>(i)); }

private:
    IQuickActionOwner* m_owner;
    const DRAV::CActor* m_actor;
    bool m_filled = false;
    std::vector<std::shared_ptr<CUIActionElement2>> m_slots;
};

}  // namespace DRAVUI
