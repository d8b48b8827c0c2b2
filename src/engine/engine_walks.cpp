// Where walks end: a walker with no way to its goal, whether walls or people
// standing in a narrow way shut it, one kept off the spot it walked to by whoever
// stands there, or one on its way to talk to one who turned on the party, gives up
// the order that sent it with a word; one held where she
// stands, by her attackers or unable to move, is told so and walks on once free;
// and the party's walk to a way out, however it ends, ends in the question of
// leaving by it, in a hail, or in a word.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/trace.h"
#include "engine/engine.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/master_tile.h"
#include "world/movement/pathfind.h"
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
    // Every way out is a "Way Out": the place it leads to tells which.
    if (const CObject* object = area.FindObject(id))
        return object->IsExit() && !object->GetExitText().empty() ? "the way out to " + object->GetExitText()
                                                                   : object->GetName();
    if ((id >> 24) == THING_TILE) {
        const std::uint32_t serial = id & kMaxThingSerial;
        return NameOfGround(area, (serial % 1000 + 0.5) * kCellSize, (serial / 1000 + 0.5) * kCellSize);
    }
    return "there";
}

// "Marra is", "Wren and Marra are", "Wren, Orrin and Marra are".
std::string WhoIs(const std::vector<std::string>& names) {
    std::string line;
    for (std::size_t i = 0; i < names.size(); ++i)
        line += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return line + (names.size() == 1 ? " is" : " are");
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
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s finds no way, order ends\n", actor.GetName().c_str());
    EndWalkShort(actor, order, actor.GetPathfinder()->GetInTheWay());
}

void CEngine::EndWalkOnGround(CActor& actor, const COrder& order, double x, double y) {
    // Within her own circle she stands on it, whatever kept the last step off.
    if (actor.DistanceToPoint(x, y) < actor.GetRadius()) {
        actor.PopOrder(order);
        return;
    }
    std::vector<ThingId> standing;
    CNearActors near;
    CurrentArea().GetActorGrid().Near(x, y, actor.GetRadius(), near);
    for (const CActor* other : near)
        if (other != &actor && other->IsAlive() &&
            other->DistanceToPoint(x, y) <= other->GetRadius() + actor.GetRadius())
            standing.push_back(other->GetId());
    EndWalkShort(actor, order, standing);
}

void CEngine::EndWalkShort(CActor& actor, const COrder& order, const std::vector<ThingId>& inTheWay) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s stops short, order ends\n", actor.GetName().c_str());
    if (actor.GetRelation() == RELATION_PARTY) {
        // Where people shut the way, the player is told whom to move.
        std::vector<std::string> names;
        for (const ThingId id : inTheWay)
            if (const CActor* other = CurrentArea().FindActor(id)) names.push_back(other->GetName());
        PushActorMessage(actor, " can't reach " + NameOfWalkGoal(order) +
                                    (names.empty() ? "" : ": " + WhoIs(names) + " in the way") + ".");
    }
    actor.PopOrder(order);
}

void CEngine::EndTalkWalkWithFoe(CActor& member, const CActor& foe) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s end movetalk, %s is hostile\n", member.GetName().c_str(),
               foe.GetName().c_str());
    PushActorMessage(member, " can't talk to " + foe.GetName() + ", who is hostile.");
    member.ClearOrders();
}

void CEngine::NoteWalkHeld(const CActor& actor, bool immobile) {
    const std::shared_ptr<COrder> order = actor.GetCurrentOrder();
    if (!actor.IsPartyMember() || !order) return;
    HeldWalk& held = m_heldWalks[actor.GetId()];
    if (held.order.lock() != order) held = {order, 0, false, false};
    held.tick = Game().GetTick();
    held.immobile = immobile;
}

std::set<ThingId> CEngine::TellHeldWalks() {
    const std::uint32_t now = Game().GetTick();
    std::set<ThingId> held;
    for (auto walk = m_heldWalks.begin(); walk != m_heldWalks.end();) {
        const CActor* member = CurrentArea().FindActor(walk->first);
        const std::shared_ptr<COrder> order = member && member->IsAlive() ? member->GetCurrentOrder() : nullptr;
        // The walk ended or another was given: a hold of the next is told anew.
        if (!order || order != walk->second.order.lock()) {
            walk = m_heldWalks.erase(walk);
            continue;
        }
        if (walk->second.tick == now) {
            held.insert(walk->first);
            if (!std::exchange(walk->second.told, true))
                PushActorMessage(*member, walk->second.immobile ? " is immobile and can't move."
                                                                : " is under attack and can't move.");
        }
        ++walk;
    }
    return held;
}

CGame::WayOutWalk* CEngine::JoinWayOutWalk(const CActor& member) {
    CGame& game = Game();
    const std::shared_ptr<COrder> order = member.IsAlive() ? member.GetCurrentOrder() : nullptr;
    const CObject* wayOut = order ? WayOutOf(*order) : nullptr;
    if (!wayOut) return nullptr;
    CGame::WayOutWalk& walk =
        game.GetWayOutWalks()
            .try_emplace(wayOut->GetId(), CGame::WayOutWalk{wayOut->GetId(), {}, game.GetTalksBegun()})
            .first->second;
    walk.walkers.insert(member.GetId());
    return &walk;
}

void CEngine::NoteWalksToWayOuts() {
    for (const auto& member : Game().PartyMembers()) JoinWayOutWalk(*member);
}

void CEngine::CheckWalksToWayOuts() {
    CGame& game = Game();
    const std::set<ThingId> held = TellHeldWalks();
    std::map<ThingId, CGame::WayOutWalk>& walks = game.GetWayOutWalks();
    // Each way out's walk is its own: one member's walk to another takes nothing
    // from it. It goes on while anyone still walks there, or is held on the way.
    std::set<ThingId> going;
    for (const auto& member : game.PartyMembers()) {
        CGame::WayOutWalk* walk = JoinWayOutWalk(*member);
        if (!walk) continue;
        const CObject* wayOut = CurrentArea().FindObject(walk->marker);
        const CAreaExit* exit = FindOpenExit(wayOut->GetExitName());
        // One held within reach of it has come near enough to leave by it: her walk
        // ends there, rather than taking her on once free to be asked again.
        if (held.count(member->GetId()) && exit && IsWithinExitRange(*member, *exit))
            member->PopOrder(*member->GetCurrentOrder());
        else going.insert(walk->marker);
        if (!held.count(member->GetId())) walk->talksBegun = game.GetTalksBegun();
    }
    for (auto walk = walks.begin(); walk != walks.end();) {
        if (going.count(walk->first)) {
            ++walk;
            continue;
        }
        if (EndWayOutWalk(walk->second)) {
            walk->second.walkers.clear();
            ++walk;
        } else {
            walk = walks.erase(walk);
        }
    }
}

bool CEngine::EndWayOutWalk(const CGame::WayOutWalk& walk) {
    // Nobody walks there any more: they came, fell, were hailed, gave up, were
    // stopped or were sent elsewhere, and what follows comes from where they stand.
    CGame& game = Game();
    CArea& area = CurrentArea();
    const CObject* wayOut = area.FindObject(walk.marker);
    // A hail's talk says why the party stopped.
    if (!wayOut || game.GetTalksBegun() != walk.talksBegun) return false;
    const CAreaExit* exit = FindOpenExit(wayOut->GetExitName());
    if (!exit) return false;
    // Those who came, or, for a walk already waiting, whoever stands there now.
    const bool waiting = walk.walkers.empty();
    bool came = false;
    for (const auto& member : game.PartyMembers()) {
        if (!member->IsAlive() || (!waiting && !walk.walkers.count(member->GetId()))) continue;
        const bool there = IsWithinExitRange(*member, *exit);
        if (waiting && !there) continue;
        // One sent elsewhere called the walk off; one that stopped short said why.
        if (member->GetCurrentOrder() || !there) return false;
        came = true;
    }
    if (game.GetStateCode() == GAME_EXIT_AVAILABLE && game.GetAvailableExitName() == wayOut->GetExitName()) {
        game.PushEvent(std::make_shared<CInfoEvent>(EVENT_WAY_OUT_REACHED));
        return false;
    }
    if (!came || game.GetStateCode() != GAME_PLAYING) return false;
    // The walkers came, but a way out takes the whole party: whoever stayed behind
    // is named once, rather than the walkers standing there with no question and
    // no word, and they wait there for him.
    std::vector<std::string> behind;
    for (const auto& member : game.PartyMembers())
        if (member->IsAlive() && !IsWithinExitRange(*member, *exit)) behind.push_back(member->GetName());
    if (behind.empty()) return false;
    if (!waiting)
        game.PushMessage(MESSAGE_NOTICE, WhoIs(behind) + " too far from " + NameOfThing(area, wayOut->GetId()) +
                                             " for the party to leave.");
    return true;
}

}  // namespace DRAV
