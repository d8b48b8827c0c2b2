#include "world/order_rule.h"

#include <algorithm>
#include <cstdint>

#include "common/refusal_text.h"
#include "rules/definitions/talk_state.h"
#include "rules/items/item_attribute.h"
#include "rules/items/item_template.h"
#include "rules/kinds/item_kinds.h"
#include "rules/magic/spell.h"
#include "rules/vocabulary/skills.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/game.h"
#include "world/item.h"
#include "world/object.h"

namespace DRAV {
namespace {

OrderVerdict NotNow(std::string why) { return {OrderFit::NotNow, std::move(why), {}}; }
OrderVerdict Never(std::string why, std::string told = {}) {
    return {OrderFit::Never, std::move(why), std::move(told)};
}

std::shared_ptr<CItem> Packed(const CActor& actor, ThingId id) {
    for (const auto& item : actor.GetBackpackItems())
        if (item->GetId() == id) return item;
    return nullptr;
}

// An item carried in the backpack or worn, and `position` where.
std::shared_ptr<CItem> Carried(const CActor& actor, ThingId id, std::int32_t& position) {
    if (!actor.FindItem(id, &position)) return nullptr;
    return position == kBackpackPosition ? Packed(actor, id) : actor.GetEquipment().at(static_cast<std::size_t>(position));
}

std::uint32_t Units(const CItem& item) { return static_cast<std::uint32_t>(std::max(item.GetCount(), 0)); }

// The spell a wand casts at a tile, and at nothing else.
bool CastsAtTilesOnly(const CItem& item) {
    const auto* attribute = dynamic_cast<const CItemAttributeSpell*>(item.GetAttribute(ITEMATTR_SPELL));
    return item.GetTemplate().GetKind() == ITEM_WAND && attribute &&
           attribute->GetSpell().GetTargetType() == SPELL_TARGET_TILE;
}

// A wield or an unwield names one of the slots there are.
OrderVerdict Slot(std::int32_t slot) {
    if (slot < 0 || slot >= kEquipSlotCount) return Never("no equipment slot " + std::to_string(slot));
    return {};
}

// The dead neither hand over, trade nor talk: one killed, or fallen, since the
// order was given ends it.
OrderVerdict Alive(const CActor& actor, const CActor& other) {
    for (const CActor* one : {&actor, &other})
        if (!one->IsAlive()) return NotNow(one->GetName() + " is dead");
    return {};
}

// Orders that move or use the actor's items, or take them from where they lie.
bool MovesItems(OrderType type) {
    switch (type) {
        case ORDER_WIELD:
        case ORDER_UNWIELD:
        case ORDER_GET:
        case ORDER_DROP:
        case ORDER_SPLIT:
        case ORDER_COMBINE:
        case ORDER_USE: return true;
        default: return false;
    }
}

// Both alive, and `other` within `reach` of the actor's circle.
OrderVerdict Beside(const CActor& actor, const CActor& other, double reach) {
    if (OrderVerdict verdict = Alive(actor, other); verdict.fit != OrderFit::Now) return verdict;
    if (actor.DistanceTo(other) > actor.GetRadius() + reach + other.GetRadius())
        return NotNow(other.GetName() + " is out of reach");
    return {};
}

OrderVerdict JudgeUse(const CUseOrder& use, const CActor& actor) {
    const CItem* item = use.kind == USE_ITEM ? actor.FindItem(use.thing, nullptr) : nullptr;
    if (item && CastsAtTilesOnly(*item) && (use.target >> 24) != THING_TILE)
        return NotNow(item->GetTemplate().GetName() + " casts at a tile only");
    return {};
}

// The one a blow, a spell or a used item goes for; 0 for any other order.
ThingId AimedAt(const COrder& order) {
    switch (order.GetType()) {
        case ORDER_ATTACK: return OrderAs<CAttackOrder>(order).target;
        case ORDER_CAST: return OrderAs<CCastOrder>(order).target;
        case ORDER_USE: return OrderAs<CUseOrder>(order).target;
        default: return 0;
    }
}

// One who has surrendered takes no harm: a blow at him, however it was given, by
// a click, a quick action or a saved order, would only swing for ever.
OrderVerdict JudgeAttack(const CAttackOrder& attack, const CActor& actor) {
    const CArea* area = actor.GetArea();
    const CActor* target = area ? area->FindActor(attack.target) : nullptr;
    if (target && target->GetRelation() == RELATION_SURRENDER) return NotNow(target->GetName() + " has surrendered");
    return {};
}

// A walk ends on the area's map, where a click or a wander can put its goal.
OrderVerdict JudgeContinuing(const COrder& order, const CActor& actor, const CGame& game) {
    // A foe holding back is out of the fight until the party comes to it: a friend's
    // blow or spell begun before it held back, landing, would loose it on a party
    // at rest, the player reading a box.
    if (actor.GetRelation() == RELATION_FRIENDLY && game.IsHoldingBack(AimedAt(order)))
        return NotNow("the foe it goes for holds back");
    if (order.GetType() == ORDER_USE) return JudgeUse(OrderAs<CUseOrder>(order), actor);
    if (order.GetType() == ORDER_ATTACK) return JudgeAttack(OrderAs<CAttackOrder>(order), actor);
    const CArea* area = actor.GetArea();
    if (order.GetType() != ORDER_MOVE || !area) return {};
    const auto& move = OrderAs<CMoveOrder>(order);
    const double width = area->GetColumns() * kCellSize, height = area->GetRows() * kCellSize;
    if (!(move.x >= 0.0 && move.x <= width && move.y >= 0.0 && move.y <= height)) {
        return Never("a move to (" + DRAVCommon::ExactNumber(move.x) + " " + DRAVCommon::ExactNumber(move.y) +
                         ") off the map of area \"" + area->GetName() + "\"",
                     "the spot is off the map");
    }
    return {};
}

OrderVerdict JudgeSplit(const CSplitOrder& split, const CActor& actor, OrderThings& found) {
    const CItem* stack = (found.item = Packed(actor, split.stack)).get();
    if (!stack) return NotNow("the stack is gone");
    // None split off, or the whole stack, would leave a stack of no units behind.
    if (split.count == 0 || split.count >= Units(*stack)) return NotNow("the stack holds too few to split");
    return {};
}

OrderVerdict JudgeCombine(const CCombineOrder& combine, const CActor& actor, OrderThings& found) {
    const CItem* first = (found.item = Packed(actor, combine.first)).get();
    const CItem* second = (found.second = Packed(actor, combine.second)).get();
    if (!first || !second) return NotNow("a stack is gone");
    if (first == second || first->GetTemplate().GetKey() != second->GetTemplate().GetKey())
        return NotNow("the stacks do not combine");
    return {};
}

OrderVerdict JudgeGive(const CGiveOrder& give, const CActor& actor, const CArea& area, OrderThings& found) {
    const CActor* receiver = found.other = area.FindActor(give.receiver);
    if (!receiver) return NotNow("the receiver is gone");
    if (!actor.IsPartyMember() || !receiver->IsPartyMember())
        return Never(actor.GetName() + " gives to " + receiver->GetName() + ", who are not both in the party",
                     (receiver->IsPartyMember() ? actor : *receiver).GetName() + " is not of the party");
    if (OrderVerdict verdict = Beside(actor, *receiver, kGiveReach); verdict.fit != OrderFit::Now) return verdict;
    if (!(found.item = Packed(actor, give.item))) return NotNow("the item is gone");
    return {};
}

// A state the partner lacks is one no reply of its talk leads to.
OrderVerdict JudgeTalkState(const CTalkOrder& talk, const CTalkTarget& partner, OrderThings& found) {
    if (talk.state.empty()) return {};
    found.state = FindTalkState(partner.GetTalkStates(), talk.state);
    if (!found.state) return Never(partner.GetName() + " has no talk state \"" + talk.state + "\"");
    return {};
}

OrderVerdict JudgeTalk(const CTalkOrder& talk, const CActor& actor, const CArea& area, OrderThings& found) {
    switch (talk.partner >> 24) {
        case THING_ACTOR: {
            const CActor* partner = found.other = area.FindActor(talk.partner);
            if (!partner) return NotNow("the partner is gone");
            // The runner turns these away itself, saying nothing and running no state.
            const Relation relation = partner->GetRelation();
            if (partner == &actor || relation == RELATION_HOSTILE || relation == RELATION_BERSERK) return {};
            if (OrderVerdict verdict = JudgeTalkState(talk, *partner, found); verdict.fit != OrderFit::Now) return verdict;
            if (OrderVerdict verdict = Alive(actor, *partner); verdict.fit != OrderFit::Now) return verdict;
            if (!area.CanReachActor(actor, *partner, kTalkOrderReach))
                return NotNow(partner->GetName() + " is out of reach");
            return {};
        }
        case THING_OBJECT: {
            const CObject* partner = found.object = area.FindObject(talk.partner);
            if (!partner) return NotNow("the partner is gone");
            if (OrderVerdict verdict = JudgeTalkState(talk, *partner, found); verdict.fit != OrderFit::Now) return verdict;
            if (!actor.IsAlive()) return NotNow(actor.GetName() + " is dead");
            if (!actor.IsNextToObject(*partner)) return NotNow(partner->GetName() + " is out of reach");
            return {};
        }
        default: return Never("a talk to what is neither a person nor a thing", "there is nobody to talk to");
    }
}

OrderVerdict JudgeLeave(const CActor& actor, const CGame& game) {
    const ActorList party = game.GetParty();
    const bool member = std::any_of(party.begin(), party.end(), [&](const auto& one) { return one.get() == &actor; });
    if (!member) return Never(actor.GetName() + " leaves a party it is not in", actor.GetName() + " is not in the party");
    if (actor.IsMainCharacter())
        return Never(actor.GetName() + " leads the party and cannot leave it", actor.GetName() + " leads the party");
    return {};
}

// Counts past what the keeper holds, the purse pays or the seller carries are
// refused: the store's page offers no more. A keeper walked away, an item gone or
// gold spent since is a trade that no longer stands.
OrderVerdict JudgeStore(const CStoreOrder& trade, const CActor& actor, const CArea& area, const CGame& game,
                        OrderThings& found) {
    if (trade.count == 0) return Never("a trade of nothing", "there is nothing to trade");
    const CActor* keeper = found.other = area.FindActor(trade.keeper);
    if (!keeper) return NotNow("the keeper is gone");
    if (trade.buy) {
        const ItemPtrList stock = keeper->GetStoreItems();
        const auto offered = std::find_if(stock.begin(), stock.end(),
                                          [&](const auto& item) { return item->GetId() == trade.item; });
        if (offered == stock.end()) return NotNow("the item is sold");
        found.item = *offered;
        const std::string held = std::to_string(Units(**offered));
        if (trade.count > Units(**offered))
            return Never("a purchase of " + std::to_string(trade.count) + " of " + keeper->GetName() + "'s " + held,
                         keeper->GetName() + " has only " + held);
        const std::uint64_t price = std::uint64_t{trade.count} * (*offered)->GetTemplate().GetValue();
        const std::string gold = std::to_string(game.GetGold());
        if (price > static_cast<std::uint64_t>(std::max(game.GetGold(), 0)))
            return Never("a purchase for " + std::to_string(price) + " gold out of the party's " + gold,
                         "the party has only " + gold + " gold");
    } else {
        const CItem* item = (found.item = Carried(actor, trade.item, found.position)).get();
        if (!item) return NotNow("the item is gone");
        const std::string held = std::to_string(Units(*item));
        if (trade.count > Units(*item))
            return Never("a sale of " + std::to_string(trade.count) + " of " + held,
                         actor.GetName() + " has only " + held);
        // What the story needs is no one's to sell.
        if (item->GetTemplate().GetFlags() & ITEMFLAG_NOGIVE)
            return NotNow("the " + item->GetTemplate().GetName() + " is not for sale");
        std::uint32_t unitPrice = 0;
        if (!keeper->GetStoreBuyPrice(*item, unitPrice))
            return NotNow(keeper->GetName() + " does not buy any " + GetItemKindKey(item->GetTemplate().GetKind()));
    }
    return Beside(actor, *keeper, kStoreReach);
}

}  // namespace

OrderVerdict JudgeCaster(const CActor& actor, const CSpell& spell) {
    // The actor's own test decides; this only finds the words for its refusal.
    if (actor.MeetsSpellRequirements(spell)) return {};
    if (!actor.HasSkill(spell.GetSchool())) {
        const std::string school = spell.GetSchool() == SKILL_NONE ? "its school" : GetSkillName(spell.GetSchool());
        return NotNow(actor.GetName() + " lacks " + school);
    }
    if (spell.GetLevel() == -1) {
        return NotNow(spell.GetName() + " is of tier " + std::to_string(spell.GetTier()) + ", and " +
                      actor.GetName() + " casts up to tier " + std::to_string(actor.GetMaxSpellTier()));
    }
    const std::int64_t level = std::int64_t{actor.GetBaseLevel()} + 1 + actor.GetLevel();
    return NotNow(spell.GetName() + " needs level " + std::to_string(spell.GetLevel()) + ", and " +
                  actor.GetName() + " is of level " + std::to_string(level));
}

bool RunsFrom(const COrder& order, bool instant) {
    if (order.GetType() == ORDER_USE && OrderAs<CUseOrder>(order).kind == USE_ITEM) return true;
    if (order.GetType() == ORDER_USE) return !instant;
    return IsInstantOrderType(order.GetType()) == instant;
}

OrderVerdict JudgeOrder(const COrder& order, const CActor& actor, const CGame& game, bool instant,
                        OrderThings* found) {
    if (!RunsFrom(order, instant))
        return Never("an order of kind " + std::to_string(order.GetType()) +
                         (instant ? " given to be carried out at once" : " given to be carried out over time"),
                     instant ? "it is no order to carry out at once" : "it is no order to carry out over time");
    if (!instant) return JudgeContinuing(order, actor, game);
    const CArea* area = game.GetCurrentArea();
    if (!area) return NotNow("the party is in no area");
    OrderThings unasked;
    OrderThings& things = found ? *found : unasked;
    // Nor do the dead handle items, as they neither hand over, trade nor talk.
    if (MovesItems(order.GetType()) && !actor.IsAlive()) return NotNow(actor.GetName() + " is dead");
    switch (order.GetType()) {
        case ORDER_WIELD: {
            const auto& wield = OrderAs<CWieldOrder>(order);
            if (OrderVerdict verdict = Slot(wield.slot); verdict.fit != OrderFit::Now) return verdict;
            if (!(things.item = Packed(actor, wield.item))) return NotNow("the item is gone");
            return {};
        }
        case ORDER_UNWIELD: return Slot(OrderAs<CUnwieldOrder>(order).slot);
        case ORDER_GET: {
            const auto& get = OrderAs<CGetOrder>(order);
            const CObject* container = things.object = area->FindObject(get.container);
            if (!container) return NotNow("the container is gone");
            for (const auto& item : container->GetItems())
                if (item->GetId() == get.item) things.item = item;
            if (!things.item) return NotNow("the item is gone");
            return {};
        }
        case ORDER_DROP: {
            const auto& drop = OrderAs<CDropOrder>(order);
            if (!(things.item = Packed(actor, drop.item))) return NotNow("the item is gone");
            if ((drop.container >> 24) != 0 && !(things.object = area->FindObject(drop.container)))
                return NotNow("the container is gone");
            return {};
        }
        case ORDER_SPLIT: return JudgeSplit(OrderAs<CSplitOrder>(order), actor, things);
        case ORDER_COMBINE: return JudgeCombine(OrderAs<CCombineOrder>(order), actor, things);
        case ORDER_GIVE: return JudgeGive(OrderAs<CGiveOrder>(order), actor, *area, things);
        case ORDER_USE: return JudgeUse(OrderAs<CUseOrder>(order), actor);
        case ORDER_TALK: return JudgeTalk(OrderAs<CTalkOrder>(order), actor, *area, things);
        case ORDER_LEAVE_PARTY: return JudgeLeave(actor, game);
        case ORDER_POSITION: {
            const auto index = static_cast<std::uint32_t>(OrderAs<CPositionOrder>(order).index);
            if (!actor.IsPartyMember() || index >= game.GetParty().size() || index == actor.GetPartyIndex())
                return NotNow("no place " + std::to_string(index) + " to move to in the party");
            return {};
        }
        case ORDER_STORE: return JudgeStore(OrderAs<CStoreOrder>(order), actor, *area, game, things);
        default: return {};
    }
}

}  // namespace DRAV
