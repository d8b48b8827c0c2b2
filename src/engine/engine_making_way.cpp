// Members who let each other pass: one of the party standing still in the way of
// another's walk steps aside from it, or, where there is no room to, trades places
// with the walker, instead of both standing there until the walk gives up.

#include <cmath>
#include <memory>

#include "common/trace.h"
#include "engine/engine.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/movement/pathfind.h"
#include "world/order.h"

namespace DRAV {
namespace {

// Room left between the two as the walker passes the one who stepped aside, and
// how far apart the points are at which a step aside is tried to be free.
constexpr double kClearance = 0.25;
constexpr double kStepCheck = 0.5;
// How near the walker comes to the one in her way before asking her to make it:
// the gap at which a walk stops short of another, and a step to spare.
constexpr double kReachToAsk = 0.5;

// One of the party: a member, or a friend it called up.
bool IsOfTheParty(const CActor& actor) {
    return actor.IsPartyMember() || (actor.GetRelation() == RELATION_FRIENDLY && actor.IsSummoned());
}

// Standing still of her own will, with nothing to do and nothing holding her;
// one who has done striking or casting and stands recovering may move as well.
bool MayMakeWay(const CActor& actor) {
    for (const StatusKind status : {STATUS_IMMOBILE, STATUS_HELD, STATUS_CONFUSED, STATUS_DOMINATED, STATUS_CHARMED})
        if (actor.HasStatus(status)) return false;
    const bool still = actor.GetActionState() == ACTION_IDLE || actor.GetActionState() == ACTION_RECOVERING;
    return IsOfTheParty(actor) && still && !actor.GetCurrentOrder() && !actor.GetAttackTarget() &&
           !actor.HasAttackers(nullptr) && actor.GetMoveSpeed() > 0.0;
}

// Whether the order walks to `actor` herself: she does not step away from it.
bool AimsAt(const COrder& order, const CActor& actor) {
    switch (order.GetType()) {
        case ORDER_ATTACK: return OrderAs<CAttackOrder>(order).target == actor.GetId();
        case ORDER_MOVE_TALK: return OrderAs<CMoveTalkOrder>(order).partner == actor.GetId();
        case ORDER_CAST: return OrderAs<CCastOrder>(order).GetTargetId() == actor.GetId();
        default: return false;
    }
}

// Whether `actor` can walk straight to (x, y) and stand there.
bool IsClearStep(const CArea& area, const CActor& actor, double x, double y) {
    const double length = actor.DistanceToPoint(x, y);
    const int checks = static_cast<int>(std::ceil(length / kStepCheck));
    for (int i = 1; i <= checks; ++i) {
        const double along = static_cast<double>(i) / checks;
        if (!area.CanMoveTo(actor, nullptr, actor.GetX() + (x - actor.GetX()) * along,
                            actor.GetY() + (y - actor.GetY()) * along))
            return false;
    }
    return true;
}

}  // namespace

void CEngine::AskToMakeWay(CActor& walker, const COrder& order) {
    const CPathfind& walk = *walker.GetPathfinder();
    // One held where she stands by her attackers or her state has no way to make.
    if (!walk.IsHeldUp() || !IsOfTheParty(walker) || walker.HasAttackers(nullptr) ||
        walker.HasStatus(STATUS_IMMOBILE))
        return;
    CActor* bystander = CurrentArea().FindActor(walk.GetHeldBy());
    if (!bystander || bystander == &walker || !MayMakeWay(*bystander) || AimsAt(order, *bystander)) return;
    // The walk may be held by one standing farther on, on its goal or round a
    // bend: she makes way once the walker has come up to her, never from afar,
    // where a trade of places would carry both across the ground between.
    if (walker.DistanceTo(*bystander) > walker.GetRadius() + bystander->GetRadius() + kReachToAsk) return;
    // One come to a way out waits there for the rest: the walk of the party to it
    // ends in its question only with her still there, and one standing in her way
    // is near enough to be asked already.
    for (const auto& [marker, wayOut] : Game().GetWayOutWalks())
        if (wayOut.walkers.count(bystander->GetId())) return;
    if (!StepAside(walker, *bystander)) TradePlaces(walker, *bystander);
}

bool CEngine::StepAside(const CActor& walker, CActor& bystander) {
    const CArea& area = CurrentArea();
    const double dx = bystander.GetX() - walker.GetX();
    const double dy = bystander.GetY() - walker.GetY();
    const double distance = std::hypot(dx, dy);
    if (!(distance > 0.0)) return false;
    // The walker comes on along the line through her: she steps off it far
    // enough for it to pass, straight to a side or to a side and on ahead.
    const double room = walker.GetRadius() + bystander.GetRadius() + kClearance;
    const double aheadX = dx / distance;
    const double aheadY = dy / distance;
    for (const double ahead : {0.0, 1.0})
        for (const double side : {1.0, -1.0}) {
            const double x = bystander.GetX() + room * (ahead * aheadX - side * aheadY);
            const double y = bystander.GetY() + room * (ahead * aheadY + side * aheadX);
            if (!IsClearStep(area, bystander, x, y)) continue;
            DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s steps aside for %s to (%g, %g)\n", bystander.GetName().c_str(),
                       walker.GetName().c_str(), x, y);
            bystander.PushOrder(std::make_shared<CMoveOrder>(x, y), false);
            return bystander.GetCurrentOrder() != nullptr;
        }
    return false;
}

bool CEngine::TradePlaces(CActor& walker, CActor& bystander) {
    const CArea& area = CurrentArea();
    const double walkerX = walker.GetX();
    const double walkerY = walker.GetY();
    if (!area.CanMoveToPast(walker, bystander, bystander.GetX(), bystander.GetY()) ||
        !area.CanMoveToPast(bystander, walker, walkerX, walkerY))
        return false;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s trades places with %s\n", bystander.GetName().c_str(),
               walker.GetName().c_str());
    walker.FinalizeMove(bystander.GetX(), bystander.GetY());
    bystander.FinalizeMove(walkerX, walkerY);
    return true;
}

}  // namespace DRAV
