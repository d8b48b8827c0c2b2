// One attack against one actor: to-hit, resistance, critical hits, damage with the
// difficulty's share for the party, and the end of a life: surrender or death.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/random.h"
#include "engine/engine.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/number_texts.h"
#include "rules/monsters/actor_template.h"
#include "rules/vocabulary/difficulty.h"
#include "world/actor.h"
#include "world/events/event.h"

namespace DRAV {
namespace {

constexpr std::int32_t kFullResistance = 20;
constexpr std::int32_t kCriticalRange = 5;
constexpr std::int32_t kWideCriticalRange = 10;

// "Wren's attack is", "the attacks of Wren and Marra are": whose ended.
std::string WhoseAttacks(const std::vector<std::string>& names) {
    if (names.size() == 1) return names.front() + "'s attack is";
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return "the attacks of " + list + " are";
}

}  // namespace

bool CEngine::ResolveAttack2(CActor& target, const CAttackInfo& info, bool attackerIsParty) {
    CGame& game = Game();
    RemoveCharmedCheck(target, attackerIsParty);
    const bool touch = (info.flags & ATTACK_TOUCH) != 0;
    const bool flanking = (info.flags & ATTACK_FLANKING) != 0;
    const bool ranged = (info.flags & ATTACK_MARKSMAN) != 0;
    // Flanking and touch both get past the target's armour and shield.
    const std::int32_t defense = target.GetDefenseClass(flanking || touch, nullptr);
    const std::int32_t roll = DRAVCommon::RollDie(100);
    std::string rollText = FormatRollText(roll, info.attackBonus, defense);
    if (flanking) rollText += " [flanking]";
    if (touch) rollText += " [touch]";
    if (info.flags & ATTACK_SNEAK) rollText += " [sneak attack]";

    if (!PercentileSuccess(roll, info.attackBonus, defense)) {
        game.PushMessage(ranged ? MESSAGE_RANGED_MISS : MESSAGE_MELEE_MISS,
                         info.name + " misses " + target.GetName() + " " + rollText + ".");
        return false;
    }
    // Resistances and enhancements reach the whole 32-bit range (a saved game, a
    // module's numbers grown by advances): the difference and its percentages are taken wider.
    const std::int64_t resistance = std::int64_t{target.GetDamageResistance(info.damageType)} - info.enhancement;
    if (resistance >= kFullResistance) {
        game.PushMessage(MESSAGE_NOTICE,
                         info.name + " hits " + target.GetName() + " " + rollText + ", damage resisted 100%.");
        return true;
    }
    const auto percent = static_cast<std::int32_t>(std::min<std::int64_t>(100, (kFullResistance - resistance) * 5));
    const CSaveOutcome outcome{percent, true, true};
    const std::string resistText = "(Resisted " + std::to_string(resistance * 5) + "%)";
    const std::string* resist = resistance > 0 ? &resistText : nullptr;
    const std::int32_t hitKind = ranged ? MESSAGE_RANGED_HIT : MESSAGE_MELEE_HIT;
    const std::int32_t range = (info.flags & ATTACK_CRITICAL) ? kWideCriticalRange : kCriticalRange;
    if (DRAVCommon::RollDie(100) > range) {
        ResolveDamage(&rollText, resist, target, info, outcome, hitKind);
        return true;
    }
    rollText += " [" + std::to_string(range) + "% critical x2]";
    CAttackInfo doubled = info;
    doubled.dieA = SaturateInt32(std::int64_t{info.dieA} * 2);
    doubled.bonusA = SaturateInt32(std::int64_t{info.bonusA} * 2);
    ResolveDamage(&rollText, resist, target, doubled, outcome, hitKind);
    game.PushEvent(std::make_shared<CInfoEvent>(EVENT_CRITICAL_HIT));
    return true;
}

void CEngine::RemoveCharmedCheck(CActor& target, bool attackerIsParty) {
    if (!target.HasStatus(STATUS_CHARMED)) return;
    if (target.IsPartyOrFriendly() && attackerIsParty) return;
    if (target.GetRelation() == RELATION_PARTY) {
        Game().PushMessage(MESSAGE_NOTICE, target.GetName() + " is attacked, is no longer charmed.");
        Game().PushActorInfoEvent(EVENT_ACTOR_STATUS, target.GetId());
    }
    target.RemoveCharm();
}

void CEngine::ResolveDamage(const std::string* rollText, const std::string* resistText, CActor& target,
                            const CAttackInfo& info, const CSaveOutcome& outcome, std::int32_t messageKind,
                            std::int32_t rolls) {
    CGame& game = Game();
    if (target.GetRelation() == RELATION_SURRENDER) {
        // Once: the blows of friends and the pulses of a lasting harm that find it
        // after change nothing, and the same line again and again says nothing new.
        if (game.NoteSurrenderTold(target.GetId()))
            game.PushMessage(messageKind, info.name + " does no harm to " + target.GetName() + ": " +
                                              target.GetName() + " has surrendered.");
        return;
    }
    // Each roll hurts as a blow of its own would. Rolls of 32 bits, summed as many
    // times as 32 bits count, stay inside 64.
    std::int64_t damage = 0;
    for (std::int32_t roll = 0; roll < std::max(rolls, 1); ++roll) {
        std::int64_t one = std::int64_t{DRAVCommon::RollDie(SaturateInt32(std::int64_t{info.dieA} + info.dieB))} +
                           info.bonusA + info.bonusB;
        if (outcome.scaleEffect && outcome.percent != 100) one = outcome.percent * one / 100;
        damage += std::max<std::int64_t>(one, 1);
    }
    const bool party = target.GetRelation() == RELATION_PARTY;
    if (party) {
        // Any fraction of a point still hurts.
        const std::int64_t percent = GetDifficultyDamagePercent(game.GetDifficulty());
        damage = (percent * damage + 99) / 100;
    }
    std::string text = info.name + " hits ";
    if (rollText) text += *rollText + " ";
    text += target.GetName() + " for " + std::to_string(damage) + " damage";
    if (resistText) text += " " + *resistText;
    game.PushMessage(messageKind, text + ".");
    if (party) game.PushActorInfoEvent(EVENT_ACTOR_HIT_POINTS, target.GetId());

    const std::int64_t remaining = target.IsAlive() ? std::int64_t{target.GetHitPoints()} : 0;
    if (damage < remaining) {
        target.SetDamageTaken(static_cast<std::int32_t>(std::max<std::int64_t>(target.GetDamageTaken() + damage, 0)));
        target.SetLastDamage(static_cast<std::int32_t>(damage), game.GetTick());
    } else {
        ResolveActorDied(info.name, target);
    }
}

void CEngine::ResolveActorDied(const std::string& killerName, CActor& target) {
    CGame& game = Game();
    if (!target.IsAlive()) {
        target.SetDamageTaken(std::max(target.GetDamageTaken() - 1, 0));
    } else if (target.GetHitPoints() <= 0) {
        target.SetDamageTaken(std::max(target.GetMaxHitPoints() - 1, 0));
    }
    // Surrender is a foe's, given up to the party: a member of the party, whatever
    // its kind, falls as a member does, and the party keeps it.
    if ((target.GetMonsterFlags() & MONSTER_SURRENDER) && !target.IsPartyMember()) {
        target.SetRelation(RELATION_SURRENDER);
        // Who gives up lets go of whoever it was fighting, or that actor could never
        // walk away from it again.
        target.StopAttacking();
        game.PushMessage(MESSAGE_NOTICE, target.GetName() + " surrenders.");
        std::vector<std::string> stopped;
        for (const auto& member : game.GetParty()) {
            if (!member->IsAlive()) continue;
            const std::shared_ptr<COrder> order = member->GetCurrentOrder();
            if (!order || order->GetType() != ORDER_ATTACK || order->GetThingId() != target.GetId()) continue;
            if (member->GetActionState() == ACTION_WIND_UP || member->GetActionState() == ACTION_STRIKE)
                member->SetActionState(ACTION_IDLE);
            member->SetAttackTarget(0, nullptr);
            member->SetAnimation(ANIM_DEFAULT, 0.0);
            member->SetAnimationTime(0.0);
            member->PopOrder(*order);
            stopped.push_back(member->GetName());
        }
        if (!stopped.empty())
            game.PushEvent(std::make_shared<CDialogBoxEvent>(EVENT_DIALOG_BOX, target.GetName(),
                                                             target.GetName() + " has surrendered: " +
                                                                 WhoseAttacks(stopped) + " cancelled."));
        return;
    }
    target.SetActionState(ACTION_DEAD);
    target.SetAttackTarget(0, nullptr);
    game.PushMessage(MESSAGE_DEATH, killerName + " has killed " + target.GetName() + ".");
}

}  // namespace DRAV
