#pragma once
// What a widget says about itself in the hover window.

#include <array>
#include <cstdint>
#include <string>

namespace DRAVUI {

enum InfoKind : std::int32_t {
    INFO_MAP_THING = 0,
    INFO_ACTION = 1,
    INFO_ABILITY = 2,
    INFO_LOCATION = 3,
    INFO_NOTHING = 4,
};

enum InfoBadge : std::size_t { BADGE_BOTTOM_LEFT = 0, BADGE_BOTTOM_RIGHT = 1, BADGE_TOP_LEFT = 2, BADGE_TOP_RIGHT = 3 };

class ElementInfo {
public:
    ElementInfo() { Clear(); }

    // Back to an empty description; the bar fractions and the subject id keep their
    // values, which only count while their flag or kind says so.
    void Clear();

    std::string title;
    std::uint32_t titleColour = 0xFFFFFFFF;
    std::string text;
    std::string actionHint;
    std::int32_t icon = 0;
    std::uint32_t iconColour = 0xFFFFFFFF;
    std::array<std::int32_t, 4> badges{};
    bool hasHitPointBar = false;
    double hitPointFraction = 0.0;
    bool hasEnergyBar = false;
    double energyFraction = 0.0;
    std::int32_t count = 0;
    std::int32_t kind = INFO_NOTHING;
    std::int32_t subjectId = 0;
    std::string key;
};

}  // namespace DRAVUI
