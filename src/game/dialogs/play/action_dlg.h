#pragma once
// Choosing an item to use or an ability to cast for one party member, bound to one
// of its quick-action slots. For slot 2, the action slot, "Done" also does it at once.

#include <string>

#include "game/dialogs/dialog.h"

namespace DRAV {
class CActor;
class CItem;
class CSpell;
}  // namespace DRAV
namespace DRAVUI {
class CUIActionElement2;
class CUIElement;
class CUIItemsListWindow;
class CUISpellListWindow;
}  // namespace DRAVUI

class CActionDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 1;
    static constexpr int kHelp = 2;
    static constexpr int kCancel = 3;
    static constexpr int kBackpackBase = 2000;
    static constexpr int kAbilityBase = 3000;

    CActionDlg(CDRAVApp* app, DRAV::CActor& actor, int slot);

    std::string GetTitle() override;
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    bool OnKey(int key, bool shift, int* result) override;
    bool OnAltClick(int id) override;
    void OnClose(int result) override;

    const DRAV::CItem* GetChosenItem() const { return m_chosenItem; }
    const DRAV::CSpell* GetChosenAbility() const { return m_chosenAbility; }

private:
    void Refresh();

    DRAV::CActor* m_actor;
    int m_slot;
    DRAVUI::CUIElement* m_doneButton = nullptr;
    DRAVUI::CUIActionElement2* m_preview = nullptr;
    DRAVUI::CUIItemsListWindow* m_itemList = nullptr;
    DRAVUI::CUISpellListWindow* m_abilityList = nullptr;
    DRAV::CItem* m_chosenItem = nullptr;
    int m_chosenItemId = 0;
    const DRAV::CSpell* m_chosenAbility = nullptr;
    int m_chosenAbilityId = 0;
};
