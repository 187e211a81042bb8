// A set of pixels as non-overlapping rectangles, with the five combine modes of regions. Sets
// stay small in the framework (clip areas, invalid areas), so combining walks the grid that the
// rectangles' edges make and merges the covered cells back into bands.
#pragma once

#include <vector>

#include "DMDef.h"
#include "DMRectHelpers.h"

namespace DM {

class DMRectSet {
public:
    DMRectSet() = default;
    explicit DMRectSet(const RECT& rect);

    // mode: 1 and, 2 or, 3 xor, 4 this minus other, 5 copy of other.
    void Combine(const DMRectSet& other, int mode);
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& rect) const;
    RECT Box() const;
    bool IsEmpty() const { return m_rects.empty(); }
    void Offset(int dx, int dy);
    void Clear() { m_rects.clear(); }
    const std::vector<RECT>& Rects() const { return m_rects; }

private:
    std::vector<RECT> m_rects;
};

}  // namespace DM
