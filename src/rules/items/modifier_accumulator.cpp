#include "rules/items/modifier_accumulator.h"

#include <algorithm>

#include "rules/magic/spell_apply_effect.h"

namespace DRAV {

std::int32_t CModifierAccumulator::GetTotal() const {
    std::int32_t total = uncategorised;
    for (int c = 0; c < kDamageCategoryCount; ++c) total += best[c] + worst[c];
    return total;
}

void AccumulateModifier(CModifierAccumulator& accumulator, const CSpellApply& applied) {
    const std::int32_t category = applied.GetDamageType().category;
    for (const auto& part : applied.GetParts()) {
        if (part->GetKind() != APPLY_MODIFY) continue;
        const auto& modify = static_cast<const CSpellApplyEffectModify&>(*part);
        if (accumulator.index < 0 || accumulator.index >= 64) continue;
        if ((modify.GetMask() & ModifierBit(accumulator.index)) == 0) continue;
        const std::int32_t amount = modify.GetAmount();
        if (category < 0 || category >= kDamageCategoryCount) {
            accumulator.uncategorised += amount;
        } else if (amount > 0) {
            accumulator.best[category] = std::max(accumulator.best[category], amount);
        } else {
            accumulator.worst[category] = std::min(accumulator.worst[category], amount);
        }
    }
}

ModifierMask ModifiedBy(const CSpellApply& applied) {
    ModifierMask mask = 0;
    for (const auto& part : applied.GetParts())
        if (part->GetKind() == APPLY_MODIFY) mask |= static_cast<const CSpellApplyEffectModify&>(*part).GetMask();
    return mask;
}

}  // namespace DRAV
