// Melee and ranged attack orders: approach, wind-up, strike, pause and recovery;
// the strike itself with its passes, flanking, sneak attacks and dual wield; the
// missiles of a ranged strike and the spells attacks carry.

#include <cmath>
#include <memory>

#include "common/random.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "rules/kinds/thing_id.h"
#include "rules/magic/spell.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/effect.h"
#include "world/events/event.h"

namespace DRAV {
namespace {

constexpr double kMeleeReach = 2.5;
constexpr double kRangedReach = 100.0;
constexpr std::uint32_t kWindUpTicks = 60;
constexpr std::uint32_t kFlankingTicks = 195;
constexpr double kMissileSpeed = 75.0;
constexpr double kMissileHeight = 4.0;
constexpr double kMissileHeightStep = 0.5;
constexpr double kOneTick = 1.0 / 30.0;

// Half the seconds since the wind-up began; the subtraction wraps as the counter does.
double WindUpClock(std::uint32_t now, const CActor& actor) {
    return static_cast<std::uint32_t>(now - actor.GetActionEndTick() + kWindUpTicks) / 30.0 * 0.5;
}

void ShowAnimation(CActor& actor, std::uint32_t code) {
    actor.SetAnimation(code, 0.0);
    actor.SetAnimationTime(0.0);
}

void StopWithDefault(CActor& actor) { ShowAnimation(actor, ANIM_DEFAULT); }

std::uint32_t RecoveryAnimation(const CActor& actor) {
    switch (actor.GetFightingStyle()) {
        case SKILL_TWO_HANDED_STYLE: return ANIM_2HRECOVER;
        case SKILL_MARKSMAN_STYLE: return ANIM_RRECOVER;
        default: return ANIM_RECOVER;
    }
}

// 1 below action speed 21; above, one more pass per 10 points, the fraction by chance.
int AttackPasses(const CActor& actor) {
    const std::int32_t speed = actor.GetActionSpeed(ACTIONKIND_ATTACK, nullptr);
    if (speed <= 20) return 1;
    const double extra = (speed - 20) / 10.0;
    return 1 + static_cast<int>(std::trunc(extra + DRAVCommon::Random()));
}

bool IsOut(const CActor& target) { return !target.IsAlive() || target.GetRelation() == RELATION_SURRENDER; }

// A weapon in either hand that the actor may not wield stops the strike; monsters
// fight with their own attacks.
bool HandsAllowStrike(const CActor& actor) {
    if (!actor.GetAttacks().empty()) return true;
    for (const EquipSlot slot : {SLOT_WEAPON, SLOT_OFFHAND}) {
        const CItem* item = actor.GetEquipped(slot);
        if (item && item->GetTemplate().GetKind() == ITEM_WEAPON && !actor.CanEquipInSlot(slot, *item)) return false;
    }
    return true;
}

// True, with the order gone, when the hands refuse the strike.
bool RefuseStrike(CGame& game, CActor& actor, const CAttackOrder& order) {
    if (HandsAllowStrike(actor)) return false;
    if (actor.IsPartyMember()) game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " can't wield weapon, can't attack.");
    StopWithDefault(actor);
    actor.PopOrder(order);
    return true;
}

}  // namespace

void CEngine::PushActorMessage(const CActor& actor, const std::string& fragment) {
    if (actor.GetRelation() == RELATION_PARTY) Game().PushMessage(MESSAGE_NOTICE, actor.GetName() + fragment);
}

CActor* CEngine::FindAttackTarget(CActor& attacker, const CAttackOrder& order, CArea* area) {
    CActor* target = area ? area->FindActor(order.GetThingId()) : nullptr;
    if (target && target->IsAlive() && attacker.CanSee(*target) && target != &attacker) return target;
    if (attacker.GetActionState() == ACTION_WIND_UP || attacker.GetActionState() == ACTION_STRIKE)
        attacker.SetActionState(ACTION_IDLE);
    attacker.SetAttackTarget(0, nullptr);
    attacker.PopOrder(order);
    StopWithDefault(attacker);
    return nullptr;
}

void CEngine::RunMeleeAttack(CActor& actor, const CAttackOrder& order) {
    CActor* target = FindAttackTarget(actor, order, actor.GetArea());
    if (!target) return;
    const std::uint32_t now = Game().GetTick();
    if (actor.HasStatus(STATUS_FEAR)) {
        if (actor.GetAttackTarget()) actor.SetAttackTarget(0, nullptr);
        PushActorMessage(actor, " is too scared to attack!");
        actor.PopOrder(order);
        StopWithDefault(actor);
        return;
    }
    if (actor.GetAttackTarget() != target) {
        if (!actor.GetArea()->CanReachActor(actor, *target, kMeleeReach)) {
            ApproachMeleeTarget(actor, *target, order);
            return;
        }
        actor.SetAttackTarget(now, target);
        actor.FaceTowards(*target);
        if (actor.GetActionState() != ACTION_RECOVERING) {
            actor.BeginAttack(now, target);
            actor.StartAttackAnimation();
            return;
        }
    } else {
        switch (actor.GetActionState()) {
            case ACTION_STRIKE: break;
            case ACTION_WIND_UP: actor.SetAnimationTime(WindUpClock(now, actor)); return;
            case ACTION_RECOVERING: break;
            default:
                actor.BeginAttack(now, target);
                actor.StartAttackAnimation();
                actor.FaceTowards(*target);
                return;
        }
    }
    if (actor.GetActionState() == ACTION_RECOVERING) {
        actor.SetAnimation(ANIM_COMBAT, kOneTick);
        return;
    }
    if (RefuseStrike(Game(), actor, order)) return;
    MeleeStrike(actor, *target);
    if (target->IsAlive()) {
        std::size_t attackers = 0;
        target->HasAttackers(&attackers);
        if (DRAVCommon::RollDie(static_cast<std::int32_t>(attackers)) == 1) target->ReleaseAttackers(true, now);
        else actor.EnterPauseState(now);
    } else {
        target->ReleaseAttackers(false, now);
        actor.PopOrder(order);
    }
    ShowAnimation(actor, RecoveryAnimation(actor));
    actor.StartRecovery(now, ACTIONKIND_ATTACK);
}

// Those attacking a member hold her where she stands, and her foe may stand beyond
// her reach while it holds her: one that stepped back or was pressed off by the
// crowd, or another foe than hers. She would keep her order and never strike
// until she fell; instead she closes on a foe that is the only one holding her,
// and otherwise gives the order up with a word, free to be given another.
void CEngine::ApproachMeleeTarget(CActor& actor, CActor& target, const CAttackOrder& order) {
    if (!actor.IsPartyMember()) {
        MoveActor(actor, target.GetX(), target.GetY(), 0.0, 0.0);
        return;
    }
    if (MoveActorClosingOn(actor, &target, target.GetX(), target.GetY(), 0.0, 0.0) ||
        !actor.HasAttackers(nullptr) || actor.IsHeldOnlyBy(target) || actor.HasStatus(STATUS_IMMOBILE))
        return;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s is held beyond reach of %s, order ends\n", actor.GetName().c_str(),
               target.GetName().c_str());
    PushActorMessage(actor, " can't reach " + target.GetName() + ".");
    StopWithDefault(actor);
    actor.PopOrder(order);
}

void CEngine::RunRangedAttack(CActor& actor, const CAttackOrder& order) {
    CActor* target = FindAttackTarget(actor, order, Game().GetCurrentArea());
    if (!target) return;
    const std::uint32_t now = Game().GetTick();
    actor.FaceTowards(*target);
    const bool inReach = actor.GetArea() && actor.GetArea()->CanReachActor(actor, *target, kRangedReach);
    switch (actor.GetActionState()) {
        case ACTION_RECOVERING:
            if (inReach) actor.SetAnimation(ANIM_COMBAT, kOneTick);
            else MoveActor(actor, target->GetX(), target->GetY(), 0.0, 0.0);
            return;
        case ACTION_WIND_UP:
            actor.SetAnimationTime(WindUpClock(now, actor));
            return;
        case ACTION_STRIKE:
            if (!inReach) {
                actor.StopAttacking();
                StopWithDefault(actor);
                return;
            }
            if (RefuseStrike(Game(), actor, order)) return;
            LaunchRangedAttack(actor, *target);
            return;
        default:
            if (!inReach) {
                MoveActor(actor, target->GetX(), target->GetY(), 0.0, 0.0);
                return;
            }
            // A ranged attack remembers no main target: whoever it shoots at is flanked.
            actor.BeginAttack(now, nullptr);
            actor.StartAttackAnimation();
            return;
    }
}

void CEngine::MeleeStrike(CActor& attacker, CActor& target) {
    CGame& game = Game();
    const std::uint32_t now = game.GetTick();
    const bool sneak = attacker.IsSneaking();
    if (sneak) StopSneaking(attacker);
    RunStrikeTriggers(attacker, target);
    game.SetInBattle(true);

    bool flanking = false;
    const std::uint32_t started = target.GetTargetChangeTick();
    if (started != 0 && now <= started + kFlankingTicks)
        flanking = target.GetTargetChangeId() <= kMaxThingSerial || target.GetTargetChangeId() != attacker.GetId();

    const bool monster = !attacker.GetAttacks().empty();
    const std::int32_t perPass =
        monster ? static_cast<std::int32_t>(attacker.GetAttacks().size())
                : (attacker.GetFightingStyle() == SKILL_DUAL_WIELD_STYLE ? 2 : 1);
    const bool fromParty = attacker.GetRelation() == RELATION_PARTY;
    const int passes = AttackPasses(attacker);
    for (int pass = 0; pass < passes; ++pass) {
        for (std::int32_t hand = 0; hand < perPass; ++hand) {
            const CAttackInfo info = attacker.GetAttackBonus(hand, flanking, sneak, nullptr);
            const bool hit = ResolveAttack2(target, info, fromParty);
            if (IsOut(target)) return;
            const CSpell* spell = hit ? attacker.GetAttackSpell(Module(), hand) : nullptr;
            if (spell) LaunchAttackSpell(attacker.GetName(), fromParty, *spell, target);
            if (IsOut(target)) return;
        }
    }
}

void CEngine::LaunchRangedAttack(CActor& attacker, CActor& target) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    const std::uint32_t now = game.GetTick();
    const bool sneak = attacker.IsSneaking();
    if (sneak) StopSneaking(attacker);
    const CAttackInfo info = attacker.GetAttackBonus(0, false, sneak, nullptr);
    const CItem* weapon = attacker.GetEquipped(SLOT_WEAPON);
    const std::string visual = weapon ? weapon->GetTemplate().GetExtraWord() : std::string();
    const CSpell* onHit = attacker.GetAttackSpell(Module(), 0);
    const bool fromParty = attacker.GetRelation() == RELATION_PARTY;
    const int passes = AttackPasses(attacker);
    for (int pass = 0; pass < passes; ++pass) {
        auto missile = std::make_shared<CEffectAttack>(game.NewEffectId(), &area, attacker.GetName(),
                                                       visual, target.GetId(), fromParty, info, onHit);
        missile->SetPosition(area, attacker.GetX(), attacker.GetY(), kMissileHeight + kMissileHeightStep * pass);
        missile->SetSpeed(kMissileSpeed);
        area.AddEffect(std::move(missile));
    }
    RunStrikeTriggers(attacker, target);
    game.SetInBattle(true);
    attacker.StartRecovery(now, ACTIONKIND_ATTACK);
    ShowAnimation(attacker, RecoveryAnimation(attacker));
    attacker.EnterPauseState(now);
    game.PushEvent(std::make_shared<CInfoEvent>(EVENT_RANGED_ATTACK));
}

void CEngine::LaunchAttackSpell(const std::string& sourceName, bool fromParty, const CSpell& spell, CActor& target) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    // The blow carries the spell; nobody casts it. It strikes by its own name, with whose
    // blow it rode, as a lasting harm's pulse does with whose harm it is.
    auto effect = std::make_shared<CEffectSpell>(game.NewEffectId(), &area, std::string(),
                                                 spell.GetVisualName(), spell.GetVisualParams().get(), target.GetId(),
                                                 fromParty, &spell);
    effect->whose = sourceName;
    effect->difficulty = spell.GetCastingDifficulty();
    effect->SetPosition(area, target.GetX(), target.GetY(), 0.0);
    effect->SetSpeed(spell.GetEffectSpeed());
    area.AddEffect(std::move(effect));
}

}  // namespace DRAV
