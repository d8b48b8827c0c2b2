#pragma once
// The statistics that effects and items modify, and masks of them.

#include <cstdint>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/vocabulary/attributes.h"
#include "rules/kinds/damage.h"
#include "rules/vocabulary/special_stat.h"

namespace DRAV {

enum ModifierIndex : std::int32_t {
    MOD_ATTACK = 0,
    MOD_DAMAGE = 1,
    MOD_DEFENSE = 2,
    MOD_LOCKS = 3,  // special statistics: SpecialStat + 3
    MOD_TRAPS = 4,
    MOD_DIPLOMACY = 5,
    MOD_STEALTH = 6,
    MOD_OBSERVATION = 7,
    MOD_STRENGTH = 8,  // attributes: Attribute + 8
    MOD_AGILITY = 9,
    MOD_DURABILITY = 10,
    MOD_INTELLIGENCE = 11,
    MOD_PERSONALITY = 12,
    MOD_CASTING = 13,
    MOD_SPELL_NULLIFICATION = 14,
    MOD_ACTION_SPEED = 15,
    MOD_MOVEMENT_SPEED = 16,
    // Resistances: each damage category, then its elements in table order.
    MOD_RESIST_ENERGETIC = 32,
    MOD_RESIST_RADIANT, MOD_RESIST_FIRE, MOD_RESIST_COLD, MOD_RESIST_LIGHTNING, MOD_RESIST_FORCE,
    MOD_RESIST_MATERIAL = 38,
    MOD_RESIST_NECROTIC, MOD_RESIST_STASIS, MOD_RESIST_POISON, MOD_RESIST_ACID, MOD_RESIST_DEBILITY,
    MOD_RESIST_SPIRITUAL = 44,
    MOD_RESIST_CURSE, MOD_RESIST_CHARM, MOD_RESIST_ILLUSION,
};

// Action and movement speeds, a monster's own and with every modifier added, lie
// within -kMostSpeed to kMostSpeed: every 10 points of action speed above 20 is one
// more pass of each attack, each pass a strike or a missile of its own, and movement
// speed is the same scale.
constexpr std::int32_t kMostSpeed = 1000;

// Bit i for ModifierIndex i; stored as two 32-bit halves, low half first.
using ModifierMask = std::uint64_t;

constexpr ModifierMask ModifierBit(ModifierIndex index) { return ModifierMask{1} << index; }

// The resistance index of an energetic, material or spiritual damage type; code 2 for
// any other pair (physical, musical, power, none, or an element of another category).
ModifierIndex GetDamageTypeModifierIndex(const CDamageType& type);
// The inverse, for 32-47; code 2 for any other index.
CDamageType GetModifierDamageType(std::int32_t index);
// 3-7 and 8-12; code 2 outside the tables.
ModifierIndex GetSpecialStatModifierIndex(SpecialStat stat);
ModifierIndex GetAttributeModifierIndex(Attribute attribute);

// Builds a mask from the modifier words up to the end of the current block, which is
// left for the caller to close. Code 1 for a word that names no modifier, code 2 for a
// damage type without resistance.
ModifierMask ParseModifierMask(DRAVCommon::CDataFileReader& reader);

// The block "modify": the low then the high 32 bits.
void WriteModifierMask(const ModifierMask& mask, DRAVCommon::CDataFileWriter& writer);
// Reads a "modify" block when one follows; otherwise the mask is 0 and nothing is read.
void ReadModifierMask(ModifierMask& mask, DRAVCommon::CDataFileReader& reader);

}  // namespace DRAV
