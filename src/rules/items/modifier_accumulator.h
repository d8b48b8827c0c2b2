#pragma once
// Summing one statistic over everything that modifies an actor: within one damage
// category only the best bonus and the worst penalty count, so equal sources do
// not stack while sources of different categories do.

#include <array>
#include <cstdint>

#include "rules/kinds/damage.h"
#include "rules/kinds/modifiers.h"
#include "rules/magic/spell_apply.h"

namespace DRAV {

struct CModifierAccumulator {
    explicit CModifierAccumulator(ModifierIndex summed) : index(summed) {}

    // The sum of every slot.
    std::int32_t GetTotal() const;

    ModifierIndex index;
    std::array<std::int32_t, kDamageCategoryCount> best{};   // largest bonus per category
    std::array<std::int32_t, kDamageCategoryCount> worst{};  // smallest penalty per category
    // Records without a damage category have no slot to compete for; they add up.
    std::int32_t uncategorised = 0;
};

// Folds the modify parts of `applied` that touch the accumulator's index into it.
void AccumulateModifier(CModifierAccumulator& accumulator, const CSpellApply& applied);
// Every index a modify part of `applied` touches.
ModifierMask ModifiedBy(const CSpellApply& applied);

}  // namespace DRAV
