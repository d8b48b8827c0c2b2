#pragma once
// Distance against a range with exactly the answer comparing std::hypot with it
// would give, mostly without taking the root: the squared distance decides unless
// it lies too near the range's square for the rounding of the products, the sum
// and the root to be ruled out.

#include <cmath>

namespace DRAV {

// How a distance (dx, dy) lies against `range`: -1 surely nearer, 1 surely farther,
// 0 when only the root can tell (also for ranges too small or too large for the
// margin to hold, and for anything not a number).
inline int CompareToRange(double dx, double dy, double range) {
    // A relative slack far above the few rounding steps between the two figures.
    constexpr double kSlack = 1.0e-9;
    if (!(range >= 1.0e-100 && range <= 1.0e100)) return 0;
    const double squared = dx * dx + dy * dy;
    const double limit = range * range;
    if (squared > limit * (1.0 + kSlack)) return 1;
    if (squared < limit * (1.0 - kSlack)) return -1;
    return 0;
}

// std::hypot(dx, dy) <= range.
inline bool IsWithinRange(double dx, double dy, double range) {
    const int order = CompareToRange(dx, dy, range);
    return order != 0 ? order < 0 : std::hypot(dx, dy) <= range;
}

// std::hypot(dx, dy) > range (which is not !IsWithinRange for what is not a number).
inline bool IsBeyondRange(double dx, double dy, double range) {
    const int order = CompareToRange(dx, dy, range);
    return order != 0 ? order > 0 : std::hypot(dx, dy) > range;
}

}  // namespace DRAV
