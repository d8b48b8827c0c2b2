#pragma once
// How long the journey into an area takes, by the area the party comes from: the
// "travel" element of the area's file, pairs of an area's name and hours, with
// "default" for any area the element does not name.

#include <cstdint>
#include <map>
#include <string>

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

// The game's clock counts 30 ticks a second.
inline constexpr std::uint32_t kTicksPerTravelHour = 3600 * 30;
// The longest journey a file may name: the hours from the calendar's start to the
// last tick time passed at once reaches (kLastPassedTick), about three and a half
// years. A longer one could never be made, so its file is refused as it is read.
inline constexpr std::uint32_t kMostTravelHours = 29826;

class CTravelHours {
public:
    CTravelHours() = default;
    // Reads the whole "travel" element. Code 1 naming the file for hours past
    // kMostTravelHours.
    explicit CTravelHours(DRAVCommon::CDataFileReader& reader);

    // The hours from `fromArea`: its own pair when the element names it (the last
    // of several), else the last "default", else 0.
    std::uint32_t From(const std::string& fromArea) const;

private:
    // By the area's name, "default" among them; the last pair of a name holds.
    std::map<std::string, std::uint32_t> m_hours;
};

}  // namespace DRAV
