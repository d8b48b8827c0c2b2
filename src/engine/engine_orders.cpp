// The continuing-order phase: one step of every actor's current order, after the
// standard check that may delay, cancel or replace it; the movement step that every
// walking order uses; move-and-talk and the return to the entrance.

#include <algorithm>
#include <cmath>

#include "common/exception.h"
#include "common/random.h"
#include "common/trace.h"
#include "engine/brain/ai.h"
#include "engine/engine.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/modifiers.h"
#include "rules/magic/spell.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/calendar_spent.h"
#include "world/cell.h"
#include "world/game.h"
#include "world/movement/distance_compare.h"
#include "world/movement/pathfind.h"
#include "world/movement/pathfind_standard.h"
#include "world/order_rule.h"

namespace DRAV {
namespace {

constexpr double kTicksPerSecond = 30.0;
constexpr double kRecoveryClockStep = 1.0 / 15.0;
constexpr double kWalkClockStep = 1.0 / 30.0;
constexpr double kSneakWalkClockStep = 1.0 / 45.0;
constexpr double kConfusedWander = 10.0;
constexpr int kConfusedTries = 10;
constexpr double kTalkReach = 10.0;
constexpr double kReturnTicksPerUnit = 2.0 * kTicksPerSecond / 10.0;
// The walk back to the entrance passes at once, as a rest does.
constexpr const char* kReturnWalk = "The walk back to the area entrance";

const char* Name(const CActor& actor) { return actor.GetName().c_str(); }

// Who answers a hail for the party: the main character, when it stands within
// talking reach of the one who hailed and is not hiding; else the member the
// hailer came up to. The party speaks through its leader, never through a
// companion whom the words may be about.
CActor& HailAnswerer(const CGame& game, const CArea& area, CActor& reached, const CActor& hailer) {
    for (const auto& member : game.GetParty())
        if (member->IsMainCharacter() && member->IsAlive() && member->GetArea() == &area && !member->IsSneaking() &&
            area.CanReachActor(*member, hailer, kTalkReach))
            return *member;
    return reached;
}

bool IsRecoveryAnimation(std::uint32_t animation) {
    return animation == ANIM_RECOVER || animation == ANIM_RRECOVER || animation == ANIM_2HRECOVER ||
           animation == ANIM_CRECOVER || animation == ANIM_DRECOVER || animation == ANIM_WRECOVER;
}

bool IsRecovering(const CActor& actor) {
    return actor.GetActionState() == ACTION_PAUSE && IsRecoveryAnimation(actor.GetAnimation());
}

bool IsOverloaded(const CActor& actor) {
    if (actor.GetRelation() != RELATION_PARTY) return false;
    const std::int64_t strength = std::int64_t{actor.GetAttribute(ATTR_STRENGTH)} +
                                  actor.GetModifier(GetAttributeModifierIndex(ATTR_STRENGTH));
    return actor.GetCarriedWeight() > GetCarryCapacity(static_cast<std::int32_t>(strength));
}

// The actor `actor` touches and cannot pass when it steps to (x, y); null when the
// step is free or something else is in the way. One on its way elsewhere, only
// passing over the spot, makes room: the walk goes on.
const CActor* TouchedBlocker(const CActor& actor, const CArea& area, double x, double y, double step,
                             std::uint32_t tick) {
    CThing* blocker = nullptr;
    if (area.CanMoveTo(actor, &blocker, x, y)) return nullptr;
    const auto* other = dynamic_cast<const CActor*>(blocker);
    if (!other || CPathfindStandard::IsOnItsWay(*other, tick)) return nullptr;
    return actor.IsWithin(*other, actor.GetRadius() + other->GetRadius() + step) ? other : nullptr;
}

// The walker is as close as it can come to its goal: the walk ends here rather
// than pressing on for ever. Another actor stands on the goal, or the goal lies
// within the walker's own circle, which the pathfinder only ever steps straight
// at, and someone or something (a wall's corner, a post) keeps that step off it.
bool IsStoppedShort(const CActor& actor, const CArea& area, double x, double y, double step, std::uint32_t tick) {
    constexpr double kLargestRadius = 2.0 * kCellSize;
    const double dx = x - actor.GetX();
    const double dy = y - actor.GetY();
    if (IsBeyondRange(dx, dy, actor.GetRadius() + kLargestRadius + step)) return false;
    if (TouchedBlocker(actor, area, x, y, step, tick)) return true;
    const double distance = std::hypot(dx, dy);
    if (!(distance < actor.GetRadius())) return false;
    const double stepX = actor.GetX() + dx * step / distance;
    const double stepY = actor.GetY() + dy * step / distance;
    CThing* blocker = nullptr;
    if (area.CanMoveTo(actor, &blocker, stepX, stepY)) return false;
    if (!dynamic_cast<const CActor*>(blocker)) return true;
    return TouchedBlocker(actor, area, stepX, stepY, step, tick);
}

// An order that takes the actor somewhere: to a spot, to someone to talk to or
// to strike or cast at, to a thing or a door to use.
bool IsWalk(const COrder* order) {
    if (!order) return false;
    switch (order->GetType()) {
        case ORDER_MOVE:
        case ORDER_MOVE_TALK:
        case ORDER_ATTACK:
        case ORDER_CAST: return true;
        case ORDER_USE: return OrderAs<CUseOrder>(*order).kind != USE_ITEM;
        default: return false;
    }
}

}  // namespace

void CEngine::RunOrders() {
    const ActorList actors = CurrentArea().GetActors();
    for (const auto& actor : actors) {
        if (IsRecovering(*actor)) actor->SetAnimation(actor->GetAnimation(), kRecoveryClockStep);
        bool skip = false;
        PreStandardOrderCheck(*actor, skip);
        const std::shared_ptr<COrder> order = actor->GetCurrentOrder();
        if (skip || !order) {
            if (!IsRecovering(*actor)) actor->UpdateFidget();
            continue;
        }
        if (const OrderVerdict verdict = JudgeOrder(*order, *actor, Game(), false); verdict.fit != OrderFit::Now) {
            TellDroppedOrder(*actor, *order, verdict);
            actor->PopOrder(*order);
            continue;
        }
        try {
            RunOneOrder(*actor, *order);
            if (actor->GetCurrentOrder() != order) continue;
            if (actor->GetPathfinder()->HasNoWay()) EndWalkWithNoWay(*actor, *order);
            else if (IsWalk(order.get())) AskToMakeWay(*actor, *order);
        } catch (...) {
            // An order that failed would fail again every tick: it goes now.
            if (actor->GetCurrentOrder() == order) actor->PopOrder(*order);
            throw;
        }
    }
}

void CEngine::RunOneOrder(CActor& actor, const COrder& order) {
    switch (order.GetType()) {
    case ORDER_MOVE: {
        double x = 0.0;
        double y = 0.0;
        if (!actor.GetWalkGoal(x, y)) {
            // A spot on the ground too near its edge for the walker, as the rim of a
            // bridge, is walked to as near as she has room: not paced at until she gives up.
            const auto& move = OrderAs<CMoveOrder>(order);
            CurrentArea().FindRoomOnGround(actor, move.x, move.y, x, y);
            actor.SetWalkGoal(x, y);
        }
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "Run Move %s -> (%f %f)\n", Name(actor), x, y);
        if (MoveActor(actor, x, y, 0.0, 0.0)) EndWalkOnGround(actor, order, x, y);
        break;
    }
    case ORDER_ATTACK:
        if (actor.GetFightingStyle() == SKILL_MARKSMAN_STYLE) RunRangedAttack(actor, OrderAs<CAttackOrder>(order));
        else RunMeleeAttack(actor, OrderAs<CAttackOrder>(order));
        break;
    case ORDER_USE: RunUseOrder(actor, OrderAs<CUseOrder>(order), false); break;
    case ORDER_CAST: RunCastOrder(actor, OrderAs<CCastOrder>(order)); break;
    case ORDER_MOVE_TALK: RunMoveTalkOrder(actor, OrderAs<CMoveTalkOrder>(order)); break;
    case ORDER_RETURN: RunReturnOrder(actor, order); break;
    default: throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "");
    }
}

void CEngine::PreStandardOrderCheck(CActor& actor, bool& skip) {
    skip = false;
    const bool overloaded = IsOverloaded(actor);
    if (actor.GetRelation() != RELATION_SURRENDER && !overloaded && !actor.HasStatus(STATUS_HELD) &&
        !actor.HasStatus(STATUS_CHARMED)) {
        if (actor.HasStatus(STATUS_CONFUSED)) IssueConfusedOrder(actor);
        else if (actor.HasStatus(STATUS_DOMINATED)) IssueDominatedOrder(actor);
    }
    const std::shared_ptr<COrder> order = actor.GetCurrentOrder();
    if (actor.GetActionState() == ACTION_PAUSE) {
        if (order) DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s is delayed\n", Name(actor));
        skip = true;
        return;
    }
    if (actor.GetActionState() == ACTION_DEAD) {
        if (order) DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s is dead\n", Name(actor));
        skip = true;
        return;
    }
    if (!order) return;

    const bool member = actor.GetRelation() == RELATION_PARTY;
    const char* why = nullptr;
    if (actor.GetRelation() == RELATION_SURRENDER) {
        why = "has surrendered";
    } else if (overloaded) {
        Game().PushMessage(MESSAGE_NOTICE, actor.GetName() + " is overloaded!");
        why = "overloaded";
    } else if (actor.HasStatus(STATUS_HELD)) {
        if (member) Game().PushMessage(MESSAGE_NOTICE, actor.GetName() + " is magically held.");
        why = "held";
    } else if (actor.HasStatus(STATUS_CHARMED) && Game().IsInBattle()) {
        if (member) Game().PushMessage(MESSAGE_NOTICE, actor.GetName() + " is magically charmed.");
        why = "charmed";
    }
    if (!why) return;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s %s, cancel order\n", Name(actor), why);
    actor.PopOrder(*order);
    skip = true;
}

void CEngine::IssueConfusedOrder(CActor& actor) {
    if (actor.GetCurrentOrder()) return;
    const CArea& area = CurrentArea();
    const double width = area.GetColumns() * kCellSize;
    const double height = area.GetRows() * kCellSize;
    for (int attempt = 0; attempt < kConfusedTries; ++attempt) {
        const double x = std::clamp(actor.GetX() + (2.0 * DRAVCommon::Random() - 1.0) * kConfusedWander, 0.0, width);
        const double y = std::clamp(actor.GetY() + (2.0 * DRAVCommon::Random() - 1.0) * kConfusedWander, 0.0, height);
        if (area.CanMoveTo(actor, nullptr, x, y)) {
            actor.PushOrder(std::make_shared<CMoveOrder>(x, y), true);
            return;
        }
    }
}

void CEngine::IssueDominatedOrder(CActor& actor) {
    if (actor.GetCurrentOrder()) return;
    // Flags 0 search the actor's own side: the domination turns it on its friends.
    CActor* target = CAI::FindTarget(actor, 0, nullptr, 0.0);
    if (!target) return;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s is dominated, attacks %s\n", Name(actor), Name(*target));
    if (actor.GetRelation() == RELATION_PARTY)
        Game().PushMessage(MESSAGE_NOTICE, actor.GetName() + " is dominated, attacks " + target->GetName() + "!");
    actor.PushOrder(std::make_shared<CAttackOrder>(target->GetId()), true);
}

bool CEngine::MoveActor(CActor& actor, double x, double y, double halfWidth, double range) {
    return MoveActorClosingOn(actor, nullptr, x, y, halfWidth, range);
}

bool CEngine::MoveActorClosingOn(CActor& actor, const CActor* closingOn, double x, double y, double halfWidth,
                                 double range) {
    const double step = actor.GetMoveSpeed() / kTicksPerSecond;
    // One slowed to no speed at all goes nowhere either, as one immobile.
    if (actor.HasStatus(STATUS_IMMOBILE) || !(step > 0.0)) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s is immobile, can't move\n", Name(actor));
        // Running the default animation on by minus its clock restarts it either way.
        actor.SetAnimation(ANIM_DEFAULT, -actor.GetAnimationTime());
        NoteWalkHeld(actor, true);
        return false;
    }
    actor.SetAnimation(ANIM_MOVE, actor.IsSneaking() ? kSneakWalkClockStep : kWalkClockStep);
    if (actor.HasAttackers(nullptr) && !(closingOn && actor.IsHeldOnlyBy(*closingOn))) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s has attackers, can't move\n", Name(actor));
        NoteWalkHeld(actor, false);
        return false;
    }
    CArea& area = CurrentArea();
    if (IsWithinRange(x - actor.GetX(), y - actor.GetY(), step)) {
        if (area.CanMoveTo(actor, nullptr, x, y)) actor.FinalizeMove(x, y);
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s finished move\n", Name(actor));
        return true;
    }
    if (IsStoppedShort(actor, area, x, y, step, Game().GetTick())) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s finished move\n", Name(actor));
        return true;
    }
    actor.GetPathfinder()->MoveActor(actor, area, x, y, halfWidth, range);
    return false;
}

void CEngine::RunMoveTalkOrder(CActor& actor, const CMoveTalkOrder& order) {
    CArea& area = CurrentArea();
    CActor* partner = area.FindActor(order.partner);
    if (!partner || partner->GetActionState() == ACTION_DEAD || partner == &actor) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s end movetalk, no target\n", Name(actor));
        actor.PopOrder(order);
        return;
    }
    // However the partner turned, by a trigger, a tag, a blow or a script, a
    // member does not walk on to talk to a foe; nor to one calmed by the party's
    // absence, or by its rest after a wipe-out, that waits to fall on it again and
    // has nothing to say.
    if (actor.IsPartyMember() && (partner->IsHostile() || IsSilentFoe(*partner))) {
        EndTalkWalkWithFoe(actor, *partner);
        return;
    }
    MoveActor(actor, partner->GetX(), partner->GetY(), 0.0, 0.0);
    const double reach = kTalkReach - actor.GetMoveSpeed() / kTicksPerSecond;
    if (!area.CanReachActor(actor, *partner, reach)) return;

    CActor* talker = nullptr;
    CActor* listener = nullptr;
    if (actor.GetRelation() == RELATION_PARTY) {
        talker = &actor;
        listener = partner;
    } else if (partner->GetRelation() == RELATION_PARTY) {
        talker = &HailAnswerer(Game(), area, *partner, actor);
        listener = &actor;
    }
    actor.PopOrder(order);
    if (!talker) return;
    // One who set out to talk to the party before another talk began lets it be:
    // the talk it meant to begin has been had, or left.
    if (talker != &actor && order.talksBegun != Game().GetTalksBegun()) return;
    StopSneaking(*talker);
    Game().BeginTalk(talker->GetId(), listener->GetId());
    // A hail ends the walks that led into it: the party stops to answer, and
    // whatever the answer, nobody walks on past whoever hailed it, nor on to a
    // talk of her own that would open a second page over this one.
    if (talker != &actor) {
        for (const auto& member : Game().GetParty())
            if (IsWalk(member->GetCurrentOrder().get())) member->ClearOrders();
        return;
    }
    // Two sent to talk to each other talk once.
    const std::shared_ptr<COrder> partnerOrder = partner->GetCurrentOrder();
    if (partnerOrder && partnerOrder->GetType() == ORDER_MOVE_TALK && partnerOrder->GetThingId() == actor.GetId())
        partner->ClearOrders();
}

void CEngine::RunUseOrder(CActor& actor, const CUseOrder& order, bool instant) {
    if (order.kind == USE_TILE && !instant) RunUseTileOrder(actor, order);
    else if (order.kind == USE_OBJECT && !instant) RunUseObjectOrder(actor, order);
    else if (order.kind == USE_ITEM) RunUseItemOrder(actor, order, instant);
    else throw CDRAVException(DRAV_ERR_PARTY_POSITION, "");
}

void CEngine::RunCastOrder(CActor& actor, const CCastOrder& order) {
    const auto& spells = Module().GetSpells();
    const auto found = spells.find(order.spell);
    if (found == spells.end() || !found->second) throw CDRAVException(DRAV_ERR_PARTY_POSITION, "");
    const CSpell& spell = *found->second;
    if (const OrderVerdict verdict = JudgeCaster(actor, spell); verdict.fit != OrderFit::Now) {
        TellDroppedOrder(actor, order, verdict);
        actor.PopOrder(order);
        return;
    }
    if (CastHelperAttacking(actor, order.GetTargetId(), spell, true, nullptr)) actor.PopOrder(order);
}

void CEngine::RunReturnOrder(CActor& actor, const COrder& order) {
    CGame& game = Game();
    actor.PopOrder(order);
    if (RefuseReturn()) return;
    // The entry the party arrived by, not the destination of an exit that came
    // within reach since.
    const AreaEntryPoint entry = game.GetCurrentEntry();
    if (!IsReturnEntry(entry)) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "No entry %s %s to return to\n", entry.first.c_str(), entry.second.c_str());
        return;
    }
    // Timed from where the party stands, and placed before anything else changes:
    // an entry with no room for it refuses the walk back, as an arrival with no room
    // gives up its journey.
    const std::uint32_t walk = GetReturnTime(entry);
    const std::string noRoom = MovePartyToEntry(CurrentArea(), entry.second);
    if (!noRoom.empty()) {
        game.PushMessage(MESSAGE_NOTICE, "The party cannot return to the area entrance: " + noRoom +
                                             ". The party stays where it is.");
        return;
    }
    game.PassTime(walk, kReturnWalk);
    game.PushEvent(std::make_shared<CInfoEvent>(EVENT_RETURNED_TO_ENTRANCE));
    game.PushMessage(MESSAGE_NOTICE, "The party returns to the area entrance.");

    const std::uint32_t tick = game.GetTick();
    for (const auto& member : game.GetParty()) {
        member->ReleaseAttackers(false, tick);
        if (member->GetActionState() == ACTION_WIND_UP || member->GetActionState() == ACTION_STRIKE)
            member->SetActionState(ACTION_IDLE);
        member->SetAttackTarget(0, nullptr);
        member->ClearOrders();
    }
    CurrentArea().SetViewStale(true);
}

bool CEngine::IsReturnEntry(const AreaEntryPoint& entry) const {
    const CArea* area = Game().GetCurrentArea();
    return area && entry.first == area->GetName() && FindAreaEntry(area->GetEntries(), entry.second);
}

bool CEngine::RefuseReturn() {
    CGame& game = Game();
    if (game.IsInBattle()) {
        game.PushMessage(MESSAGE_NOTICE, "You cannot return while in battle.");
        return true;
    }
    const AreaEntryPoint entry = game.GetCurrentEntry();
    if (!IsReturnEntry(entry)) return false;
    try {
        game.RequireTimeToPass(GetReturnTime(entry), kReturnWalk);
    } catch (const CCalendarSpent& refusal) {
        game.PushMessage(MESSAGE_NOTICE, refusal.GetMessage());
        return true;
    }
    return false;
}

std::uint32_t CEngine::GetReturnTime(const AreaEntryPoint& entry) const {
    const CArea& area = CurrentArea();
    const CAreaEntry* found = entry.first == area.GetName() ? FindAreaEntry(area.GetEntries(), entry.second) : nullptr;
    if (!found) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "");
    const double x = found->column * kCellSize;
    const double y = found->row * kCellSize;
    double farthest = 0.0;
    for (const auto& member : Game().GetParty())
        if (member->GetActionState() != ACTION_DEAD) farthest = std::max(farthest, member->DistanceToPoint(x, y));
    return static_cast<std::uint32_t>(farthest * kReturnTicksPerUnit);
}

}  // namespace DRAV
