#include "graphics/monitor_dpi.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace DRAVCommon {

std::uint32_t ScalePercentForDpi(float dpi) {
    if (!std::isfinite(dpi) || dpi <= 96.0f) return 100;
    return std::max<std::uint32_t>(100, static_cast<std::uint32_t>(std::min(dpi, 960.0f) * 100.0f / 96.0f));
}

std::uint32_t GetMonitorDpi() {
    float horizontal = 0.0f;
    if (SDL_GetDisplayDPI(0, nullptr, &horizontal, nullptr) != 0) return 100;
    return ScalePercentForDpi(horizontal);
}

}  // namespace DRAVCommon
