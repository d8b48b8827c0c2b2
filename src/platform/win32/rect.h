#pragma once
// The Win32 rectangle functions, with Win32's meaning: right and bottom are
// exclusive, a rectangle with no width or no height is empty, and the functions
// answer TRUE (non-zero) on success.

#include "platform/win32/windef.h"

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
BOOL CopyRect(RECT* destination, const RECT* source);
// Grows each side outward by dx and dy (negative values shrink it).
BOOL InflateRect(RECT* rect, int dx, int dy);
BOOL OffsetRect(RECT* rect, int dx, int dy);
// The smallest rectangle holding both; an empty source does not count. Answers
// FALSE, with an all-zero result, when both are empty.
BOOL UnionRect(RECT* destination, const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* rect, POINT point);
BOOL IsRectEmpty(const RECT* rect);
