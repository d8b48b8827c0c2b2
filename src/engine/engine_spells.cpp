// Spell resolution: what a launched spell does to the one thing it reached. The
// checks run from cheapest to dearest and every refusal leaves the target as it was.

#include <algorithm>
#include <cstdlib>
#include <string>

#include "common/exception.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "engine/spell_words.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/number_texts.h"
#include "rules/magic/spell.h"
#include "rules/magic/spell_effect_dispel.h"
#include "rules/magic/spell_effects_conjure.h"
#include "rules/magic/spell_effects_vital.h"
#include "rules/module.h"
#include "rules/vocabulary/difficulty.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/events/event.h"
#include "world/game.h"

namespace DRAV {

namespace {

// The percent a resistance takes off a spell's effect; 100 or more is immunity and a
// negative value is a vulnerability.
std::int32_t ResistancePercent(const CActor& target, const CDamageType& type) {
    if (type.category == DAMAGE_NONE) return 0;
    return SaturateInt32(std::min<std::int64_t>(5 * std::int64_t{target.GetDamageResistance(type)}, 100));
}

std::int32_t PenetrationBonus(SkillId skill) {
    if (skill == SKILL_GREATER_SPELL_PENETRATION) return 20;
    if (skill == SKILL_SPELL_PENETRATION) return 10;
    return 0;
}

std::string SaveSuffix(const CSaveOutcome& outcome) {
    if (outcome.percent == 0) return ", spell negated";
    if (outcome.percent == 50) return ", half effect";
    if (outcome.IsMinTime()) return ", duration minimized";
    if (outcome.IsMinEffect()) return ", effect minimized";
    return "";
}

}  // namespace

bool CEngine::SpellTakesHold(const std::string& label, CActor& target, bool fromParty, const CSpell& spell,
                             std::int32_t difficulty, std::int32_t hitBonus, SkillId penetration,
                             CSaveOutcome& outcome) {
    CGame& game = Game();
    const CDamageType& type = spell.GetSaveDamageType();
    RemoveCharmedCheck(target, fromParty);

    std::int32_t roll = 0;
    if (spell.HasFlag(SPELL_TOUCH)) {
        const std::int32_t defense = target.GetDefenseClass(true, nullptr);
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s (%d) tries to hit %s (%d)\n", label.c_str(), hitBonus,
                   target.GetName().c_str(), defense);
        if (!PercentileCheck(hitBonus, defense, &roll)) {
            game.PushMessage(MESSAGE_NOTICE, label + " misses " + target.GetName() + " " +
                                                 FormatRollText(roll, hitBonus, defense) + ".");
            return false;
        }
    }

    const std::int32_t resist = ResistancePercent(target, type);
    if (resist >= 100) {
        game.PushMessage(MESSAGE_NOTICE, target.GetName() + " is immune to " + label + " (Type: " +
                                             type.GetFullName() + ").");
        return false;
    }

    const std::int32_t nullification = target.GetModifier(MOD_SPELL_NULLIFICATION);
    if (!spell.HasFlag(SPELL_NORESIST) && nullification != 0 && nullification != -50) {
        // Casting values and modifiers may reach the ends of the range; the sums saturate there.
        const std::int32_t bonus = SaturateInt32(std::int64_t{difficulty} + PenetrationBonus(penetration));
        const std::int32_t against = SaturateInt32(std::int64_t{nullification} + 50);
        if (!PercentileCheck(bonus, against, &roll)) {
            game.PushMessage(MESSAGE_NOTICE, target.GetName() + " nullifies " + label + " " +
                                                 FormatRollText(roll, bonus, against) + ".");
            return false;
        }
    }

    std::string report;
    if (spell.GetSaveOutcome().percent != 100 && type.category != DAMAGE_NONE) {
        const std::int32_t dc = SaturateInt32(std::int64_t{difficulty} + 50);
        std::int64_t resistance = target.GetCategoryResistance(type, nullptr);
        if (target.GetRelation() == RELATION_PARTY) resistance += GetDifficultySaveBonus(game.GetDifficulty());
        const std::int32_t bonus = SaturateInt32(resistance);
        if (PercentileCheck(bonus, dc, &roll)) outcome = spell.GetSaveOutcome();
        report = target.GetName() + (outcome.percent == 100 ? " failed save " : " saved ") +
                 FormatRollText(roll, bonus, dc) + " against " + label + " (" + type.GetFullName() + ")";
        if (outcome.percent != 100) report += SaveSuffix(outcome);
        if (outcome.percent == 0) {
            game.PushMessage(MESSAGE_NOTICE, report + ".");
            return false;
        }
    }

    if (resist == 0) return true;
    outcome.percent = SaturateInt32(std::int64_t{outcome.percent} - resist);
    const std::string amount = std::to_string(std::abs(std::int64_t{resist})) + "%";
    const char* verb = resist > 0 ? "resists " : "is vulnerable to ";
    if (report.empty())
        report = target.GetName() + " " + verb + label + " (Type: " + type.GetFullName() + ") by " + amount;
    else
        report += ", " + std::string(verb) + type.GetFullName() + " by " + amount;
    if (outcome.percent <= 0) {
        outcome = {0, true, true};
        game.PushMessage(MESSAGE_NOTICE, report + ", negating the effect.");
        return false;
    }
    game.PushMessage(MESSAGE_NOTICE, report + ".");
    return true;
}

void CEngine::ResolveSpell(const CSpellSender& sender, CActor* target, double x, double y, bool fromParty,
                           const CSpell& spell, std::int32_t difficulty, std::int32_t hitBonus,
                           std::int32_t casterLevel, SkillId penetration) {
    if (spell.GetSaveDamageType().category == DAMAGE_POWER) return;
    CGame& game = Game();
    const CSpellWords words(sender, spell);
    const std::string& label = words.Label();
    const bool actorTarget = spell.GetTargetType() == SPELL_TARGET_ACTOR;
    if (actorTarget && target &&
        !spell.CanAffect(target->IsSummoned(), target->GetRace(),
                         [target](const CDamageType& t) { return target->GetCategoryResistance(t, nullptr); })) {
        game.PushMessage(MESSAGE_NOTICE, label + " has no effect on " + target->GetName() + ".");
        return;
    }
    CSaveOutcome outcome;
    if (actorTarget && target && spell.IsHostile() &&
        !SpellTakesHold(label, *target, fromParty, spell, difficulty, hitBonus, penetration, outcome))
        return;

    // A spell that reaches a tile still summons there; effects that need an actor are
    // passed over. A spell that reaches an actor summons at its feet.
    if (target) {
        x = target->GetX();
        y = target->GetY();
    }
    bool leavesEffect = false;
    for (const std::shared_ptr<CSpellEffect>& effect : spell.GetEffects()) {
        const SpellEffectKind kind = effect->GetKind();
        switch (kind) {
            case EFFECT_MODIFY:
            case EFFECT_ONGOING:
            case EFFECT_STATUS:
            case EFFECT_RESIST:
                leavesEffect = true;
                continue;
            case EFFECT_TELEPORT:
                return;
            case EFFECT_SUMMON:
                ResolveSummon(words, static_cast<std::int32_t>(x / kCellSize),
                              static_cast<std::int32_t>(y / kCellSize), fromParty,
                              static_cast<const CSpellEffectSummon&>(*effect), casterLevel);
                continue;
            default:
                break;
        }
        if (kind > EFFECT_RESIST || kind < EFFECT_MODIFY)
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "spell effect type " + std::to_string(kind) + " in " +
                                                            spell.GetKey());
        if (!target) continue;
        switch (kind) {
            case EFFECT_HEAL:
            case EFFECT_MANA:
                ResolveHeal(words, *target, static_cast<const CSpellEffectHeal&>(*effect), casterLevel);
                break;
            case EFFECT_DAMAGE:
                ResolveSpellDamage(label, *target, static_cast<const CSpellEffectDamage&>(*effect), casterLevel,
                                   spell.GetSaveDamageType(), outcome, sender.pulses);
                break;
            case EFFECT_DISPEL:
                ResolveDispel(label, *target, static_cast<const CSpellEffectDispel&>(*effect), difficulty);
                break;
            case EFFECT_ITEM:
                ResolveCreateItem(label, *target, static_cast<const CSpellEffectItem&>(*effect), casterLevel);
                break;
            case EFFECT_REPULSE:
                ResolveRepulse(*target, spell, difficulty, fromParty);
                break;
            case EFFECT_RAISE:
                ResolveRaise(label, *target, static_cast<const CSpellEffectRaise&>(*effect), fromParty);
                break;
            default:
                break;
        }
    }
    if (!leavesEffect || !target) return;
    target->AddSpellEffect(outcome, spell, difficulty, casterLevel, outcome, &Module(),
                           sender.name.empty() ? sender.whose : sender.name);
    const std::string held = words.TakesHold(*target);
    if (!held.empty()) game.PushMessage(spell.IsHostile() ? MESSAGE_HOSTILE_SPELL : MESSAGE_HARMLESS_SPELL, held);
    if (target->IsAlive() && target->GetHitPoints() <= 0) ResolveActorDied(words.Killer(), *target);
}

}  // namespace DRAV
