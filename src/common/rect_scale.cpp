#include "common/rect_scale.h"

#include <algorithm>
#include <limits>

LONG ScaleCoordinate(LONG value, std::int64_t numerator, std::int64_t denominator) {
    if (denominator <= 0) denominator = 1;
    // A coordinate times a 32-bit percent can pass the 64-bit range: 128 bits hold it.
    // The compiler's own type, which the standard does not name.
    __extension__ typedef __int128 Wide;
    const Wide product = static_cast<Wide>(value) * numerator;
    Wide quotient = product / denominator;
    if (product % denominator != 0 && product < 0) --quotient;
    constexpr Wide kLow = std::numeric_limits<LONG>::min();
    constexpr Wide kHigh = std::numeric_limits<LONG>::max();
    return static_cast<LONG>(std::clamp(quotient, kLow, kHigh));
}

void ScaleRectPercent(RECT& rect, std::uint32_t percent) {
    rect.left = ScaleCoordinate(rect.left, percent, 100);
    rect.top = ScaleCoordinate(rect.top, percent, 100);
    rect.right = ScaleCoordinate(rect.right, percent, 100);
    rect.bottom = ScaleCoordinate(rect.bottom, percent, 100);
}
