// The effects of a resolved spell that act at once: summon, heal and restore
// energy, damage, dispel, created items and raise.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/random.h"
#include "engine/engine.h"
#include "engine/spell_words.h"
#include "rules/kinds/number_texts.h"
#include "rules/magic/spell.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_effect_dispel.h"
#include "rules/magic/spell_effects_conjure.h"
#include "rules/magic/spell_effects_vital.h"
#include "rules/module.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/item.h"

namespace DRAV {

namespace {

constexpr std::uint32_t kTicksPerSecond = 30;

std::int32_t RecoveryCapacity(const CActor& actor) {
    return (static_cast<std::int32_t>(actor.GetAttribute(ATTR_DURABILITY)) + actor.GetModifier(MOD_DURABILITY)) / 2;
}

std::int32_t RecoveriesLeft(const CActor& actor) { return RecoveryCapacity(actor) - actor.GetHealsReceived(); }

std::int32_t ScaledLevel(std::int32_t casterLevel, std::int32_t cap) { return std::min(casterLevel, cap); }

std::int32_t DurationValue(const CSpellDuration& duration, std::int32_t casterLevel) {
    return duration.GetBase() + duration.GetPerLevel() * ScaledLevel(casterLevel, duration.GetLevelCap());
}

// Die size and fixed amount at the caster's level; a magnitude without a level cap
// does not grow.
void MagnitudeAt(const CSpellMagnitude& magnitude, std::int32_t casterLevel, std::int32_t& die,
                 std::int32_t& fixed) {
    die = magnitude.GetDice();
    fixed = magnitude.GetBonus();
    if (magnitude.GetLevelCap() == 0) return;
    const std::int32_t level = ScaledLevel(casterLevel, magnitude.GetLevelCap());
    die += magnitude.GetDicePerLevel() * level;
    fixed += magnitude.GetBonusPerLevel() * level;
}

}  // namespace

void CEngine::ResolveSummon(const CSpellWords& words, std::int32_t column, std::int32_t row, bool fromParty,
                            const CSpellEffectSummon& effect, std::int32_t casterLevel) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    if (const std::string why = fromParty ? SummonFizzle(effect) : std::string(); !why.empty()) {
        game.PushMessage(MESSAGE_NOTICE, words.Fizzles(why));
        return;
    }
    if (column < 0 || row < 0) return;
    std::shared_ptr<CActor> actor;
    try {
        actor = area.CreateEncounterActor(effect.GetMonsterKey(), "", 0, Module());
    } catch (const CThingSerialsSpent&) {
        game.PushMessage(MESSAGE_NOTICE,
                         words.Fizzles("the game can number no more creatures until it is saved and loaded."));
        return;
    }
    if (!area.PlaceActor(static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(row), false, actor)) return;
    const Relation relation = fromParty ? effect.GetRelation() : RELATION_HOSTILE;
    actor->SetRelation(relation);
    actor->SetSummonEndTick(game.GetTick() +
                            static_cast<std::uint32_t>(DurationValue(effect.GetDuration(), casterLevel)) *
                                kTicksPerSecond);
    actor->SetEncounter("", 0);
    actor->SetExperience(0);
    if (actor->HasSkill(SKILL_SNEAK)) {
        bool renewed = false;
        actor->ActivatePower(GetSpell(Module().GetSpells(), "s_power-sneak"), game.GetTick(), renewed);
    }
    if (fromParty && relation == RELATION_PARTY) {
        // Party members come last in the area's list.
        area.AddActor(area.RemoveActor(*actor));
        game.AddPartyMember(actor);
        game.PushEvent(std::make_shared<CInfoEvent>(0));
    }
    game.PushMessage(MESSAGE_SUMMONING, words.Summons(actor->GetName()));
}

std::string CEngine::SummonFizzle(const CSpellEffectSummon& effect) const {
    if (effect.GetRelation() == RELATION_PARTY && Game().GetParty().size() >= kMaxPartyMembers)
        return "the party can't summon any more creatures.";
    for (const std::shared_ptr<CActor>& other : CurrentArea().GetActors())
        if (other->IsSummoned() && other->GetTemplateName() == effect.GetMonsterKey() &&
            other->GetRelation() != RELATION_HOSTILE)
            return other->GetName() + " is already summoned.";
    return {};
}

void CEngine::ResolveHeal(const CSpellWords& words, CActor& target, const CSpellEffectHeal& effect,
                          std::int32_t casterLevel) {
    CGame& game = Game();
    if (RecoveriesLeft(target) < 0) {
        game.PushMessage(MESSAGE_NOTICE, words.CannotHeal(target));
        return;
    }
    std::int32_t die = 0;
    std::int32_t fixed = 0;
    MagnitudeAt(effect.GetMagnitude(), casterLevel, die, fixed);
    std::int32_t amount = (die > 0 ? DRAVCommon::RollDie(die) : 0) + fixed;
    amount = effect.GetMagnitude().IsPositive() ? std::max(amount, 1) : std::min(amount, -1);
    const bool heal = effect.GetKind() == EFFECT_HEAL;
    if (heal)
        target.SetDamageTaken(std::max(target.GetDamageTaken() - amount, 0));
    else
        target.SetEnergyUsed(std::max(target.GetEnergyUsed() - amount, 0));
    target.SetHealsReceived(target.GetHealsReceived() + 1);
    game.PushMessage(MESSAGE_HARMLESS_SPELL, words.Heals(target, amount, !heal));
    if (target.GetRelation() == RELATION_PARTY) game.PushActorInfoEvent(EVENT_ACTOR_HIT_POINTS, target.GetId());
}

void CEngine::ResolveSpellDamage(const std::string& label, CActor& target, const CSpellEffectDamage& effect,
                                 std::int32_t casterLevel, const CDamageType& type, const CSaveOutcome& outcome,
                                 std::int32_t rolls) {
    std::int32_t die = 0;
    std::int32_t fixed = 0;
    MagnitudeAt(effect.GetMagnitude(), casterLevel, die, fixed);
    const CAttackInfo info(label, 0, die, fixed, 0, 0, type, 0, 0);
    ResolveDamage(nullptr, nullptr, target, info, outcome, MESSAGE_HOSTILE_SPELL, rolls);
}

void CEngine::ResolveDispel(const std::string& label, CActor& target, const CSpellEffectDispel& effect,
                            std::int32_t difficulty) {
    CGame& game = Game();
    SpellApplyList candidates;
    for (const std::shared_ptr<CSpellApply>& applied : target.GetActiveEffects()) {
        const DamageCategory category = applied->GetDamageType().category;
        if (applied->IsHostile() != effect.GetHostile() || !effect.Covers(applied->GetDamageType()) ||
            category == DAMAGE_MUSICAL || category == DAMAGE_POWER || (applied->IsSilent() && applied->IsHidden()))
            continue;
        candidates.push_back(applied);
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return a->GetCastingValue() < b->GetCastingValue();
    });
    for (const std::shared_ptr<CSpellApply>& candidate : candidates) {
        const std::int32_t roll = DRAVCommon::RollDie(100);
        const std::int32_t targetValue = candidate->GetCastingValue() + 50;
        const bool success = roll > 95 || (roll > 5 && difficulty + roll > targetValue);
        const std::string rollText = FormatRollText(roll, difficulty, targetValue);
        if (!success) {
            game.PushMessage(MESSAGE_NOTICE,
                             label + " failed to dispel " + rollText + " " + candidate->GetName() + ".");
        } else {
            game.PushMessage(effect.IsHostile() ? MESSAGE_HOSTILE_SPELL : MESSAGE_HARMLESS_SPELL,
                             label + " dispelled " + rollText + " " + candidate->GetName() + ".");
            if (target.GetRelation() == RELATION_PARTY) game.PushActorInfoEvent(EVENT_ACTOR_MODIFIERS, target.GetId());
            target.RemoveEffect(*candidate);
        }
        if (!effect.GetMany()) return;
    }
}

void CEngine::ResolveCreateItem(const std::string& label, CActor& target, const CSpellEffectItem& effect,
                                std::int32_t casterLevel) {
    CGame& game = Game();
    const std::uint32_t vanish =
        game.GetTick() + static_cast<std::uint32_t>(DurationValue(effect.GetDuration(), casterLevel)) * kTicksPerSecond;
    std::shared_ptr<CItem> item = Module().CreateItem(effect.GetItemKey(), 1, game.NewThingId(THING_ITEM), vanish);
    game.PushMessage(MESSAGE_SUMMONING, label + " creates " + item->GetTemplate().GetName() + ".");
    target.AddToBackpack(item, true);
}

void CEngine::ResolveRaise(const std::string& label, CActor& target, const CSpellEffectRaise& effect,
                           bool fromParty) {
    if (target.GetRelation() != RELATION_PARTY) return;
    CGame& game = Game();
    for (const std::shared_ptr<CActor>& member : game.GetParty()) {
        if (member->IsAlive()) continue;
        const std::int32_t left = RecoveriesLeft(*member);
        if (left == 0) {
            game.PushMessage(MESSAGE_NOTICE, label + " tries to raise " + member->GetName() + ", but " +
                                                 member->GetName() + " has no recoveries.");
            continue;
        }
        while (!member->GetActiveEffects().empty()) member->RemoveEffect(*member->GetActiveEffects().front());
        member->SetEnergyUsed(0);
        member->SetActionState(ACTION_IDLE);
        member->SetAttackTarget(game.GetTick(), nullptr);
        member->SetHealsReceived(RecoveryCapacity(*member) - left + 1);
        member->SetDamageTaken(effect.GetHeal() ? 0 : member->GetMaxHitPoints() - 1);
        const auto column = static_cast<std::uint32_t>(std::max(target.GetX(), 0.0) / kCellSize);
        const auto row = static_cast<std::uint32_t>(std::max(target.GetY(), 0.0) / kCellSize);
        // A member that fell here may still lie in the area's list rather than
        // among the actors outside areas.
        CArea& area = CurrentArea();
        if (area.FindActor(member->GetId())) {
            area.RemoveActor(*member);
            if (!area.PlaceActor(column, row, false, member)) game.AddNonLocatedActor(member);
        } else {
            const auto& outside = game.GetNonLocatedActors();
            const bool wasOutside = std::any_of(outside.begin(), outside.end(),
                                                [&member](const auto& actor) { return actor == member; });
            if (wasOutside) game.RemoveNonLocatedActor(*member);
            if (!area.PlaceActor(column, row, false, member)) game.AddNonLocatedActor(member);
        }
        if (fromParty) {
            game.PushMessage(MESSAGE_HARMLESS_SPELL, label + " raises " + member->GetName() + " from the dead.");
            game.PushActorInfoEvent(EVENT_ACTOR_HIT_POINTS, member->GetId());
        }
        return;
    }
    if (fromParty)
        game.PushMessage(MESSAGE_NOTICE, label + " tries to raise the dead, but no-one in the party is dead.");
}

}  // namespace DRAV
