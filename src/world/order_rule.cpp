#include "world/order_rule.h"

#include <algorithm>
#include <cstdint>

#include "common/refusal_text.h"
#include "rules/items/item_attribute.h"
#include "rules/items/item_template.h"
#include "rules/kinds/item_kinds.h"
#include "rules/magic/spell.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/game.h"
#include "world/item.h"
#include "world/object.h"

namespace DRAV {
namespace {

OrderVerdict NotNow(std::string why) { return {OrderFit::NotNow, std::move(why)}; }
OrderVerdict Never(std::string why) { return {OrderFit::Never, std::move(why)}; }

const CItem* Packed(const CActor& actor, ThingId id) {
    for (const auto& item : actor.GetBackpackItems())
        if (item->GetId() == id) return item.get();
    return nullptr;
}

std::uint32_t Units(const CItem& item) { return static_cast<std::uint32_t>(std::max(item.GetCount(), 0)); }

// The spell a wand casts at a tile, and at nothing else.
bool CastsAtTilesOnly(const CItem& item) {
    const auto* attribute = dynamic_cast<const CItemAttributeSpell*>(item.GetAttribute(ITEMATTR_SPELL));
    return item.GetTemplate().GetKind() == ITEM_WAND && attribute &&
           attribute->GetSpell().GetTargetType() == SPELL_TARGET_TILE;
}

bool Beside(const CActor& actor, const CActor& other, double reach) {
    return actor.IsAlive() && other.IsAlive() &&
           actor.DistanceTo(other) <= actor.GetRadius() + reach + other.GetRadius();
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

// A walk ends on the area's map, where a click or a wander can put its goal.
OrderVerdict JudgeContinuing(const COrder& order, const CActor& actor, const CGame& game) {
    // A foe holding back is out of the fight until the party comes to it: a friend's
    // blow or spell begun before it held back, landing, would loose it on a party
    // at rest, the player reading a box.
    if (actor.GetRelation() == RELATION_FRIENDLY && game.IsHoldingBack(AimedAt(order)))
        return NotNow("the foe it goes for holds back");
    if (order.GetType() == ORDER_USE) return JudgeUse(OrderAs<CUseOrder>(order), actor);
    const CArea* area = actor.GetArea();
    if (order.GetType() != ORDER_MOVE || !area) return {};
    const auto& move = OrderAs<CMoveOrder>(order);
    const double width = area->GetColumns() * kCellSize, height = area->GetRows() * kCellSize;
    if (!(move.x >= 0.0 && move.x <= width && move.y >= 0.0 && move.y <= height)) {
        return Never("a move to (" + DRAVCommon::ExactNumber(move.x) + " " + DRAVCommon::ExactNumber(move.y) +
                     ") off the map of area \"" + area->GetName() + "\"");
    }
    return {};
}

OrderVerdict JudgeSplit(const CSplitOrder& split, const CActor& actor) {
    const CItem* stack = Packed(actor, split.stack);
    if (!stack) return NotNow("the stack is gone");
    // None split off, or the whole stack, would leave a stack of no units behind.
    if (split.count == 0 || split.count >= Units(*stack)) return NotNow("the stack holds too few to split");
    return {};
}

OrderVerdict JudgeCombine(const CCombineOrder& combine, const CActor& actor) {
    const CItem* first = Packed(actor, combine.first);
    const CItem* second = Packed(actor, combine.second);
    if (!first || !second) return NotNow("a stack is gone");
    if (first == second || first->GetTemplate().GetKey() != second->GetTemplate().GetKey())
        return NotNow("the stacks do not combine");
    return {};
}

OrderVerdict JudgeGive(const CGiveOrder& give, const CActor& actor, const CArea& area) {
    const CActor* receiver = area.FindActor(give.receiver);
    if (!receiver) return NotNow("the receiver is gone");
    if (!actor.IsPartyMember() || !receiver->IsPartyMember())
        return Never(actor.GetName() + " gives to " + receiver->GetName() + ", who are not both in the party");
    if (!Beside(actor, *receiver, kGiveReach)) return NotNow(receiver->GetName() + " is out of reach");
    if (!Packed(actor, give.item)) return NotNow("the item is gone");
    return {};
}

OrderVerdict JudgeTalk(const CTalkOrder& talk, const CActor& actor, const CArea& area) {
    switch (talk.partner >> 24) {
        case THING_ACTOR: {
            const CActor* partner = area.FindActor(talk.partner);
            if (!partner) return NotNow("the partner is gone");
            // The runner turns these away itself, saying nothing.
            const Relation relation = partner->GetRelation();
            if (partner == &actor || relation == RELATION_HOSTILE || relation == RELATION_BERSERK) return {};
            if (!area.CanReachActor(actor, *partner, kTalkOrderReach))
                return NotNow(partner->GetName() + " is out of reach");
            return {};
        }
        case THING_OBJECT: {
            const CObject* partner = area.FindObject(talk.partner);
            if (!partner) return NotNow("the partner is gone");
            if (!actor.IsNextToObject(*partner)) return NotNow(partner->GetName() + " is out of reach");
            return {};
        }
        default: return Never("a talk to what is neither a person nor a thing");
    }
}

OrderVerdict JudgeLeave(const CActor& actor, const CGame& game) {
    const ActorList party = game.GetParty();
    const bool member = std::any_of(party.begin(), party.end(), [&](const auto& one) { return one.get() == &actor; });
    if (!member) return Never(actor.GetName() + " leaves a party it is not in");
    if (actor.IsMainCharacter()) return Never(actor.GetName() + " leads the party and cannot leave it");
    return {};
}

// Counts past what the keeper holds, the purse pays or the seller carries are
// refused: the store's page offers no more. A keeper walked away, an item gone or
// gold spent since is a trade that no longer stands.
OrderVerdict JudgeStore(const CStoreOrder& trade, const CActor& actor, const CArea& area, const CGame& game) {
    if (trade.count == 0) return Never("a trade of nothing");
    const CActor* keeper = area.FindActor(trade.keeper);
    if (!keeper) return NotNow("the keeper is gone");
    if (trade.buy) {
        const ItemPtrList stock = keeper->GetStoreItems();
        const auto offered = std::find_if(stock.begin(), stock.end(),
                                          [&](const auto& item) { return item->GetId() == trade.item; });
        if (offered == stock.end()) return NotNow("the item is sold");
        if (trade.count > Units(**offered))
            return Never("a purchase of " + std::to_string(trade.count) + " of " + keeper->GetName() + "'s " +
                         std::to_string(Units(**offered)));
        const std::uint64_t price = std::uint64_t{trade.count} * (*offered)->GetTemplate().GetValue();
        if (price > static_cast<std::uint64_t>(std::max(game.GetGold(), 0)))
            return Never("a purchase for " + std::to_string(price) + " gold out of the party's " +
                         std::to_string(game.GetGold()));
    } else {
        const CItem* item = actor.FindItem(trade.item, nullptr);
        if (!item) return NotNow("the item is gone");
        if (trade.count > Units(*item))
            return Never("a sale of " + std::to_string(trade.count) + " of " + std::to_string(Units(*item)));
        std::uint32_t unitPrice = 0;
        if (!keeper->GetStoreBuyPrice(*item, unitPrice)) return NotNow(keeper->GetName() + " does not buy the item");
    }
    if (!Beside(actor, *keeper, kStoreReach)) return NotNow(keeper->GetName() + " is out of reach");
    return {};
}

}  // namespace

bool RunsFrom(const COrder& order, bool instant) {
    if (order.GetType() == ORDER_USE && OrderAs<CUseOrder>(order).kind == USE_ITEM) return true;
    if (order.GetType() == ORDER_USE) return !instant;
    return IsInstantOrderType(order.GetType()) == instant;
}

OrderVerdict JudgeOrder(const COrder& order, const CActor& actor, const CGame& game, bool instant) {
    if (!RunsFrom(order, instant))
        return Never("an order of kind " + std::to_string(order.GetType()) +
                     (instant ? " given to be carried out at once" : " given to be carried out over time"));
    if (!instant) return JudgeContinuing(order, actor, game);
    const CArea* area = game.GetCurrentArea();
    if (!area) return NotNow("the party is in no area");
    switch (order.GetType()) {
        case ORDER_WIELD:
            if (!Packed(actor, OrderAs<CWieldOrder>(order).item)) return NotNow("the item is gone");
            return {};
        case ORDER_UNWIELD: {
            const std::int32_t slot = OrderAs<CUnwieldOrder>(order).slot;
            if (slot < 0 || slot >= kEquipSlotCount) return Never("no equipment slot " + std::to_string(slot));
            return {};
        }
        case ORDER_GET: {
            const auto& get = OrderAs<CGetOrder>(order);
            const CObject* container = area->FindObject(get.container);
            if (!container) return NotNow("the container is gone");
            const ItemPtrList held = container->GetItems();
            if (std::none_of(held.begin(), held.end(), [&](const auto& item) { return item->GetId() == get.item; }))
                return NotNow("the item is gone");
            return {};
        }
        case ORDER_DROP: {
            const auto& drop = OrderAs<CDropOrder>(order);
            if (!Packed(actor, drop.item)) return NotNow("the item is gone");
            if ((drop.container >> 24) != 0 && !area->FindObject(drop.container)) return NotNow("the container is gone");
            return {};
        }
        case ORDER_SPLIT: return JudgeSplit(OrderAs<CSplitOrder>(order), actor);
        case ORDER_COMBINE: return JudgeCombine(OrderAs<CCombineOrder>(order), actor);
        case ORDER_GIVE: return JudgeGive(OrderAs<CGiveOrder>(order), actor, *area);
        case ORDER_USE: return JudgeUse(OrderAs<CUseOrder>(order), actor);
        case ORDER_TALK: return JudgeTalk(OrderAs<CTalkOrder>(order), actor, *area);
        case ORDER_LEAVE_PARTY: return JudgeLeave(actor, game);
        case ORDER_POSITION: {
            const auto index = static_cast<std::uint32_t>(OrderAs<CPositionOrder>(order).index);
            if (!actor.IsPartyMember() || index >= game.GetParty().size() || index == actor.GetPartyIndex())
                return NotNow("no place " + std::to_string(index) + " to move to in the party");
            return {};
        }
        case ORDER_STORE: return JudgeStore(OrderAs<CStoreOrder>(order), actor, *area, game);
        default: return {};
    }
}

}  // namespace DRAV
