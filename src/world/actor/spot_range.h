#pragma once
// How near an observer must stand to spot a sneaker, and how much nearness helps
// it: the stealth pass rules out at once a sneaker no observer could spot from
// anywhere.

#include <cstdint>

namespace DRAV {

// Beyond this nobody is spotted.
constexpr double kSpotSightRange = 100.0;
// Nearer than this, every unit closer adds this much to the observation.
constexpr double kSpotCloseRange = 50.0;
constexpr double kSpotClosenessPerUnit = 0.5;
// The most nearness adds: an observer standing on the sneaker's very spot.
constexpr std::int32_t kSpotMostCloseness = static_cast<std::int32_t>(kSpotCloseRange * kSpotClosenessPerUnit);

}  // namespace DRAV
