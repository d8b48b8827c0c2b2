#pragma once
// The UI scale that follows the monitor's pixel density.

#include <cstdint>

namespace DRAVCommon {

// Percent of the 96-DPI layout for a monitor of `dpi`; never below 100.
std::uint32_t ScalePercentForDpi(float dpi);

// The UI scale in percent for the first display (100 when its DPI is unknown).
std::uint32_t GetMonitorDpi();

}  // namespace DRAVCommon
