#include "game/dialogs/talk/store_dlg.h"

#include <algorithm>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/maps/help_dlg.h"
#include "game/dialogs/maps/help_pages.h"
#include "game/dialogs/sheet/item_dlg.h"
#include "game/dialogs/talk/store_count_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "ui/element_info.h"
#include "ui/ui_action_element.h"
#include "ui/ui_background.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_items_list.h"
#include "ui/ui_manager.h"
#include "ui/ui_scroll_bar.h"
#include "ui/ui_static_text.h"
#include "world/actor.h"
#include "world/game.h"
#include "world/item.h"
#include "world/order.h"

namespace {

constexpr int kClickSound = 0;
constexpr int kTradeSound = 3;
constexpr int kHelpIcon = 77;
constexpr int kPaperDollImage = 9;
constexpr std::uint32_t kPaperDollTint = 0x14FFFFFF;

// Where each slot sits on the paper doll, by slot number.
constexpr POINT kSlotOffsets[CStoreDlg::kSlotCount] = {{16, 192}, {144, 192}, {80, 160}, {80, 16},
                                                       {80, 96},  {144, 128}, {16, 128}};

// The id's offset within the range starting at `base`, or -1 outside it.
int InRange(int id, int base) {
    const auto offset = static_cast<unsigned>(id - base);
    return offset < 1000 ? static_cast<int>(offset) : -1;
}

DRAV::CGame& GameOf(CDRAVApp& app) { return *app.GetEngine()->GetGame(); }

std::uint32_t PartyGold(CDRAVApp& app) { return static_cast<std::uint32_t>(std::max(0, GameOf(app).GetGold())); }

void PlaceAt(DRAVUI::CUIElement& element, const RECT& box, int x, int y) {
    element.MoveTo(POINT{box.left + x, box.top + y});
}

void KeepScroll(DRAVUI::CUIItemsListWindow& list, std::uint32_t position) {
    DRAVUI::CUIScrollBar& bar = list.ScrollBar();
    bar.m_position = std::min(position, bar.m_range);
    bar.UpdateThumb();
}

}  // namespace

void RunStoreOrder(CDRAVApp& app, DRAV::CActor& member, const DRAV::CActor& keeper, bool buy,
                   const DRAV::CItem& item, std::uint32_t count, std::int32_t slot) {
    member.PushInstantOrder(std::make_shared<DRAV::CStoreOrder>(buy, keeper.GetId(), item.GetId(), count, slot));
    app.RunInstantOrders();
    if (app.GetAudio()) app.GetAudio()->PlaySound(kTradeSound);
}

CStoreDlg::CStoreDlg(CDRAVApp* app, DRAV::CActor* trader, DRAV::CActor* keeper)
    : CDRAVDlg(app), m_trader(trader), m_member(trader), m_keeper(keeper) {}

std::string CStoreDlg::GetTitle() { return m_keeper->GetName() + " - Buy/Sell"; }

void CStoreDlg::CreateControls(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    const bool large = config->IsLarge();
    const int down = large ? 32 : 0;  // the large layout is 32 taller, below the top row
    const RECT box = CenteredBox(area, 736, large ? 576 : 544);

    auto help = std::make_shared<DRAVUI::CUIImageButton>(config, kHelp, kHelpIcon);
    help->SetRect(RECT{0, 0, 40, 40});
    help->SetFlag(DRAVUI::UIF_CENTRED, true);
    PlaceAt(*help, box, large ? 288 : 224, 16);
    container.AddElement(help);

    auto hover = std::make_shared<DRAVUI::CUIHoverWindow>(config);
    PlaceAt(*hover, box, 16, 16);
    container.AddElement(hover);

    auto tabs = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0, 16, config);
    const RECT tabRect{0, 0, large ? 128 : 96, 32};
    auto equipmentTab = std::make_shared<DRAVUI::CUITextButton>(kEquipmentTab, "Equipment", config);
    auto backpackTab = std::make_shared<DRAVUI::CUITextButton>(kBackpackTab, "Backpack", config);
    for (const auto& tab : {equipmentTab, backpackTab}) {
        tab->SetRect(tabRect);
        tab->SetFlag(DRAVUI::UIF_BACKGROUND, true);
        tabs->AddChild(tab);
    }
    tabs->CenterOn(POINT{box.left + 240, box.top + 128 + down});
    container.AddElement(tabs);
    m_equipmentTab = equipmentTab.get();
    m_backpackTab = backpackTab.get();

    auto doll = std::make_shared<DRAVUI::CUIImageBackground>(config, kPaperDollImage, kPaperDollTint);
    doll->SetRect(RECT{0, 0, 208, 320});
    PlaceAt(*doll, box, 128, 160 + down);
    container.AddElement(doll);
    m_paperDoll = doll.get();
    m_slotElements.clear();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        auto element = std::make_shared<DRAVUI::CUIActionElement2>(config, kSlotBase + slot, true, false);
        element->SetFlag(DRAVUI::UIF_DRAGGABLE, true);
        PlaceAt(*element, box, 128 + kSlotOffsets[slot].x, 160 + down + kSlotOffsets[slot].y);
        container.AddElement(element);
        m_slotElements.push_back(element.get());
    }

    auto backpack = std::make_shared<DRAVUI::CUIItemsListWindow>(config, kBackpackList, "Backpack", 6, 6,
                                                                 DRAVUI::CUIItemsListWindow::MODE_OFFERED);
    PlaceAt(*backpack, box, 80, 160 + down);
    container.AddElement(backpack);
    m_backpackList = backpack.get();
    auto store = std::make_shared<DRAVUI::CUIItemsListWindow>(config, kStoreList, "Store", 6, 7,
                                                              DRAVUI::CUIItemsListWindow::MODE_STORE_GOODS);
    PlaceAt(*store, box, 400, 112 + down);
    container.AddElement(store);
    m_storeList = store.get();

    // The trader always trades; the others only from where the keeper can reach them.
    m_memberButtons.clear();
    int top = 112 + down;
    for (const auto& member : GameOf(*m_app).GetParty()) {
        if (member.get() != m_trader && !member->IsWithinReach(*m_keeper)) continue;
        auto button = std::make_shared<DRAVUI::CUIActionElement2>(
            config, kMemberBase + static_cast<int>(member->GetPartyIndex()), false, false);
        DRAVUI::ElementInfo::DescribeThing(button->GetInfo(), member.get(), member.get());
        PlaceAt(*button, box, 16, top);
        top += DRAVUI::CUIActionElement2::kSize + 16;
        container.AddElement(button);
        m_memberButtons.push_back(button);
    }

    auto gold = std::make_shared<DRAVUI::CUIStaticText>("", 0, config);
    gold->SetRect(RECT{0, 0, large ? 192 : 160, 32});
    gold->SetFlag(DRAVUI::UIF_FRAMED | DRAVUI::UIF_CENTRED | DRAVUI::UIF_ONE_LINE, true);
    PlaceAt(*gold, box, 16, 496 + down);
    container.AddElement(gold);
    m_goldText = gold.get();

    const int doneWidth = large ? 192 : 160;
    auto done = std::make_shared<DRAVUI::CUITextButton>(kDone, "Done Shopping", config);
    done->SetRect(RECT{box.right - 16 - doneWidth, box.bottom - 48, box.right - 16, box.bottom - 16});
    container.AddElement(done);

    Refresh();
}

void CStoreDlg::Refresh() {
    m_backpackList->SetFlag(DRAVUI::UIF_SHOWN, !m_equipmentView);
    m_paperDoll->SetFlag(DRAVUI::UIF_SHOWN, m_equipmentView);
    for (auto* slot : m_slotElements) slot->SetFlag(DRAVUI::UIF_SHOWN, m_equipmentView);
    m_equipmentTab->SetFlag(DRAVUI::UIF_SELECTED, m_equipmentView);
    m_backpackTab->SetFlag(DRAVUI::UIF_SELECTED, !m_equipmentView);

    if (m_equipmentView) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            DRAVUI::CUIActionElement2& element = *m_slotElements[static_cast<std::size_t>(slot)];
            if (const DRAV::CItem* item = m_member->GetEquipped(static_cast<DRAV::EquipSlot>(slot))) {
                element.SetItem(*item, *m_keeper, m_member);
            } else {
                element.Reset();
                element.SetFlag(DRAVUI::UIF_DRAGGABLE, false);
                element.SetInfoNoAction(DRAV::CActor::GetEquipSlotName(slot), "Drag to purchase.");
            }
        }
    } else {
        m_backpackList->SetCaption(m_member->GetName());
        m_backpackList->ClearRows();
        m_backpackList->Fill(m_member->GetBackpack(), kBackpackBase, m_member, m_keeper);
        KeepScroll(*m_backpackList, m_backpackScroll);
    }
    m_storeList->ClearRows();
    m_storeList->Fill(m_keeper->GetStoreItems(), kStoreBase, m_member, m_keeper);
    KeepScroll(*m_storeList, m_storeScroll);

    m_goldText->m_text = std::to_string(PartyGold(*m_app)) + " gold";
    const int current = kMemberBase + static_cast<int>(m_member->GetPartyIndex());
    for (const auto& button : m_memberButtons) button->SetFlag(DRAVUI::UIF_SELECTED, button->GetId() == current);
}

void CStoreDlg::OnSuspend() {
    m_backpackScroll = m_equipmentView ? 0 : m_backpackList->ScrollBar().m_position;
    m_storeScroll = m_storeList->ScrollBar().m_position;
}

void CStoreDlg::SelectMember(DRAV::CActor& member, bool keepScroll) {
    if (keepScroll) {
        OnSuspend();
    } else {
        m_backpackScroll = 0;
        m_storeScroll = 0;
    }
    m_member = &member;
    Refresh();
    if (m_app->GetAudio()) m_app->GetAudio()->PlaySound(kClickSound);
}

bool CStoreDlg::OnButton(int id) {
    if (id == kDone) return true;
    if (id == kHelp) {
        ShowHelp();
    } else if (id == kEquipmentTab || id == kBackpackTab) {
        // Saved for the new view: the backpack list, hidden under the equipment,
        // keeps its place in the widget for the way back.
        m_equipmentView = id == kEquipmentTab;
        OnSuspend();
        Refresh();
        if (m_app->GetAudio()) m_app->GetAudio()->PlaySound(kClickSound);
    } else if (const int index = InRange(id, kMemberBase); index >= 0 && index < 100) {
        const DRAV::ActorList party = GameOf(*m_app).GetParty();
        if (static_cast<std::size_t>(index) < party.size() && party[static_cast<std::size_t>(index)].get() != m_member)
            SelectMember(*party[static_cast<std::size_t>(index)], false);
    }
    return false;
}

bool CStoreDlg::OnKey(int key, bool, int* result) {
    if (key == static_cast<int>(VK_ESCAPE) || key == static_cast<int>(VK_RETURN)) {
        *result = 0;
        return true;
    }
    if (key == static_cast<int>(VK_OEM_2)) {
        ShowHelp();
        return false;
    }
    const int position = key - '1';
    if (position < 0 || position >= static_cast<int>(m_memberButtons.size())) return false;
    const auto index = static_cast<std::size_t>(m_memberButtons[static_cast<std::size_t>(position)]->GetId() - kMemberBase);
    const DRAV::ActorList party = GameOf(*m_app).GetParty();
    if (index < party.size()) SelectMember(*party[index], party[index].get() == m_member);
    return false;
}

// The store's help page comes with the help pages; until then the button is inert.
void CStoreDlg::ShowHelp() { m_app->SetDialog(false, std::make_shared<CHelpDlg>(m_app, FindHelpPageByKey("store"))); }

// The page of a stock, backpack or worn item, as the member sees it; nothing is
// used from a store.
bool CStoreDlg::OnAltClick(int id) {
    if (DRAV::CItem* item = ItemOf(id)) m_app->SetDialog(false, std::make_shared<CItemDlg>(m_app, *item, m_member, false));
    return false;
}

DRAV::CItem* CStoreDlg::ItemOf(int id) const {
    if (const int i = InRange(id, kBackpackBase); i >= 0) {
        const DRAV::ItemPtrList items = m_member->GetBackpack();
        return static_cast<std::size_t>(i) < items.size() ? items[static_cast<std::size_t>(i)].get() : nullptr;
    }
    if (const int i = InRange(id, kStoreBase); i >= 0) {
        const DRAV::ItemPtrList items = m_keeper->GetStoreItems();
        return static_cast<std::size_t>(i) < items.size() ? items[static_cast<std::size_t>(i)].get() : nullptr;
    }
    if (const int s = InRange(id, kSlotBase); s >= 0 && s < kSlotCount)
        return m_member->GetEquipped(static_cast<DRAV::EquipSlot>(s));
    return nullptr;
}

void CStoreDlg::OnBeginDrag(int id) {
    if (InRange(id, kBackpackBase) >= 0 || InRange(id, kSlotBase) >= 0) {
        m_storeList->SetFlag(DRAVUI::UIF_SELECTED, true);
        return;
    }
    if (InRange(id, kStoreBase) < 0) return;
    const DRAV::CItem* item = ItemOf(id);
    if (!item) return;
    if (!m_equipmentView) {
        m_backpackList->SetFlag(DRAVUI::UIF_SELECTED, true);
        return;
    }
    for (int slot = 0; slot < kSlotCount; ++slot)
        m_slotElements[static_cast<std::size_t>(slot)]->SetFlag(DRAVUI::UIF_SELECTED,
                                                                m_member->CanEquipInSlot(slot, *item));
}

void CStoreDlg::OnEndDrag() {
    m_storeList->SetFlag(DRAVUI::UIF_SELECTED, false);
    if (m_equipmentView)
        for (auto* slot : m_slotElements) slot->SetFlag(DRAVUI::UIF_SELECTED, false);
    else
        m_backpackList->SetFlag(DRAVUI::UIF_SELECTED, false);
}

void CStoreDlg::OnDrop(int sourceId, int targetId) {
    OnEndDrag();
    DRAV::CItem* item = ItemOf(sourceId);
    if (!item) return;
    const bool onStore = targetId == kStoreList || InRange(targetId, kStoreBase) >= 0;
    const bool onBackpack = targetId == kBackpackList || InRange(targetId, kBackpackBase) >= 0;
    const int slot = InRange(targetId, kSlotBase);
    if (InRange(sourceId, kBackpackBase) >= 0 && onStore)
        DropOnStore(*item, true);
    else if (InRange(sourceId, kSlotBase) >= 0 && onStore)
        DropOnStore(*item, false);
    else if (InRange(sourceId, kStoreBase) >= 0 && onBackpack)
        DropOnBackpack(*item);
    else if (InRange(sourceId, kStoreBase) >= 0 && slot >= 0 && slot < kSlotCount)
        DropOnSlot(*item, slot);
}

void CStoreDlg::DropOnStore(const DRAV::CItem& item, bool fromBackpack) {
    // Refused, the item stays, and the refusal is shown over the store, whose page
    // hides the log: the sale the order rule turns down, in its words.
    const DRAV::CStoreOrder sale(false, m_keeper->GetId(), item.GetId(), 1, kToBackpack);
    if (m_app->RefusesOrder(*m_member, sale, true)) {
        m_app->SetDialog(true, std::make_shared<CTextDlg>(m_app, m_keeper->GetName(), m_app->GetMessageLog().back(),
                                                          nullptr, true));
        return;
    }
    if (fromBackpack && item.GetCount() > 1) {
        m_app->SetDialog(true, std::make_shared<CStoreCountDlg>(m_app, m_member, m_keeper, false,
                                                                const_cast<DRAV::CItem*>(&item)));
        return;
    }
    Trade(false, item, kToBackpack);
}

void CStoreDlg::DropOnBackpack(const DRAV::CItem& item) {
    if (!m_member->CanUseItem(item)) return Confirm(item, false, kToBackpack);
    if (!m_member->IsProficientWith(item)) return Confirm(item, true, kToBackpack);
    const std::uint64_t twice = 2ull * item.GetTemplate().GetValue();
    if (item.GetCount() > 1 && item.GetTemplate().GetKind() == DRAV::ITEM_POTION && PartyGold(*m_app) >= twice) {
        m_app->SetDialog(true, std::make_shared<CStoreCountDlg>(m_app, m_member, m_keeper, true,
                                                                const_cast<DRAV::CItem*>(&item)));
        return;
    }
    Trade(true, item, kToBackpack);
}

void CStoreDlg::DropOnSlot(const DRAV::CItem& item, std::int32_t slot) {
    if (!m_member->CanEquipInSlot(slot, item)) return;
    if (!m_member->IsProficientWith(item)) return Confirm(item, true, slot);
    Trade(true, item, slot);
}

void CStoreDlg::Confirm(const DRAV::CItem& item, bool proficiency, std::int32_t slot) {
    m_app->SetDialog(true, std::make_shared<CStoreDlgConfirm>(m_app, m_keeper, m_member,
                                                              const_cast<DRAV::CItem*>(&item), proficiency, slot));
}

void CStoreDlg::Trade(bool buy, const DRAV::CItem& item, std::int32_t slot) {
    RunStoreOrder(*m_app, *m_member, *m_keeper, buy, item, 1, slot);
    OnSuspend();
    Refresh();
}

namespace {

std::string ConfirmQuestion(const DRAV::CActor& member, const DRAV::CItem& item, bool proficiency) {
    const DRAV::CItemTemplate& kind = item.GetTemplate();
    const char* why = !proficiency                          ? " cannot use "
                      : kind.GetKind() == DRAV::ITEM_SCROLL ? " cannot cast the spell on "
                                                            : " is not proficient in the use of ";
    return member.GetName() + why + kind.GetName() + ". Are you certain you wish to buy " + kind.GetName() + "?";
}

}  // namespace

CStoreDlgConfirm::CStoreDlgConfirm(CDRAVApp* app, DRAV::CActor* keeper, DRAV::CActor* member, DRAV::CItem* item,
                                   bool proficiency, std::int32_t slot)
    : CYesNoDlg(app, "Confirm buy?", ConfirmQuestion(*member, *item, proficiency)),
      m_keeper(keeper),
      m_member(member),
      m_item(item),
      m_slot(slot) {}

void CStoreDlgConfirm::OnYes() { RunStoreOrder(*m_app, *m_member, *m_keeper, true, *m_item, 1, m_slot); }
