// Where walks end: a walker with no way to its goal, whether walls or people
// standing in a narrow way shut it, or on its way to talk to one who turned on
// the party, gives up the order that sent it with a word, and the party's walk
// to a way out ends in the question of leaving by it, or in a word naming who
// stayed too far behind.

#include "common/trace.h"
#include "engine/engine.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/master_tile.h"
#include "world/object.h"
#include "world/order.h"
#include "world/tile.h"

namespace DRAV {
namespace {

std::string NameOfGround(const CArea& area, double x, double y) {
    const double column = x / kCellSize;
    const double row = y / kCellSize;
    if (!(column >= 0.0 && row >= 0.0 && column < area.GetColumns() && row < area.GetRows())) return "there";
    const CTile* tile = area.GetTile(static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(row));
    const std::string name = tile && tile->GetMaster() ? tile->GetMaster()->GetDefinition().GetName() : "";
    return name.empty() ? "there" : name;
}

std::string NameOfThing(const CArea& area, ThingId id) {
    if (const CActor* actor = area.FindActor(id)) return actor->GetName();
    if (const CObject* object = area.FindObject(id)) return object->GetName();
    if ((id >> 24) == THING_TILE) {
        const std::uint32_t serial = id & kMaxThingSerial;
        return NameOfGround(area, (serial % 1000 + 0.5) * kCellSize, (serial / 1000 + 0.5) * kCellSize);
    }
    return "there";
}

}  // namespace

std::string CEngine::NameOfWalkGoal(const COrder& order) const {
    const CArea& area = CurrentArea();
    switch (order.GetType()) {
        case ORDER_MOVE: {
            const auto& move = OrderAs<CMoveOrder>(order);
            return NameOfGround(area, move.x, move.y);
        }
        case ORDER_USE: {
            const auto& use = OrderAs<CUseOrder>(order);
            return NameOfThing(area, use.kind == USE_ITEM ? use.target : use.thing);
        }
        case ORDER_CAST: return NameOfThing(area, OrderAs<CCastOrder>(order).GetTargetId());
        default: return NameOfThing(area, order.GetThingId());
    }
}

const CObject* CEngine::WayOutOf(const COrder& order) const {
    if (order.GetType() != ORDER_USE || OrderAs<CUseOrder>(order).kind != USE_OBJECT) return nullptr;
    const CObject* object = CurrentArea().FindObject(OrderAs<CUseOrder>(order).thing);
    return object && object->IsExit() ? object : nullptr;
}

void CEngine::EndWalkWithNoWay(CActor& actor, const COrder& order) {
    // A way out is walked to so that the party may leave by it: one the party is
    // offered already, the first to arrive standing in the way of the next, needs
    // no nearer walk, and the question of leaving follows; so does one near enough
    // to be offered once the rest of the party comes, and a word names who is missing.
    if (const CObject* wayOut = WayOutOf(order)) {
        const CAreaExit* offered = FindOfferedExit();
        const CAreaExit* open = offered ? nullptr : FindOpenExit(wayOut->GetExitName());
        if ((offered && offered->name == wayOut->GetExitName()) || (open && IsWithinExitRange(actor, *open))) {
            DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s is near enough to leave by %s\n", actor.GetName().c_str(),
                       wayOut->GetExitName().c_str());
            actor.PopOrder(order);
            return;
        }
    }
    const std::string goal = NameOfWalkGoal(order);
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s finds no way to %s, order ends\n", actor.GetName().c_str(), goal.c_str());
    PushActorMessage(actor, " can't reach " + goal + ".");
    actor.PopOrder(order);
}

void CEngine::EndTalkWalkWithFoe(CActor& member, const CActor& foe) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s end movetalk, %s is hostile\n", member.GetName().c_str(),
               foe.GetName().c_str());
    PushActorMessage(member, " can't talk to " + foe.GetName() + ", who is hostile.");
    member.ClearOrders();
}

void CEngine::NoteOrderEnded(const CActor& actor, const COrder& order) {
    const CObject* wayOut = actor.GetRelation() == RELATION_PARTY ? WayOutOf(order) : nullptr;
    if (!wayOut) return;
    // The question waits for the last of the party walking to it.
    for (const auto& member : Game().GetParty()) {
        const std::shared_ptr<COrder> walk = member->IsAlive() ? member->GetCurrentOrder() : nullptr;
        const CObject* going = walk ? WayOutOf(*walk) : nullptr;
        if (going && going->GetExitName() == wayOut->GetExitName()) return;
    }
    const CAreaExit* offered = FindOfferedExit();
    if (offered && offered->name == wayOut->GetExitName()) {
        Game().PushEvent(std::make_shared<CInfoEvent>(EVENT_WAY_OUT_REACHED));
        return;
    }
    // The walkers came, but a way out takes the whole party: whoever stayed behind
    // is named, rather than the walkers standing there with no question and no word.
    const CAreaExit* exit = offered ? nullptr : FindOpenExit(wayOut->GetExitName());
    if (!exit || !IsWithinExitRange(actor, *exit)) return;
    const CActor* behind = nullptr;
    for (const auto& member : Game().GetParty())
        if (member->IsAlive() && !IsWithinExitRange(*member, *exit) &&
            (!behind || member->DistanceToPoint(exit->x, exit->y) > behind->DistanceToPoint(exit->x, exit->y)))
            behind = member.get();
    if (behind)
        Game().PushMessage(MESSAGE_NOTICE,
                           behind->GetName() + " is too far from " + wayOut->GetName() + " for the party to leave.");
}

}  // namespace DRAV
