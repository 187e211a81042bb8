// Rectangles and points as the framework uses them: a rectangle holds the points from its left
// and top edges up to, not including, its right and bottom edges.
#pragma once

#include <algorithm>

#include "DMDef.h"

namespace DM {

inline bool IsEmptyRect(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

// The common part; 0, 0, 0, 0 when there is none.
inline RECT IntersectRects(const RECT& a, const RECT& b) {
    RECT result{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
    return IsEmptyRect(result) ? RECT{0, 0, 0, 0} : result;
}

inline bool EqualRects(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline bool PointInRect(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

// The signed coordinates a mouse message carries in its second parameter.
inline POINT PointFromLParam(LPARAM lParam) {
    return {static_cast<short>(lParam & 0xFFFF), static_cast<short>((lParam >> 16) & 0xFFFF)};
}

}  // namespace DM
