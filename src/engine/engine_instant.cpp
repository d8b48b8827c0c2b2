// The instant-order phase: every queued instant order of every actor runs once, in
// queue order, and is gone afterwards whatever its runner decided; one the game
// cannot carry out where its actor stands is dropped unrun, with a word.

#include <algorithm>

#include "common/exception.h"
#include "engine/engine.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/order_rule.h"

namespace DRAV {
namespace {

bool IsInventoryOrder(std::int32_t type) { return type >= ORDER_WIELD && type <= ORDER_GIVE; }

}  // namespace

void CEngine::RunInstantOrders() {
    CGame& game = Game();
    // Most ticks nobody has one, and nothing is gathered. Dead members have left
    // the area's list, yet their orders still run.
    const auto waiting = [](const CActor& actor) { return !actor.GetInstantOrders().empty(); };
    const ActorList& placed = CurrentArea().GetActors();
    if (std::none_of(placed.begin(), placed.end(), [&](const auto& actor) { return waiting(*actor); }) &&
        !game.AnyPartyMember(waiting))
        return;
    ActorList actors = placed;
    for (const auto& member : game.GetParty())
        if (member->GetActionState() == ACTION_DEAD) actors.push_back(member);

    for (const auto& actor : actors) {
        while (const std::shared_ptr<COrder> order = actor->GetInstantOrder()) {
            if (actor->HasStatus(STATUS_DOMINATED) && IsInventoryOrder(order->GetType())) {
                actor->PopInstantOrder(*order);
                continue;
            }
            try {
                RunInstantOrder(*actor, *order);
            } catch (...) {
                // An order that failed would fail again every tick: it goes now.
                if (actor->GetInstantOrder() == order) actor->PopInstantOrder(*order);
                throw;
            }
            if (actor->GetInstantOrder() == order) actor->PopInstantOrder(*order);
        }
    }
}

void CEngine::RunInstantOrder(CActor& actor, const COrder& order) {
    // What can no longer be carried out, or never could, goes with a word, as a
    // continuing order whose thing is gone: it does not end the game.
    OrderThings found;
    if (const OrderVerdict verdict = JudgeOrder(order, actor, Game(), true, &found); verdict.fit != OrderFit::Now)
        TellDroppedOrder(actor, order, verdict);
    else
        RunOneInstantOrder(actor, order, found);
}

void CEngine::RunOneInstantOrder(CActor& actor, const COrder& order, const OrderThings& found) {
    switch (order.GetType()) {
    case ORDER_WIELD: RunWieldOrder(actor, OrderAs<CWieldOrder>(order), found); break;
    case ORDER_UNWIELD: RunUnwieldOrder(actor, OrderAs<CUnwieldOrder>(order)); break;
    case ORDER_GET: RunGetOrder(actor, found); break;
    case ORDER_DROP: RunDropOrder(actor, found); break;
    case ORDER_SPLIT: RunSplitOrder(actor, OrderAs<CSplitOrder>(order), found); break;
    case ORDER_COMBINE: RunCombineOrder(actor, found); break;
    case ORDER_GIVE: RunGiveOrder(actor, found); break;
    case ORDER_USE: RunUseOrder(actor, OrderAs<CUseOrder>(order), true); break;
    case ORDER_TALK: RunTalkOrder(actor, OrderAs<CTalkOrder>(order), found); break;
    case ORDER_LEAVE_PARTY: RunLeavePartyOrder(actor); break;
    case ORDER_POSITION:
        Game().MovePartyMember(actor.GetPartyIndex(),
                               static_cast<std::uint32_t>(OrderAs<CPositionOrder>(order).index));
        break;
    case ORDER_SPEND_POINTS: RunSpendPointsOrder(actor, OrderAs<CSpendPointsOrder>(order)); break;
    case ORDER_POWER: RunPowerOrder(actor, OrderAs<CPowerOrder>(order)); break;
    case ORDER_STORE: RunStoreOrder(actor, OrderAs<CStoreOrder>(order), found); break;
    default: throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "");
    }
}

}  // namespace DRAV
