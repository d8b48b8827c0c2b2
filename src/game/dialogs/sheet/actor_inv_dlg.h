#pragma once
// The inventory page of the actor sheet, and the question it asks before an actor
// wields an item it is not proficient with.

#include <cstdint>
#include <memory>
#include <vector>

#include "game/dialogs/sheet/base_actor_dlg2.h"
#include "game/dialogs/sheet/inv_drop_table.h"
#include "game/dialogs/yes_no_dlg.h"

namespace DRAV {
class CActor;
class CItem;
}  // namespace DRAV
namespace DRAVUI {
class CUIItemsListWindow;
class CUIStaticText;
class CUITextElement;
}  // namespace DRAVUI

// Tab 2 of the sheet: the seven equipment slots on the paper doll, the backpack,
// the container or pile beside the actor, and the weight, gold and attack and
// defence figures. A dominated actor's page is built read-only.
class CActorInvDlg : public CBaseActorDlg2 {
public:
    // `containerId` 0: the page looks for a container beside the actor itself.
    CActorInvDlg(CDRAVApp* app, DRAV::CActor* actor, DRAV::ThingId containerId);
    ~CActorInvDlg() override;

    std::string GetTitle() override { return CBaseActorDlg2::GetTitle() + " - Inventory"; }
    bool OnAltClick(int id) override;
    void OnBeginDrag(int id) override;
    void OnEndDrag() override;
    void OnDrop(int sourceId, int targetId) override;
    int GetTabIndex() override { return kInventoryTab; }
    int GetHelpTopic() override { return 17; }
    void CreatePage(RECT page, DRAVUI::CUIManager& container) override;

    // Every widget shows the actor afresh.
    void Refresh();
    DRAV::CObject* GetContainer() const { return m_table.GetContainer(); }
    bool CanChange() const { return m_canChange; }
    // The drop table the page acts through.
    CInvDropTable& Table() { return m_table; }

private:
    CInvDropTable m_table;
    bool m_canChange;
    std::vector<DRAVUI::CUIActionElement2*> m_slots;
    DRAVUI::CUIItemsListWindow* m_backpackList = nullptr;
    DRAVUI::CUIItemsListWindow* m_pileList = nullptr;
    DRAVUI::CUIStaticText* m_weightText = nullptr;
    DRAVUI::CUIStaticText* m_goldText = nullptr;
    DRAVUI::CUITextElement* m_statsText = nullptr;
};

// "Wield?": Yes empties the slot when it is occupied and wields the item; No
// leaves everything as it was.
class CActorInvDlgConfirmWield : public CYesNoDlg {
public:
    CActorInvDlgConfirmWield(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor, std::shared_ptr<DRAV::CItem> item,
                             std::int32_t slot);

    void OnYes() override;
    void OnNo() override {}

private:
    std::shared_ptr<DRAV::CActor> m_actor;
    std::shared_ptr<DRAV::CItem> m_item;
    std::int32_t m_slot;
};
