#pragma once
// The small texts in which numbers reach the player: check results, signed
// bonuses, damage ranges and durations.

#include <cstdint>
#include <string>

namespace DRAV {

// "[Locks 57 - 10 vs 60]"
std::string FormatNamedRollText(const std::string& name, std::int32_t roll, std::int32_t bonus, std::int32_t target);
// "[57 - 10 vs 60]"
std::string FormatRollText(std::int32_t roll, std::int32_t bonus, std::int32_t target);
// "+5" for 1 and above, else the plain number ("0", "-3").
std::string FormatSignedValue(std::int32_t value);
// "(1 to 6) - 2"; the bonus alone when the die size is 0.
std::string FormatDamageRange(std::int32_t dieSize, std::int32_t bonus);
// "12 sec", "5 min" or "2 hr", truncating; 30 ticks make a game second.
std::string FormatDuration(std::uint32_t ticks);

}  // namespace DRAV
