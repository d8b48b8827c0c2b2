#pragma once
// The game's numeric curves and its one dice check. Curves are computed in doubles
// and truncated toward zero; callers keep levels at most 20 and tiers at most 9.

#include <cstdint>
#include <string>

#include "rules/kinds/item_kinds.h"

namespace DRAV {

// The value, held to the range of a signed 32-bit number.
std::int32_t SaturateInt32(std::int64_t value);

// Experience value of a creature of encounter level n (base level + level).
std::int32_t GetEncounterLevelValue(std::int32_t n);
// Experience threshold of a level; 0 for a negative level.
std::uint32_t GetXpThreshold(std::int32_t level);
// Energy cost of casting a spell of the tier; 2 for tier 0 and below.
std::int32_t GetEnergyCostForTier(std::int32_t tier);

// Rolls 1-100 (stored in *roll when given) and decides with PercentileSuccess.
bool PercentileCheck(std::int32_t bonus, std::int32_t target, std::int32_t* roll = nullptr);
// Rolls of 5 or less fail and 96 or more succeed; otherwise roll + bonus must exceed the target.
bool PercentileSuccess(std::int32_t roll, std::int32_t bonus, std::int32_t target);

// Carrying capacity in lbs for a strength score.
std::int32_t GetCarryCapacity(std::int32_t strength);
// The party's gold when a lead actor of this class level starts.
std::int32_t GetStartingGold(std::int32_t classLevel);
// Value in gold of a potion, scroll or wand holding a spell of the tier; code 2 for other kinds.
std::int32_t GetSpellItemValue(std::int32_t tier, ItemKind kind);

// "January" to "December" for 0-11; code 2 above.
std::string GetMonthName(std::uint32_t month);

}  // namespace DRAV
