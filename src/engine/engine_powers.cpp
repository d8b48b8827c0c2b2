// Powers: switching them on and off, sneaking, their upkeep and visible effects;
// the pulses of ongoing spells; the teleport and spell launch scripts call.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/exception.h"
#include "engine/engine.h"
#include "rules/magic/spell.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_apply_effect.h"
#include "script/script_run.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/area/area_records.h"
#include "world/effect.h"
#include "world/events/event.h"
#include "world/game.h"

namespace DRAV {

namespace {

constexpr std::uint32_t kSneakRetryTicks = 300;
constexpr std::int32_t kCombatSneakCost = 10;

// A pulse that only harms can stand for others of its kind due with it: their rolls
// sum in one line. Any other effect is taken once per pulse.
bool OnlyHarms(const CSpell& spell) {
    return std::all_of(spell.GetEffects().begin(), spell.GetEffects().end(),
                       [](const auto& effect) { return effect->GetKind() == EFFECT_DAMAGE; });
}

// The casting value a spell carries when nobody casts it.
std::int32_t UncastDifficulty(const CSpell& spell) {
    if (spell.GetTier() != -1) return std::max(0, 5 * spell.GetTier() - 3);
    if (spell.GetLevel() != -1) return 0;
    return spell.GetBonus();
}

}  // namespace

void CEngine::RunMaintainedPowers() {
    CGame& game = Game();
    const std::uint32_t now = game.GetTick();
    const auto due = [now](const CActor& actor) { return actor.GetCurrentPower() && actor.GetPowerEndTick() <= now; };
    // Most ticks no power's upkeep falls due, and no list is copied.
    const ActorList& placed = CurrentArea().GetActors();
    if (std::none_of(placed.begin(), placed.end(), [&](const auto& actor) { return due(*actor); })) return;
    const ActorList actors = placed;
    for (const auto& actor : actors) {
        if (!due(*actor)) continue;
        const CSpell& power = *actor->GetCurrentPower();
        bool renewed = false;
        actor->ActivatePower(power, now, renewed);
        if (!actor->GetCurrentPower()) {
            game.PushActorInfoEvent(EVENT_ACTOR_POWER_ENDED, actor->GetId());
            game.PushMessage(MESSAGE_NOTICE, actor->GetName() + " doesn't have enough energy to maintain power.");
        }
        game.PushActorInfoEvent(EVENT_ACTOR_ENERGY, actor->GetId());
        if (actor->GetCurrentPower()) ShowPowerEffect(*actor, *actor->GetCurrentPower());
    }
}

void CEngine::RunOngoingSpells() {
    const std::uint32_t now = Game().GetTick();
    // The pulses due are gathered before any is launched, so that no launch can
    // change a list under the look, and a tick without one copies nothing.
    struct Pulse {
        std::shared_ptr<CActor> actor;
        const CSpell* spell;
        std::int32_t castingValue;
        std::int32_t casterLevel;
        std::string whose;
        std::int32_t count;
    };
    std::vector<Pulse> pulses;
    for (const auto& actor : CurrentArea().GetActors()) {
        if (!actor->IsAlive()) continue;
        for (const auto& effect : actor->GetActiveEffects()) {
            for (const auto& part : effect->GetParts()) {
                if (part->GetKind() != APPLY_ONGOING) continue;
                const std::uint32_t left = part->GetEndTick() - now;
                if (left % CSpellApplyEffectOngoing::kPulseTicks != 1) continue;
                const auto& ongoing = static_cast<const CSpellApplyEffectOngoing&>(*part);
                // Copies of one caster's harm held apart (cast at other strengths) fall due
                // on the same tick when cast in the same moment: told as one pulse, not a
                // run of the same line. The save they face together is the strongest's.
                const auto same = std::find_if(pulses.begin(), pulses.end(), [&](const Pulse& due) {
                    return due.actor == actor && due.spell == &ongoing.GetSpell() && OnlyHarms(*due.spell) &&
                           due.casterLevel == effect->GetCasterLevel() && due.whose == effect->GetCasterName();
                });
                if (same != pulses.end() && same->count < kMostPulsesTogether) {
                    same->castingValue = std::max(same->castingValue, effect->GetCastingValue());
                    ++same->count;
                    continue;
                }
                pulses.push_back({actor, &ongoing.GetSpell(), effect->GetCastingValue(), effect->GetCasterLevel(),
                                  effect->GetCasterName(), 1});
            }
        }
    }
    for (const Pulse& pulse : pulses)
        LaunchSpellAt(*pulse.actor, *pulse.spell, pulse.actor->GetRelation() != RELATION_PARTY, pulse.castingValue,
                      pulse.casterLevel, pulse.whose, pulse.count);
}

void CEngine::RunPowerOrder(CActor& actor, const CPowerOrder& order) {
    CGame& game = Game();
    const bool party = actor.GetRelation() == RELATION_PARTY;
    const char* refusal = nullptr;
    if (actor.HasStatus(STATUS_HELD)) refusal = " is magically held.";
    else if (actor.HasStatus(STATUS_DOMINATED)) refusal = " is dominated.";
    else if (actor.HasStatus(STATUS_CONFUSED)) refusal = " is confused.";
    if (refusal) {
        if (party) game.PushMessage(MESSAGE_NOTICE, actor.GetName() + refusal);
        return;
    }
    if (order.power.empty()) {
        actor.EndPower();
        return;
    }
    const CSpell* power = FindSpell(Module().GetSpells(), order.power);
    if (!power || !power->HasFlag(SPELL_POWER))
        throw CDRAVException(DRAV_ERR_PARTY_POSITION, "no power " + order.power);
    if (!actor.MeetsSpellRequirements(*power)) return;
    if (!actor.CanUsePower(*power)) {
        game.PushMessage(MESSAGE_NOTICE,
                         actor.GetName() + " doesn't have the right equipment to use " + power->GetName() + ".");
        return;
    }
    if (power->GetSchool() == SKILL_SNEAK) {
        StartSneaking(actor, *power);
        return;
    }
    if (actor.GetEnergy() < power->GetEnergyCost()) {
        if (party)
            game.PushMessage(MESSAGE_NOTICE,
                             actor.GetName() + " doesn't have enough energy to use " + power->GetName() + ".");
        return;
    }
    bool renewed = false;
    actor.ActivatePower(*power, game.GetTick(), renewed);
    if (!renewed) ShowPowerEffect(actor, *power);
    game.PushActorInfoEvent(EVENT_ACTOR_ENERGY, actor.GetId());
}

void CEngine::StartSneaking(CActor& actor, const CSpell& power) {
    CGame& game = Game();
    const std::uint32_t now = game.GetTick();
    const bool party = actor.GetRelation() == RELATION_PARTY;
    auto refuse = [&game, &actor](const std::string& text) { game.PushMessage(MESSAGE_NOTICE, actor.GetName() + text); };
    if (!actor.HasSkill(SKILL_SNEAK)) return refuse(" can't sneak.");
    const bool combat = game.IsInBattle();
    if (combat) {
        std::size_t attackers = 0;
        if (!actor.HasSkill(SKILL_COMBAT_SNEAK)) return refuse(" can't start sneaking in combat.");
        if (actor.GetActionState() == ACTION_WIND_UP) return refuse(" can't start sneaking while active.");
        if (actor.HasAttackers(&attackers)) return refuse(" can't start sneaking while being attacked.");
        // The next attempt's earliest tick.
        if (now < actor.GetPowerCooldownTick()) return refuse(" must wait before attempting to sneak again.");
        actor.SetPowerCooldownTick(now + kSneakRetryTicks);
        if (actor.GetEnergy() < kCombatSneakCost) {
            if (party) refuse(" doesn't have enough energy to sneak in combat.");
            return;
        }
        actor.SetEnergyUsed(actor.GetEnergyUsed() + kCombatSneakCost);
        game.PushActorInfoEvent(EVENT_ACTOR_ENERGY, actor.GetId());
    }
    if (!StealthCheckOneActor(actor, combat)) {
        if (!combat) refuse(" is spotted and can't sneak.");
        return;
    }
    bool renewed = false;
    actor.ActivatePower(power, now, renewed);
    if (party) game.PushActorInfoEvent(EVENT_ACTOR_SNEAK, actor.GetId());
}

void CEngine::ShowPowerEffect(CActor& actor, const CSpell& power) {
    if (power.HasFlag(SPELL_MULTITARGET)) {
        CastTarget none;
        CastHelperLaunch(actor, power, false, nullptr, none);
        return;
    }
    if (power.GetVisualName().empty()) return;
    CArea& area = CurrentArea();
    auto effect = std::make_shared<CEffectSpell>(Game().NewEffectId(), &area, power.GetVisualName(),
                                                 power.GetVisualParams().get(), actor.GetId(), &power);
    effect->SetPosition(area, actor.GetX(), actor.GetY(), 0.0);
    effect->SetSpeed(75.0);
    area.AddEffect(effect);
}

void CEngine::TeleportActor(CActor& actor, const CSpell& spell, const CAreaEntry& entry) {
    // A script's teleport moves the actor before the game hears of it.
    CountMadeThing();
    actor.ClearOrders();
    actor.SetOrdersChanged(true);
    TeleportHelper(actor, spell, entry.column, entry.row, UncastDifficulty(spell),
                   actor.GetRelation() == RELATION_PARTY);
}

void CEngine::LaunchScriptSpell(CActor& actor, const CSpell& spell) {
    CArea& area = CurrentArea();
    auto effect = std::make_shared<CEffectSpell>(Game().NewEffectId(), &area, std::string(),
                                                 spell.GetVisualName(), spell.GetVisualParams().get(),
                                                 actor.GetId(), false, &spell);
    effect->difficulty = UncastDifficulty(spell);
    effect->hitBonus = UncastDifficulty(spell);
    effect->SetPosition(area, actor.GetX(), actor.GetY(), 0.0);
    effect->SetSpeed(spell.GetEffectSpeed());
    area.AddEffect(effect);
}

}  // namespace DRAV
