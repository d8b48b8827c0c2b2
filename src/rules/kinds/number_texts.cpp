#include "rules/kinds/number_texts.h"

#include <cstdlib>

namespace DRAV {

namespace {

// The sign as a word of its own, so a negative bonus never reads "+ -5".
std::string SignedTerm(std::int64_t value) {
    return (value >= 0 ? "+ " : "- ") + std::to_string(std::llabs(value));
}

std::string RollBody(std::int32_t roll, std::int32_t bonus, std::int32_t target) {
    return std::to_string(roll) + " " + SignedTerm(bonus) + " vs " + std::to_string(target) + "]";
}

}  // namespace

std::string FormatNamedRollText(const std::string& name, std::int32_t roll, std::int32_t bonus, std::int32_t target) {
    return "[" + name + " " + RollBody(roll, bonus, target);
}

std::string FormatRollText(std::int32_t roll, std::int32_t bonus, std::int32_t target) {
    return "[" + RollBody(roll, bonus, target);
}

std::string FormatSignedValue(std::int32_t value) {
    return (value >= 1 ? "+" : "") + std::to_string(value);
}

std::string FormatDamageRange(std::int32_t dieSize, std::int32_t bonus) {
    if (dieSize == 0) return std::to_string(bonus);
    std::string text = dieSize < 0 ? "- (1 to " : "(1 to ";
    text += std::to_string(std::llabs(static_cast<std::int64_t>(dieSize))) + ")";
    if (bonus != 0) text += " " + SignedTerm(bonus);
    return text;
}

std::string FormatDuration(std::uint32_t ticks) {
    std::uint32_t seconds = ticks / 30;
    if (seconds < 60) return std::to_string(seconds) + " sec";
    std::uint32_t minutes = seconds / 60;
    if (minutes < 60) return std::to_string(minutes) + " min";
    return std::to_string(minutes / 60) + " hr";
}

}  // namespace DRAV
