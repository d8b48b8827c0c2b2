// The inventory orders: wield, unwield, get, drop, split, combine and give, and the
// lock test of containers. They take no game time. Each runs only once the order
// rule found what it names (world/order_rule.h), and works on what it found; what
// the player can cause beyond that is refused with a message.

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

bool IsNoGive(const CItem& item) { return (item.GetTemplate().GetFlags() & ITEMFLAG_NOGIVE) != 0; }

const std::string& ItemName(const CItem& item) { return item.GetTemplate().GetName(); }

}  // namespace

void CEngine::RunWieldOrder(CActor& actor, const CWieldOrder& order, const OrderThings& found) {
    CGame& game = Game();
    const auto slot = static_cast<EquipSlot>(order.slot);
    const std::shared_ptr<CItem> stack = found.item;
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
    const auto slot = static_cast<EquipSlot>(order.slot);
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

void CEngine::RunGetOrder(CActor& actor, const OrderThings& found) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    CObject* container = found.object;
    if (!actor.IsNextToObject(*container)) {
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't reach " + container->GetName() + ".");
        return;
    }
    if (!CheckObjectLock(actor, *container)) return;
    const std::shared_ptr<CItem> item = container->RemoveItem(found.item);
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

void CEngine::RunDropOrder(CActor& actor, const OrderThings& found) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    const CItem& item = *found.item;
    if (IsNoGive(item)) {
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't drop " + ItemName(item) + ".");
        return;
    }
    CObject* target = found.object;
    std::shared_ptr<CObject> pile;
    if (!target) {
        pile = area.DropItem(Module(), actor.GetX(), actor.GetY());
        target = pile.get();
    } else {
        if (!actor.IsNextToObject(*target)) {
            game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't reach " + target->GetName() + ".");
            return;
        }
        if (!CheckObjectLock(actor, *target)) return;
    }
    target->AddItem(actor.RemoveFromBackpack(item));
}

void CEngine::RunSplitOrder(CActor& actor, const CSplitOrder& order, const OrderThings& found) {
    CItem* stack = found.item.get();
    const auto count = static_cast<std::int32_t>(order.count);
    actor.AddToBackpack(Module().CreateItem(stack->GetTemplate().GetKey(), count, Game().NewThingId(THING_ITEM),
                                            stack->GetExpiryTick()),
                        false);
    stack->SetCount(stack->GetCount() - count);
}

void CEngine::RunCombineOrder(CActor& actor, const OrderThings& found) {
    CItem* first = found.item.get();
    CItem* second = found.second.get();
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

void CEngine::RunGiveOrder(CActor& actor, const OrderThings& found) {
    const CItem& item = *found.item;
    if (IsNoGive(item)) {
        Game().PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't give " + ItemName(item) + ".");
        return;
    }
    const std::shared_ptr<CItem> given = actor.RemoveFromBackpack(item);
    SetItemTag(*given);
    found.other->AddToBackpack(given, true);
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
