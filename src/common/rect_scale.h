#pragma once

#include <cstdint>

#include "platform/win32/windef.h"

// Scales each coordinate by percent / 100 in unsigned arithmetic, truncating.
void ScaleRectPercent(RECT& rect, std::uint32_t percent);
