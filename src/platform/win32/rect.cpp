#include "platform/win32/rect.h"

#include <algorithm>

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
    if (!rect) return 0;
    *rect = RECT{left, top, right, bottom};
    return 1;
}

BOOL CopyRect(RECT* destination, const RECT* source) {
    if (!destination || !source) return 0;
    *destination = *source;
    return 1;
}

BOOL InflateRect(RECT* rect, int dx, int dy) {
    if (!rect) return 0;
    rect->left -= dx;
    rect->top -= dy;
    rect->right += dx;
    rect->bottom += dy;
    return 1;
}

BOOL OffsetRect(RECT* rect, int dx, int dy) {
    if (!rect) return 0;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return 1;
}

BOOL UnionRect(RECT* destination, const RECT* a, const RECT* b) {
    if (!destination || !a || !b) return 0;
    const bool aEmpty = IsRectEmpty(a) != 0, bEmpty = IsRectEmpty(b) != 0;
    if (aEmpty && bEmpty) {
        *destination = RECT{0, 0, 0, 0};
        return 0;
    }
    if (aEmpty) *destination = *b;
    else if (bEmpty) *destination = *a;
    else
        *destination = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                            std::max(a->bottom, b->bottom)};
    return 1;
}

BOOL PtInRect(const RECT* rect, POINT point) {
    return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom;
}

BOOL IsRectEmpty(const RECT* rect) { return !rect || rect->right <= rect->left || rect->bottom <= rect->top; }
