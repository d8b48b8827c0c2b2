#include "rules/kinds/formulas.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/random.h"
#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

constexpr const char* kMonthNames[] = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December",
};

// Tiers and levels come from data files; far outside the game's range a curve
// saturates rather than overflowing.
std::int32_t Truncate(double value) {
    if (!(value < 2147483648.0)) return std::numeric_limits<std::int32_t>::max();
    if (!(value > -2147483649.0)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t SaturateInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::int32_t GetEncounterLevelValue(std::int32_t n) {
    if (n < 5) return Truncate(std::pow(5.0, n / 5.0) * 50.0);
    return Truncate(std::pow(10.0, n / 5.0) * 25.0);
}

std::uint32_t GetXpThreshold(std::int32_t level) {
    if (level < 0) return 0;
    const double threshold = std::pow(10.0, level / 5.0) * 1000.0;
    if (!(threshold < 4294967296.0)) return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(threshold);
}

std::int32_t GetEnergyCostForTier(std::int32_t tier) {
    std::int64_t m = std::max<std::int64_t>(2 * std::int64_t{tier} - 1, 0);
    std::int64_t k = 0;
    if (m > 3) {
        k = (m - 4) / 3 + 1;
        m -= 3 * k;
    }
    // (m + 2) is at most 5, so from 2^31 on the cost no longer fits.
    if (k >= 31) return std::numeric_limits<std::int32_t>::max();
    return SaturateInt32((m + 2) << k);
}

bool PercentileSuccess(std::int32_t roll, std::int32_t bonus, std::int32_t target) {
    if (roll <= 5) return false;
    if (roll >= 96) return true;
    // A bonus near the top of the range must not wrap round to a failure.
    return std::int64_t{roll} + bonus > target;
}

bool PercentileCheck(std::int32_t bonus, std::int32_t target, std::int32_t* roll) {
    std::int32_t rolled = DRAVCommon::RollDie(100);
    if (roll) *roll = rolled;
    return PercentileSuccess(rolled, bonus, target);
}

std::int32_t GetCarryCapacity(std::int32_t strength) { return Truncate(std::pow(2.0, strength / 5.0) * 25.0); }

std::int32_t GetStartingGold(std::int32_t classLevel) {
    if (classLevel < 1) return 0;
    if (classLevel <= 5) return (1000 * classLevel - 1000) * classLevel / 2;
    if (classLevel <= 10) return Truncate(GetStartingGold(5) * std::pow(1.45, classLevel - 5));
    return Truncate(GetStartingGold(10) * std::pow(1.3, classLevel - 10));
}

std::int32_t GetSpellItemValue(std::int32_t tier, ItemKind kind) {
    std::int64_t value;
    if (tier <= 1) value = (std::int64_t{tier} + 1) * 25;
    else if (tier <= 3) value = Truncate(std::pow(2.0, tier - 2) * 400.0);
    else value = Truncate(std::pow(2.0, (tier - 4) * 0.5) * 1600.0);
    switch (kind) {
        case ITEM_POTION: return SaturateInt32(value);
        case ITEM_SCROLL: return SaturateInt32(value / 2);
        case ITEM_WAND: return SaturateInt32(value * 15);
        default:
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no spell item of kind " + std::to_string(kind));
    }
}

std::string GetMonthName(std::uint32_t month) { return GetTableRow(kMonthNames, month, "month"); }

}  // namespace DRAV
