#include "game/dialogs/sheet/actor_inv_dlg.h"

#include <iomanip>
#include <sstream>

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/sheet/item_dlg.h"
#include "rules/items/item_template.h"
#include "rules/kinds/attack_info.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/modifiers.h"
#include "rules/kinds/number_texts.h"
#include "ui/element_info.h"
#include "ui/ui_action_element.h"
#include "ui/ui_action_window.h"
#include "ui/ui_background.h"
#include "ui/ui_items_list.h"
#include "ui/ui_manager.h"
#include "ui/ui_static_text.h"
#include "ui/ui_text_element.h"
#include "world/actor.h"
#include "world/game.h"
#include "world/item.h"
#include "world/object.h"
#include "world/order.h"

namespace {

std::string WieldQuestion(const DRAV::CActor& actor, const DRAV::CItem& item) {
    const std::string& name = item.GetTemplate().GetName();
    return actor.GetName() + " is not proficient in the use of " + name + ". " +
           "Are you certain you wish to wield " + name + "?";
}

}  // namespace

CActorInvDlgConfirmWield::CActorInvDlgConfirmWield(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor,
                                                   std::shared_ptr<DRAV::CItem> item, std::int32_t slot)
    : CYesNoDlg(app, "Wield?", WieldQuestion(*actor, *item)),
      m_actor(std::move(actor)),
      m_item(std::move(item)),
      m_slot(slot) {}

void CActorInvDlgConfirmWield::OnYes() {
    if (m_actor->GetEquipped(static_cast<DRAV::EquipSlot>(m_slot)))
        m_actor->PushInstantOrder(std::make_shared<DRAV::CUnwieldOrder>(m_slot));
    m_actor->PushInstantOrder(std::make_shared<DRAV::CWieldOrder>(m_item->GetId(), m_slot));
    m_app->RunInstantOrders();
    m_app->DrainEngineEvents();
}

namespace {

using namespace DRAVUI;
using Table = CInvDropTable;

constexpr int kPaperDollImage = 9;
constexpr std::uint32_t kPaperDollTint = 0x14FFFFFF;
constexpr int kCellSize = 48;
constexpr int kListRows = 6;
constexpr std::uint32_t kFigureFlags = UIF_FRAMED | UIF_CENTRED | UIF_ONE_LINE;

// Where each equipment slot stands on the paper doll, before the layout's offset.
constexpr POINT kSlotPlaces[DRAV::kEquipSlotCount] = {{16, 192}, {144, 192}, {80, 160}, {80, 16},
                                                       {80, 96},  {144, 128}, {16, 128}};

std::string OneDecimal(double value) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << value;
    return text.str();
}

}  // namespace

CActorInvDlg::CActorInvDlg(CDRAVApp* app, DRAV::CActor* actor, DRAV::ThingId containerId)
    : CBaseActorDlg2(app, actor),
      m_table(*app, *actor, containerId),
      m_canChange(!actor->HasStatus(DRAV::STATUS_DOMINATED)) {
    m_table.SetRefresh([this] { Refresh(); });
}

CActorInvDlg::~CActorInvDlg() { m_slots.clear(); }

void CActorInvDlg::CreatePage(RECT page, CUIManager& container) {
    const auto config = container.GetConfig();
    auto at = [&](int x, int y) { return POINT{page.left + x, page.top + y}; };

    auto doll = std::make_shared<CUIImageBackground>(config, kPaperDollImage, kPaperDollTint);
    const POINT dollAt = at(config->Pick(48, 0), 0);
    doll->SetRect(RECT{dollAt.x, dollAt.y, page.left + config->Pick(256, 208), page.top + 352});
    container.AddElement(doll);

    m_slots.clear();
    const int slotOffset = config->Pick(48, 0);
    for (int slot = 0; slot < DRAV::kEquipSlotCount; ++slot) {
        auto widget = std::make_shared<CUIActionElement2>(config, Table::kSlotBase + slot, true, false);
        widget->SetSize(kCellSize, kCellSize);
        widget->SetFlag(UIF_DRAGGABLE, m_canChange);
        widget->MoveTo(at(slotOffset + kSlotPlaces[slot].x, kSlotPlaces[slot].y));
        container.AddElement(widget);
        m_slots.push_back(widget.get());
    }

    const auto listMode = m_canChange ? CUIItemsListWindow::MODE_OWN : CUIItemsListWindow::MODE_SHOWN;
    auto backpack = std::make_shared<CUIItemsListWindow>(config, Table::kBackpackList, "Backpack", 6, kListRows,
                                                         listMode);
    backpack->MoveTo(at(config->Pick(384, 240), 0));
    container.AddElement(backpack);
    m_backpackList = backpack.get();

    m_table.FindContainer();

    auto pile = std::make_shared<CUIItemsListWindow>(config, Table::kPileList, "", 1, kListRows, listMode);
    pile->MoveTo(at(config->Pick(816, 576), 0));
    container.AddElement(pile);
    m_pileList = pile.get();

    auto figure = [&](int x, int width) {
        auto text = std::make_shared<CUIStaticText>("", 0, config);
        const POINT place = at(x, 320);
        text->SetRect(RECT{place.x, place.y, place.x + width, place.y + 32});
        text->SetFlag(kFigureFlags, true);
        container.AddElement(text);
        return text.get();
    };
    m_weightText = figure(config->Pick(368, 272), config->Pick(240, 160));
    m_goldText = figure(config->Pick(704, 496), config->Pick(240, 160));

    auto stats = std::make_shared<CUITextElement>(config, 0, "", false, true);
    const int statsHeight = config->Pick(88, 64);
    stats->SetRect(RECT{page.left, page.bottom - statsHeight, page.left + config->Pick(304, 208), page.bottom});
    container.AddElement(stats);
    m_statsText = stats.get();

    Refresh();
}

void CActorInvDlg::Refresh() {
    if (!m_backpackList) return;
    DRAV::CActor& actor = *m_actor;
    for (int slot = 0; slot < DRAV::kEquipSlotCount && slot < static_cast<int>(m_slots.size()); ++slot) {
        CUIActionElement2& widget = *m_slots[static_cast<std::size_t>(slot)];
        widget.Reset();
        if (const DRAV::CItem* item = actor.GetEquipped(static_cast<DRAV::EquipSlot>(slot))) {
            ElementInfo::DescribeThing(widget.GetInfo(), item, &actor);
            widget.UpdateActionHint();
        } else {
            widget.SetInfoNoAction(DRAV::CActor::GetEquipSlotName(slot), "Drag to wield.");
        }
    }
    m_backpackList->Fill(actor.GetBackpack(), Table::kBackpackBase, &actor, &actor);

    const DRAV::CObject* container = m_table.GetContainer();
    m_pileList->SetCaption(container ? container->GetName() : "Pile");
    m_pileList->Fill(container ? container->GetItems() : DRAV::ItemPtrList{}, Table::kPileBase, &actor, &actor);

    m_goldText->m_text = std::to_string(m_app->GetEngine()->GetGame()->GetGold()) + " gold";
    const std::int32_t strength = static_cast<std::int32_t>(actor.GetAttribute(DRAV::ATTR_STRENGTH)) +
                                  actor.GetModifier(DRAV::GetAttributeModifierIndex(DRAV::ATTR_STRENGTH));
    m_weightText->m_text = OneDecimal(actor.GetCarriedWeight()) + " lbs / " +
                           OneDecimal(DRAV::GetCarryCapacity(strength)) + " lbs";

    const DRAV::CAttackInfo attack = actor.GetAttackBonus(0, false, false, nullptr);
    m_statsText->SetText("Attack Bonus: " + DRAV::FormatSignedValue(attack.attackBonus) + " LINE " +
                         "Attack Damage: " + attack.GetDamageText() + " LINE " + "Defense Class: " +
                         std::to_string(actor.GetDefenseClass(false, nullptr)));
    if (m_quickActionBar) m_quickActionBar->ClearFilled();
}

bool CActorInvDlg::OnAltClick(int id) {
    if (const std::shared_ptr<DRAV::CItem> item = m_table.ItemOfId(id)) {
        m_app->SetDialog(false, std::make_shared<CItemDlg>(m_app, *item, m_actor, true));
        return false;
    }
    return CBaseActorDlg2::OnAltClick(id);
}

void CActorInvDlg::OnBeginDrag(int id) {
    const bool fromBackpack = Table::IsBackpackCell(id);
    const bool fromPile = Table::IsPileCell(id);
    const std::shared_ptr<DRAV::CItem> item = m_table.ItemOfId(id);
    if (item && (fromBackpack || fromPile))
        for (int slot = 0; slot < static_cast<int>(m_slots.size()); ++slot)
            if (m_actor->CanEquipInSlot(slot, *item)) m_slots[static_cast<std::size_t>(slot)]->SetFlag(UIF_SELECTED, true);
    m_backpackList->SetFlag(UIF_SELECTED, true);
    if (!fromPile) m_pileList->SetFlag(UIF_SELECTED, true);
    if (item && fromBackpack && m_quickActionBar && m_actor->CanUseMagicItem(*item, false))
        m_quickActionBar->SetFlag(UIF_SELECTED, true);
    for (const auto& button : m_partyButtons)
        if (DRAV::CActor* member = GetPartyMemberOfId(button->GetId()); member && m_actor->IsWithinReach(*member))
            button->SetFlag(UIF_SELECTED, true);
}

void CActorInvDlg::OnEndDrag() {
    for (CUIActionElement2* slot : m_slots) slot->SetFlag(UIF_SELECTED, false);
    if (m_backpackList) m_backpackList->SetFlag(UIF_SELECTED, false);
    if (m_pileList) m_pileList->SetFlag(UIF_SELECTED, false);
    for (const auto& button : m_partyButtons)
        if (GetPartyMemberOfId(button->GetId()) != m_actor) button->SetFlag(UIF_SELECTED, false);
    if (m_quickActionBar) m_quickActionBar->ClearFilled();
}

void CActorInvDlg::OnDrop(int sourceId, int targetId) {
    OnEndDrag();
    m_table.Drop(sourceId, targetId, GetPartyMemberOfId(targetId));
}
