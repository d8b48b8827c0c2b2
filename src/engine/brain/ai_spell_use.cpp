#include "engine/brain/ai_spell_use.h"

#include <algorithm>
#include <cstdint>

#include "rules/magic/spell.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_apply_effect.h"
#include "rules/magic/spell_effects_stat.h"
#include "world/actor.h"

namespace DRAV {
namespace {

bool RefusesModify(const CSpell& spell, const CSpellEffectModify& effect, const CActor& target) {
    const ModifierMask mask = effect.GetMask();
    if ((mask & ModifierBit(MOD_CASTING)) && target.GetClass() != CLASS_SPELLCASTER) return true;
    for (std::int32_t index = MOD_LOCKS; index <= MOD_OBSERVATION; ++index)
        if (mask & ModifierBit(static_cast<ModifierIndex>(index))) return true;
    const bool penalty = !effect.GetMagnitude().IsPositive();
    for (const auto& applied : target.GetActiveEffects()) {
        if (applied->GetDamageType().category != spell.GetSaveDamageType().category) continue;
        for (const auto& part : applied->GetParts()) {
            if (part->GetKind() != APPLY_MODIFY) continue;
            const auto& modify = static_cast<const CSpellApplyEffectModify&>(*part);
            if ((modify.GetMask() & mask) && (modify.GetAmount() < 1) == penalty) return true;
        }
    }
    return false;
}

}  // namespace

bool EffectChangesNothing(const CSpell& spell, const CSpellEffect& effect, const CActor& target) {
    switch (effect.GetKind()) {
    case EFFECT_MODIFY: return RefusesModify(spell, static_cast<const CSpellEffectModify&>(effect), target);
    case EFFECT_STATUS: return target.HasStatus(static_cast<const CSpellEffectStatus&>(effect).GetStatus());
    case EFFECT_RESIST:
        return target.GetDamageResistance(static_cast<const CSpellEffectResist&>(effect).GetDamageType()) > 0;
    default: return false;
    }
}

bool SpellChangesNothing(const CSpell& spell, const CActor& target) {
    if (spell.HasFlag(SPELL_MULTITARGET)) return false;
    const auto& effects = spell.GetEffects();
    if (spell.GetTargetType() == SPELL_TARGET_TILE)
        return std::none_of(effects.begin(), effects.end(), [](const auto& effect) {
            return effect->GetKind() == EFFECT_SUMMON || effect->GetKind() == EFFECT_TELEPORT;
        });
    if (!spell.CanAffect(target.IsSummoned(), target.GetRace(),
                         [&target](const CDamageType& type) { return target.GetCategoryResistance(type, nullptr); }))
        return true;
    return std::all_of(effects.begin(), effects.end(),
                       [&](const auto& effect) { return EffectChangesNothing(spell, *effect, target); });
}

}  // namespace DRAV
