#include "common/rect_scale.h"

namespace {

LONG Scale(LONG coordinate, std::uint32_t percent) {
    return static_cast<LONG>(static_cast<std::uint32_t>(coordinate) * percent / 100u);
}

}  // namespace

void ScaleRectPercent(RECT& rect, std::uint32_t percent) {
    rect.left = Scale(rect.left, percent);
    rect.top = Scale(rect.top, percent);
    rect.right = Scale(rect.right, percent);
    rect.bottom = Scale(rect.bottom, percent);
}
