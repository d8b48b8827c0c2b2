#pragma once
// Trading with a store keeper: the chosen member's equipment or backpack on the
// left, the store's stock on the right, a button per member within reach. Items
// change hands by drag and drop only; each trade is a store order the engine runs
// at once, after which everything is read again from the game.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/dialogs/dialog.h"
#include "game/dialogs/yes_no_dlg.h"

namespace DRAV {
class CActor;
class CItem;
}  // namespace DRAV
namespace DRAVUI {
class CUIActionElement2;
class CUIElement;
class CUIImageBackground;
class CUIItemsListWindow;
class CUIStaticText;
class CUITextButton;
}  // namespace DRAVUI

class CStoreDlg : public CDRAVDlg {
public:
    static constexpr int kDone = 1;
    static constexpr int kBackpackList = 2;
    static constexpr int kStoreList = 3;
    static constexpr int kHelp = 4;
    static constexpr int kEquipmentTab = 6;
    static constexpr int kBackpackTab = 7;
    static constexpr int kMemberBase = 100;
    static constexpr int kBackpackBase = 1000;
    static constexpr int kStoreBase = 2000;
    static constexpr int kSlotBase = 3000;
    static constexpr int kSlotCount = 7;
    static constexpr std::int32_t kToBackpack = 7;

    CStoreDlg(CDRAVApp* app, DRAV::CActor* trader, DRAV::CActor* keeper);

    std::string GetTitle() override;
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    bool OnKey(int key, bool shift, int* result) override;
    bool OnAltClick(int id) override;
    void OnBeginDrag(int id) override;
    void OnEndDrag() override;
    void OnDrop(int sourceId, int targetId) override;
    void OnSuspend() override;
    void OnClose(int) override {}

    // Every widget filled again from the game.
    void Refresh();

    DRAV::CActor* GetMember() const { return m_member; }
    bool IsEquipmentView() const { return m_equipmentView; }
    std::uint32_t GetBackpackScroll() const { return m_backpackScroll; }
    std::uint32_t GetStoreScroll() const { return m_storeScroll; }

private:
    void SelectMember(DRAV::CActor& member, bool keepScroll);
    void Trade(bool buy, const DRAV::CItem& item, std::int32_t slot);
    void DropOnStore(const DRAV::CItem& item, bool fromBackpack);
    void DropOnBackpack(const DRAV::CItem& item);
    void DropOnSlot(const DRAV::CItem& item, std::int32_t slot);
    void Confirm(const DRAV::CItem& item, bool proficiency, std::int32_t slot);
    // The item behind a cell or slot id, or null.
    DRAV::CItem* ItemOf(int id) const;
    void ShowHelp();

    DRAV::CActor* m_trader;
    DRAV::CActor* m_member;
    DRAV::CActor* m_keeper;
    bool m_equipmentView = false;
    std::uint32_t m_backpackScroll = 0;
    std::uint32_t m_storeScroll = 0;
    DRAVUI::CUIItemsListWindow* m_backpackList = nullptr;
    DRAVUI::CUIItemsListWindow* m_storeList = nullptr;
    DRAVUI::CUIStaticText* m_goldText = nullptr;
    std::vector<std::shared_ptr<DRAVUI::CUIActionElement2>> m_memberButtons;
    DRAVUI::CUITextButton* m_equipmentTab = nullptr;
    DRAVUI::CUITextButton* m_backpackTab = nullptr;
    std::vector<DRAVUI::CUIActionElement2*> m_slotElements;
    DRAVUI::CUIImageBackground* m_paperDoll = nullptr;
};

// Asks before buying what the member cannot use or is not proficient with.
class CStoreDlgConfirm : public CYesNoDlg {
public:
    CStoreDlgConfirm(CDRAVApp* app, DRAV::CActor* keeper, DRAV::CActor* member, DRAV::CItem* item,
                     bool proficiency, std::int32_t slot);

    void OnYes() override;
    void OnNo() override {}

private:
    DRAV::CActor* m_keeper;
    DRAV::CActor* m_member;
    DRAV::CItem* m_item;
    std::int32_t m_slot;
};

// The store order for `count` items, run at once, with the trade's sound.
void RunStoreOrder(CDRAVApp& app, DRAV::CActor& member, const DRAV::CActor& keeper, bool buy,
                   const DRAV::CItem& item, std::uint32_t count, std::int32_t slot);
