#pragma once

#include <cstdint>

#include "platform/win32/windef.h"

// v x numerator / denominator in signed 64-bit arithmetic, rounded down (so a
// rectangle keeps its size when it moves across 0) and held to the range of a
// coordinate. A denominator of 0 or below is taken as 1.
LONG ScaleCoordinate(LONG value, std::int64_t numerator, std::int64_t denominator);

// Scales each coordinate by percent / 100 as ScaleCoordinate does. Rectangles
// left of or above the origin (a dragged icon at the edge, a dialog wider than the
// window) keep their shape.
void ScaleRectPercent(RECT& rect, std::uint32_t percent);
