#include "game/dialogs/sheet/inv_drop_table.h"

#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/sheet/actor_inv_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "rules/definitions/object_template.h"
#include "rules/items/item_template.h"
#include "rules/kinds/item_kinds.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/item.h"
#include "world/object.h"
#include "world/order.h"

namespace {

// The page's actor is a party member; the question holds it as the party does.
std::shared_ptr<DRAV::CActor> Shared(CDRAVApp& app, DRAV::CActor& actor) {
    for (const auto& member : app.GetEngine()->GetGame()->GetParty())
        if (member.get() == &actor) return member;
    return std::shared_ptr<DRAV::CActor>(std::shared_ptr<void>(), &actor);
}

std::shared_ptr<DRAV::CItem> At(const DRAV::ItemPtrList& items, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < items.size() ? items[static_cast<std::size_t>(index)]
                                                                         : nullptr;
}

}  // namespace

CInvDropTable::CInvDropTable(CDRAVApp& app, DRAV::CActor& actor, DRAV::ThingId containerId)
    : m_app(app), m_actor(actor), m_containerId(containerId) {}

void CInvDropTable::FindContainer() {
    m_container = nullptr;
    DRAV::CArea* area = m_actor.GetArea();
    if (!area) return;
    if (m_containerId != 0) {
        m_container = area->FindObject(m_containerId);
        if (m_container) return;
    }
    if (!m_actor.IsAlive()) return;
    for (const auto& object : area->GetObjects()) {
        if (object->GetTemplate().IsContainer() && !object->IsLocked() && m_actor.IsNextToObject(*object)) {
            m_container = object.get();
            return;
        }
    }
}

std::shared_ptr<DRAV::CItem> CInvDropTable::ItemOfId(int id) const {
    if (IsSlotId(id)) {
        const int slot = id - kSlotBase;
        return slot < DRAV::kEquipSlotCount ? m_actor.GetEquipment()[static_cast<std::size_t>(slot)] : nullptr;
    }
    if (IsBackpackCell(id)) return At(m_actor.GetBackpackItems(), id - kBackpackBase);
    if (IsPileCell(id) && m_container) return At(m_container->GetItems(), id - kPileBase);
    return nullptr;
}

void CInvDropTable::Finish(bool findContainer) {
    m_app.RunInstantOrders();
    m_app.DrainEngineEvents();
    if (const auto& audio = m_app.GetAudio()) audio->PlaySound(kInventorySound);
    if (findContainer) FindContainer();
    if (m_refresh) m_refresh();
}

void CInvDropTable::IssueUnwield(std::int32_t slot) {
    m_actor.PushInstantOrder(std::make_shared<DRAV::CUnwieldOrder>(slot));
    Finish(false);
}

void CInvDropTable::IssueWield(const std::shared_ptr<DRAV::CItem>& item, std::int32_t slot) {
    // Ids past the seven slots count as slots but stand for none.
    if (slot < 0 || slot >= DRAV::kEquipSlotCount) return;
    // A slot that cannot take it leaves what it holds and asks nothing: the wield
    // order alone says why.
    if (!m_actor.FitsSlot(slot, *item)) {
        m_actor.PushInstantOrder(std::make_shared<DRAV::CWieldOrder>(item->GetId(), slot));
        Finish(false);
        return;
    }
    if (!m_actor.IsProficientWith(*item)) {
        m_app.SetDialog(false, std::make_shared<CActorInvDlgConfirmWield>(&m_app, Shared(m_app, m_actor), item, slot));
        return;
    }
    if (m_actor.GetEquipped(static_cast<DRAV::EquipSlot>(slot)))
        m_actor.PushInstantOrder(std::make_shared<DRAV::CUnwieldOrder>(slot));
    m_actor.PushInstantOrder(std::make_shared<DRAV::CWieldOrder>(item->GetId(), slot));
    Finish(false);
}

void CInvDropTable::IssueGet(DRAV::ThingId itemId) {
    m_actor.PushInstantOrder(std::make_shared<DRAV::CGetOrder>(m_container ? m_container->GetId() : 0, itemId));
    Finish(true);
}

void CInvDropTable::IssueDrop(DRAV::ThingId itemId) {
    const bool hadContainer = m_container != nullptr;
    m_actor.PushInstantOrder(std::make_shared<DRAV::CDropOrder>(hadContainer ? m_container->GetId() : 0, itemId));
    Finish(!hadContainer);
}

void CInvDropTable::IssueSplit(DRAV::ThingId itemId) {
    m_actor.PushInstantOrder(std::make_shared<DRAV::CSplitOrder>(itemId, 1));
    Finish(false);
}

void CInvDropTable::IssueCombine(DRAV::ThingId itemId) {
    const DRAV::ItemPtrList& backpack = m_actor.GetBackpackItems();
    const DRAV::CItem* dragged = DRAV::FindItemById(backpack, itemId);
    if (!dragged) return;
    for (const auto& other : backpack) {
        if (other.get() == dragged || other->GetTemplate().GetKey() != dragged->GetTemplate().GetKey()) continue;
        m_actor.PushInstantOrder(std::make_shared<DRAV::CCombineOrder>(itemId, other->GetId()));
        Finish(false);
        return;
    }
}

void CInvDropTable::IssueGive(DRAV::ThingId itemId, const DRAV::CActor& receiver) {
    m_actor.PushInstantOrder(std::make_shared<DRAV::CGiveOrder>(receiver.GetId(), itemId));
    Finish(false);
}

void CInvDropTable::ShowTooFar(const DRAV::CActor& receiver, const DRAV::CItem& item) {
    const std::string text = m_actor.GetName() + " can't give " + item.GetTemplate().GetName() + " because " +
                             receiver.GetName() + " is too far.";
    m_app.SetDialog(false, std::make_shared<CTextDlg>(&m_app, "Can't Give Item", text, nullptr, true));
}

bool CInvDropTable::GiveOrRefuse(const DRAV::CItem& item, DRAV::CActor* member,
                                 const std::function<void()>& before) {
    if (!member) return false;
    if (!m_actor.IsWithinReach(*member)) {
        ShowTooFar(*member, item);
        return true;
    }
    const DRAV::ThingId itemId = item.GetId();
    before();
    IssueGive(itemId, *member);
    return true;
}

void CInvDropTable::Drop(int sourceId, int targetId, DRAV::CActor* member) {
    const std::shared_ptr<DRAV::CItem> item = ItemOfId(sourceId);
    if (!item) return;
    if (IsSlotId(sourceId))
        DropFromSlot(sourceId - kSlotBase, item, targetId, member);
    else if (IsBackpackCell(sourceId))
        DropFromBackpack(sourceId, item, targetId, member);
    else if (IsPileCell(sourceId))
        DropFromPile(item, targetId, member);
}

void CInvDropTable::DropFromSlot(std::int32_t slot, const std::shared_ptr<DRAV::CItem>& item, int targetId,
                                 DRAV::CActor* member) {
    if (targetId == kBackpackList || IsBackpackCell(targetId)) {
        IssueUnwield(slot);
    } else if (targetId == kPileList || IsPileCell(targetId)) {
        IssueUnwield(slot);
        IssueDrop(item->GetId());
    } else {
        GiveOrRefuse(*item, member, [&] { IssueUnwield(slot); });
    }
}

void CInvDropTable::DropFromBackpack(int sourceId, const std::shared_ptr<DRAV::CItem>& item, int targetId,
                                     DRAV::CActor* member) {
    if (IsSlotId(targetId)) {
        IssueWield(item, targetId - kSlotBase);
    } else if (targetId == kBackpackList && item->GetCount() > 1) {
        IssueSplit(item->GetId());
    } else if (targetId == kBackpackList || (IsBackpackCell(targetId) && targetId != sourceId)) {
        IssueCombine(item->GetId());
    } else if (targetId == sourceId) {
        return;
    } else if (targetId == kPileList || IsPileCell(targetId)) {
        IssueDrop(item->GetId());
    } else if (member) {
        GiveOrRefuse(*item, member, [] {});
    } else if (targetId >= kQuickSlotBase + 4 && targetId < kQuickSlotBase + 10 &&
               m_actor.CanUseMagicItem(*item, false)) {
        const int slot = targetId - kQuickSlotBase;
        m_app.SetQuickActionKind(m_actor, 10, slot);
        m_app.SetQuickActionItem(m_actor, item->GetTemplate().GetKey(), slot);
        if (const auto& audio = m_app.GetAudio()) audio->PlaySound(kClickSound);
        if (m_refresh) m_refresh();
    }
}

void CInvDropTable::DropFromPile(const std::shared_ptr<DRAV::CItem>& item, int targetId, DRAV::CActor* member) {
    if (item->GetTemplate().GetKind() == DRAV::ITEM_MONEY) {
        IssueGet(item->GetId());
    } else if (IsSlotId(targetId)) {
        IssueGet(item->GetId());
        IssueWield(item, targetId - kSlotBase);
    } else if (targetId == kBackpackList || IsBackpackCell(targetId)) {
        IssueGet(item->GetId());
    } else {
        GiveOrRefuse(*item, member, [&] { IssueGet(item->GetId()); });
    }
}
