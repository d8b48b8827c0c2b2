#pragma once
// The 48 x 48 square that shows one thing as an icon: a quick-action slot, an item
// of a backpack or store, an ability, a party portrait. It draws a button face,
// the icon with its badges, the hit-point and energy bars, a label, a stack count
// and a power's check box, and lets the player drag the icon (flag 8).

#include <cstdint>
#include <memory>
#include <string>

#include "graphics/ui_font_draw.h"
#include "ui/ui_element.h"

namespace DRAV {
class CActor;
class CItem;
class CItemTemplate;
class CModule;
class CSpell;
}  // namespace DRAV

namespace DRAVUI {

// What the action slots and the action bar ask of the application about quick
// actions and the selection.
class IQuickActionOwner {
public:
    virtual ~IQuickActionOwner() = default;
    // The first actor of the selection, or null.
    virtual DRAV::CActor* GetSelectedActor() = 0;
    // 0 none, 2 attack, 10 use item, 11 cast, 12 talk, 20 action; code 4 for an
    // actor without quick actions.
    virtual int GetQuickActionKind(const DRAV::CActor& actor, int slot) = 0;
    // The item or spell name stored in the slot; empty for none.
    virtual std::string GetQuickActionItem(const DRAV::CActor& actor, int slot) = 0;
    virtual std::string GetQuickActionSpell(const DRAV::CActor& actor, int slot) = 0;
    // The actor's current slot, 10 for none.
    virtual int GetCurrentQuickAction(const DRAV::CActor& actor) = 0;
    // Where stored names are looked up.
    virtual const DRAV::CModule& GetModule() = 0;
};

class CUIActionElement2 : public CUIElement {
public:
    static constexpr int kSize = 48;
    // The check box of a power: none, an inactive power, the active power.
    enum State : std::int32_t { STATE_NONE = 0, STATE_POWER = 1, STATE_ACTIVE_POWER = 2 };

    // `keepsHint`: the describers' action hint stays outside quick-action mode.
    // `isQuickActionSlot`: an assignable slot, which offers "Set Action".
    CUIActionElement2(std::shared_ptr<CUIConfig> config, int id, bool keepsHint, bool isQuickActionSlot);

    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    void DrawDrag(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    // Finds nothing while dragging, so the widget under the icon can be found.
    bool HitTest(const POINT* point, CUIElement** outElement, int* outId) override;
    int OnMouse(int kind, const POINT* point) override;

    // Empties label, state and record.
    void Reset();
    void ShowNone();
    void ShowTalk();
    void ShowAttack();
    void ShowAction();
    // Priced and draggable when `merchant`'s store buys the item's kind.
    void SetItem(const DRAV::CItem& item, const DRAV::CActor& merchant, const DRAV::CActor* viewer);
    void SetItemTemplate(const DRAV::CItemTemplate& item);
    void SetAbility(const DRAV::CActor& actor, const DRAV::CSpell& spell);
    // Shows quick-action slot `slot` of `actor`. A stored name the module lacks
    // shows an empty slot.
    void SetQuickAction(const DRAV::CActor& actor, int slot, IQuickActionOwner& owner);
    // "F1" for slot 0 .. "F10" for slot 9.
    void SetSlotLabel(int slot);
    void UpdateActionHint();

    const std::string& GetLabel() const { return m_label; }
    std::int32_t GetState() const { return m_state; }
    bool IsDragging() const { return m_dragging; }

private:
    void ShowIcon(int icon, const char* title);
    void DrawBody(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse);

    bool m_keepsHint;
    bool m_isQuickActionSlot;
    std::string m_label;
    std::int32_t m_state = STATE_NONE;
    bool m_dragging = false;
    RECT m_savedRect{0, 0, 0, 0};
    std::shared_ptr<CUITextTexture> m_countText;
    std::shared_ptr<CUITextTexture> m_labelText;
};

}  // namespace DRAVUI
