// The inventory orders: wield, unwield, get, drop, split, combine and give, and the
// lock test of containers. They take no game time. What the player can cause is
// refused with a message; an order naming things that are not there is stale and
// throws code 3.

#include <algorithm>
#include <cctype>

#include "common/exception.h"
#include "engine/engine.h"
#include "rules/items/item_template.h"
#include "rules/kinds/item_kinds.h"
#include "rules/kinds/number_texts.h"
#include "rules/vocabulary/skill_id.h"
#include "rules/vocabulary/skills.h"
#include "world/area.h"
#include "world/item.h"
#include "world/object.h"
#include "world/order_rule.h"

namespace DRAV {
namespace {

constexpr std::int32_t kLockRoll = 50;
constexpr std::int32_t kPlainAction = 3;
constexpr ThingId kFirstThingId = 0x1000000;

[[noreturn]] void StaleOrder() { throw CDRAVException(DRAV_ERR_PARTY_POSITION, ""); }

std::shared_ptr<CItem> BackpackItem(const CActor& actor, ThingId id) {
    for (const auto& item : actor.GetBackpackItems())
        if (item->GetId() == id) return item;
    StaleOrder();
}

bool IsNoGive(const CItem& item) { return (item.GetTemplate().GetFlags() & ITEMFLAG_NOGIVE) != 0; }

const std::string& ItemName(const CItem& item) { return item.GetTemplate().GetName(); }

EquipSlot OrderSlot(std::int32_t slot) {
    if (slot < 0 || slot >= kEquipSlotCount) StaleOrder();
    return static_cast<EquipSlot>(slot);
}

}  // namespace

void CEngine::RunWieldOrder(CActor& actor, const CWieldOrder& order) {
    CGame& game = Game();
    const EquipSlot slot = OrderSlot(order.slot);
    const std::shared_ptr<CItem> stack = BackpackItem(actor, order.item);
    const std::string refusal = actor.GetName() + " can't wield " + ItemName(*stack);
    // Whose slot cannot take the kind at all is told so: not that the wearer fails it.
    if (!actor.FitsSlot(slot, *stack)) {
        std::string where = CActor::GetEquipSlotName(slot);
        std::transform(where.begin(), where.end(), where.begin(), [](unsigned char c) { return std::tolower(c); });
        game.PushMessage(MESSAGE_NOTICE, refusal + " in the " + where + " slot.");
        return;
    }
    if (const CItem* held = actor.GetEquipped(slot)) {
        game.PushMessage(MESSAGE_NOTICE, refusal + "; is already wielding " + ItemName(*held) + ".");
        return;
    }
    if (!actor.CanEquipInSlot(slot, *stack)) {
        game.PushMessage(MESSAGE_NOTICE, refusal + ".");
        return;
    }
    CItem* blocking = nullptr;
    if (!actor.CheckTwoHandedConflict(slot, *stack, &blocking)) {
        game.PushMessage(MESSAGE_NOTICE, refusal + " while holding " + (blocking ? ItemName(*blocking) : "") + ".");
        return;
    }
    std::shared_ptr<CItem> item = stack;
    if (stack->GetCount() <= 1) {
        actor.RemoveFromBackpack(*stack);
    } else {
        item = Module().CreateItem(stack->GetTemplate().GetKey(), 1, game.NewThingId(THING_ITEM),
                                   stack->GetExpiryTick());
        stack->SetCount(stack->GetCount() - 1);
    }
    actor.SetEquipment(slot, item);
    actor.StopAttacking();
    // A dead member's belongings can be rearranged; the recovery would raise it.
    if ((slot == SLOT_WEAPON || slot == SLOT_OFFHAND) && actor.IsAlive()) {
        actor.StartRecovery(game.GetTick(), kPlainAction);
        const CSpell* power = actor.GetCurrentPower();
        if (power && power->GetSchool() != SKILL_SNEAK) {
            actor.EndPower();
            game.PushActorInfoEvent(EVENT_ACTOR_POWER_ENDED, actor.GetId());
        }
    }
    game.PushActorInfoEvent(EVENT_ACTOR_EQUIPMENT, actor.GetId());
}

void CEngine::RunUnwieldOrder(CActor& actor, const CUnwieldOrder& order) {
    CGame& game = Game();
    const EquipSlot slot = OrderSlot(order.slot);
    if (!actor.GetEquipped(slot)) {
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't unwield that.");
        return;
    }
    actor.AddToBackpack(actor.RemoveEquipment(slot), true);
    if (actor.GetActionState() == ACTION_WIND_UP || actor.GetActionState() == ACTION_STRIKE)
        actor.SetActionState(ACTION_IDLE);
    actor.SetAttackTarget(0, nullptr);
    game.PushActorInfoEvent(EVENT_ACTOR_EQUIPMENT, actor.GetId());
}

void CEngine::RunGetOrder(CActor& actor, const CGetOrder& order) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    CObject* container = area.FindObject(order.container);
    if (!container) StaleOrder();
    if (!actor.IsNextToObject(*container)) {
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't reach " + container->GetName() + ".");
        return;
    }
    if (!CheckObjectLock(actor, *container)) return;
    std::shared_ptr<CItem> item;
    for (const auto& held : container->GetItems())
        if (held->GetId() == order.item) item = held;
    if (!item) StaleOrder();
    container->RemoveItem(item);
    if (item->GetTemplate().GetKind() == ITEM_MONEY && actor.GetRelation() == RELATION_PARTY) {
        const std::int64_t gold = std::int64_t{game.GetGold()} + item->GetCount();
        game.SetGold(static_cast<std::int32_t>(std::clamp<std::int64_t>(gold, 0, INT32_MAX)));
        game.PushMessage(MESSAGE_GOLD, "The party has gained " + std::to_string(item->GetCount()) + " gold.");
    } else {
        SetItemTag(*item);
        actor.AddToBackpack(item, true);
    }
    if (container->GetTemplate().GetKey() == "pile" && container->GetItems().empty()) area.RemoveObject(*container);
}

void CEngine::RunDropOrder(CActor& actor, const CDropOrder& order) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    const std::shared_ptr<CItem> item = BackpackItem(actor, order.item);
    if (IsNoGive(*item)) {
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't drop " + ItemName(*item) + ".");
        return;
    }
    CObject* target = nullptr;
    std::shared_ptr<CObject> pile;
    if (order.container < kFirstThingId) {
        pile = area.DropItem(Module(), actor.GetX(), actor.GetY());
        target = pile.get();
    } else {
        target = area.FindObject(order.container);
        if (!target) StaleOrder();
        if (!actor.IsNextToObject(*target)) {
            game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't reach " + target->GetName() + ".");
            return;
        }
        if (!CheckObjectLock(actor, *target)) return;
    }
    target->AddItem(actor.RemoveFromBackpack(*item));
}

void CEngine::RunSplitOrder(CActor& actor, const CSplitOrder& order) {
    const std::shared_ptr<CItem> stack = BackpackItem(actor, order.stack);
    if (order.count == 0 || order.count >= static_cast<std::uint32_t>(std::max(stack->GetCount(), 0))) StaleOrder();
    const auto count = static_cast<std::int32_t>(order.count);
    actor.AddToBackpack(Module().CreateItem(stack->GetTemplate().GetKey(), count, Game().NewThingId(THING_ITEM),
                                            stack->GetExpiryTick()),
                        false);
    stack->SetCount(stack->GetCount() - count);
}

void CEngine::RunCombineOrder(CActor& actor, const CCombineOrder& order) {
    // A stack combined with itself would be taken out and its count lost with it.
    if (order.first == order.second) StaleOrder();
    const std::shared_ptr<CItem> first = BackpackItem(actor, order.first);
    const std::shared_ptr<CItem> second = BackpackItem(actor, order.second);
    if (first->GetTemplate().GetKey() != second->GetTemplate().GetKey()) StaleOrder();
    // The first stack takes what it can hold; what it cannot stays in the second.
    const std::int64_t total = std::int64_t{first->GetCount()} + second->GetCount();
    if (total > kMostInStack) {
        first->SetCount(kMostInStack);
        second->SetCount(static_cast<std::int32_t>(total - kMostInStack));
        return;
    }
    actor.RemoveFromBackpack(*second);
    first->SetCount(static_cast<std::int32_t>(total));
}

void CEngine::RunGiveOrder(CActor& actor, const CGiveOrder& order) {
    CGame& game = Game();
    CActor* receiver = CurrentArea().FindActor(order.receiver);
    if (!receiver || actor.GetRelation() != RELATION_PARTY || receiver->GetRelation() != RELATION_PARTY ||
        !actor.IsAlive() || !receiver->IsAlive() ||
        actor.DistanceTo(*receiver) > actor.GetRadius() + kGiveReach + receiver->GetRadius())
        StaleOrder();
    const std::shared_ptr<CItem> item = BackpackItem(actor, order.item);
    if (IsNoGive(*item)) {
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't give " + ItemName(*item) + ".");
        return;
    }
    const std::shared_ptr<CItem> given = actor.RemoveFromBackpack(*item);
    if (receiver->GetRelation() == RELATION_PARTY) SetItemTag(*given);
    receiver->AddToBackpack(given, true);
}

bool CEngine::CheckObjectLock(CActor& actor, CObject& object) {
    if (!object.IsLocked()) return true;
    const std::int32_t stat = actor.GetSpecialStat(SPECIAL_LOCKS);
    const auto lock = static_cast<std::int64_t>(object.GetLockValue());
    const std::string check =
        FormatNamedRollText(GetSkillName(SKILL_LOCKS), kLockRoll, stat, static_cast<std::int32_t>(lock));
    const bool picked = lock < std::int64_t{stat} + kLockRoll;
    if (picked) {
        object.SetUnlocked(true);
        Game().PushMessage(MESSAGE_CHECK_SUCCEEDED,
                           actor.GetName() + " picks the lock on " + object.GetName() + " " + check + ".");
    } else {
        Game().PushMessage(MESSAGE_LOCK_NOT_PICKED,
                           actor.GetName() + " can't unlock " + object.GetName() + " " + check + ".");
    }
    StopSneaking(actor);
    return picked;
}

}  // namespace DRAV
