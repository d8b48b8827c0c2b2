// The store order: the party buys from a keeper's store and sells to it, paying
// from and into the party's common gold. It runs only once the order rule found
// the keeper and the item, in reach, the counts held and the gold there.

#include <algorithm>
#include <cstdint>

#include "common/exception.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "rules/items/item_template.h"
#include "world/area.h"
#include "world/item.h"
#include "world/order_rule.h"

namespace DRAV {
namespace {

std::int32_t ClampGold(std::int64_t gold) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(gold, 0, INT32_MAX)); }

// "Wren buys Eel Pie (3) for 9 gold.", as the log tells every trade.
std::string TradeLine(const CActor& actor, const char* verb, const CItem& item, std::uint32_t count,
                      std::uint64_t price) {
    const std::string& name = item.GetTemplate().GetName();
    return actor.GetName() + verb + (count > 1 ? name + " (" + std::to_string(count) + ")" : name) + " for " +
           std::to_string(price) + " gold.";
}

}  // namespace

void CEngine::RunStoreOrder(CActor& actor, const CStoreOrder& order, const OrderThings& found) {
    if (order.buy) BuyFromStore(actor, *found.other, *found.item, order);
    else SellToStore(actor, *found.other, *found.item, found.position, order);
}

void CEngine::BuyFromStore(CActor& actor, CActor& keeper, CItem& offered, const CStoreOrder& order) {
    CGame& game = Game();
    // Counted wide: a large count must not wrap round to a cheap price.
    const std::uint64_t price = std::uint64_t{order.count} * offered.GetTemplate().GetValue();
    // Numbered before the gold is paid: a purchase the game cannot number costs nothing.
    const ThingId boughtId = game.NewThingId(THING_ITEM);
    game.SetGold(ClampGold(std::int64_t{game.GetGold()} - static_cast<std::int64_t>(price)));
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s buys %u x %s for %u gold\n", actor.GetName().c_str(), order.count,
               offered.GetTemplate().GetName().c_str(), static_cast<unsigned>(price));
    game.PushMessage(MESSAGE_NOTICE, TradeLine(actor, " buys ", offered, order.count, price));

    const auto count = static_cast<std::int32_t>(order.count);
    std::shared_ptr<CItem> bought =
        Module().CreateItem(offered.GetTemplate().GetKey(), count, boughtId, offered.GetExpiryTick());
    if (order.slot == kStoreToBackpack) {
        actor.AddToBackpack(bought, true);
    } else {
        const bool validSlot = order.slot >= 0 && order.slot < kEquipSlotCount;
        CItem* blocking = nullptr;
        if (validSlot && count == 1 && actor.CanEquipInSlot(order.slot, *bought) &&
            actor.CheckTwoHandedConflict(order.slot, *bought, &blocking)) {
            const auto slot = static_cast<EquipSlot>(order.slot);
            if (actor.GetEquipped(slot)) actor.AddToBackpack(actor.RemoveEquipment(slot), true);
            actor.SetEquipment(slot, bought);
            game.PushActorInfoEvent(EVENT_ACTOR_EQUIPMENT, actor.GetId());
        } else {
            game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't wield " + bought->GetTemplate().GetName() +
                                                 "; item placed in backpack.");
            actor.AddToBackpack(bought, true);
        }
    }
    if (count == offered.GetCount()) keeper.TakeStoreItem(offered.GetId());
    else offered.SetCount(offered.GetCount() - count);
}

void CEngine::SellToStore(CActor& actor, CActor& keeper, CItem& sold, std::int32_t position,
                          const CStoreOrder& order) {
    CGame& game = Game();
    std::uint32_t unitPrice = 0;
    keeper.GetStoreBuyPrice(sold, unitPrice);
    const std::uint64_t price = std::uint64_t{unitPrice} * order.count;
    game.SetGold(ClampGold(std::int64_t{game.GetGold()} + static_cast<std::int64_t>(std::min<std::uint64_t>(price, INT32_MAX))));
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s sells %u x %s for %u gold\n", actor.GetName().c_str(), order.count,
               sold.GetTemplate().GetName().c_str(), static_cast<unsigned>(price));
    game.PushMessage(MESSAGE_NOTICE, TradeLine(actor, " sells ", sold, order.count, price));
    const auto count = static_cast<std::int32_t>(order.count);
    if (count < sold.GetCount()) {
        sold.SetCount(sold.GetCount() - count);
    } else if (position == kBackpackPosition) {
        actor.RemoveFromBackpack(sold);
    } else {
        actor.RemoveEquipment(static_cast<EquipSlot>(position));
        game.PushActorInfoEvent(EVENT_ACTOR_EQUIPMENT, actor.GetId());
    }
}

}  // namespace DRAV
