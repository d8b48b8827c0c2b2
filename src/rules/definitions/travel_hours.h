#pragma once
// How long the journey into an area takes, by the area the party comes from: the
// "travel" element of the area's file, pairs of an area's name and hours, with
// "default" for any area the element does not name.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace DRAVCommon {
class CDataFileFactory;
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

// The "travel" element of the chapter's area file `areaName`.drav, read before the
// party sets out for it: only the element is read, which follows the area's name,
// its outdoors flag and its map place. None when the file has no element. Code 1
// naming the file when it is not there or the element is not sound, as the area's
// own load would find.
CTravelHours ReadTravelHours(const std::shared_ptr<DRAVCommon::CDataFileFactory>& package,
                             const std::string& areaName);

}  // namespace DRAV
