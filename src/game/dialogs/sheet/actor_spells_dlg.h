#pragma once
// Tab 4 of the sheet: the actor's spells and powers as two grids of icons. A
// right click describes an ability; dragging one onto quick-action slot 4 to 9
// makes that slot cast it. The grids keep their scroll positions while another
// dialog covers the page.

#include <string>

#include "game/dialogs/sheet/base_actor_dlg2.h"

namespace DRAV {
class CSpell;
}
namespace DRAVUI {
class CUICheckButton;
class CUISpellListWindow;
}  // namespace DRAVUI

class CActorSpellsDlg : public CBaseActorDlg2 {
public:
    static constexpr int kHideUnusable = 200;
    static constexpr int kResetActions = 201;
    static constexpr int kFirstAbility = 1000;
    static constexpr int kLastAbility = 1999;
    // Quick-action slots below this one are fixed.
    static constexpr int kFirstAssignableSlot = 4;

    CActorSpellsDlg(CDRAVApp* app, DRAV::CActor* actor) : CBaseActorDlg2(app, actor) {}

    std::string GetTitle() override { return CBaseActorDlg2::GetTitle() + " - Abilities"; }
    bool OnButton(int id) override;
    bool OnAltClick(int id) override;
    void OnBeginDrag(int id) override;
    void OnEndDrag() override;
    void OnDrop(int sourceId, int targetId) override;
    void OnSuspend() override;
    int GetTabIndex() override { return kAbilitiesTab; }
    int GetHelpTopic() override { return 19; }
    void CreatePage(RECT page, DRAVUI::CUIManager& container) override;

    // True for an ability id; the ability goes to `ability` when given.
    bool GetAbilityOfId(int id, const DRAV::CSpell** ability) const;
    DRAVUI::CUISpellListWindow* GetSpellsList() const { return m_spells; }
    DRAVUI::CUISpellListWindow* GetPowersList() const { return m_powers; }

private:
    void FillLists();

    DRAVUI::CUICheckButton* m_hideUnusable = nullptr;
    DRAVUI::CUISpellListWindow* m_spells = nullptr;
    DRAVUI::CUISpellListWindow* m_powers = nullptr;
    int m_savedSpellsPosition = 0;
    int m_savedPowersPosition = 0;
};
