// A region: a set of rectangles combined with the five modes.
#pragma once

#include "DMRectSet.h"
#include "IDMRender.h"

namespace DM {

class DMRegionImpl : public IDMRegion {
public:
    int GetObjectType() const override { return DMF_REGION; }
    DMCode CombineRect(const RECT& rect, int mode) override;
    bool PtInRegion(const POINT& point) const override;
    bool RectInRegion(const RECT& rect) const override;
    void GetRgnBox(RECT& box) const override;
    bool IsEmpty() const override;
    void Offset(const POINT& by) override;
    void Clear() override { m_set.Clear(); }
    void GetRectCount(int& count) const override;
    void GetRects(RECT* rects, int count) const override;

    const DMRectSet& Set() const { return m_set; }
    void Assign(const DMRectSet& set) { m_set = set; }

private:
    DMRectSet m_set;
};

}  // namespace DM
