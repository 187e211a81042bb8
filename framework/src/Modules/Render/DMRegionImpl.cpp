#include "DMRegionImpl.h"

#include <algorithm>

namespace DM {

DMCode DMRegionImpl::CombineRect(const RECT& rect, int mode) {
    if (mode < RGN_AND || mode > RGN_COPY) {
        return DM_ECODE_FAIL;
    }
    m_set.Combine(DMRectSet(rect), mode);
    return DM_ECODE_OK;
}

bool DMRegionImpl::PtInRegion(const POINT& point) const {
    return m_set.Contains(point.x, point.y);
}

bool DMRegionImpl::RectInRegion(const RECT& rect) const {
    return m_set.Intersects(rect);
}

void DMRegionImpl::GetRgnBox(RECT& box) const {
    box = m_set.Box();
}

bool DMRegionImpl::IsEmpty() const {
    return IsEmptyRect(m_set.Box());
}

void DMRegionImpl::Offset(const POINT& by) {
    m_set.Offset(by.x, by.y);
}

void DMRegionImpl::GetRectCount(int& count) const {
    count = static_cast<int>(m_set.Rects().size());
}

void DMRegionImpl::GetRects(RECT* rects, int count) const {
    int copied = std::min(count, static_cast<int>(m_set.Rects().size()));
    std::copy_n(m_set.Rects().begin(), std::max(copied, 0), rects);
}

}  // namespace DM
