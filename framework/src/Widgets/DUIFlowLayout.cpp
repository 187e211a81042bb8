#include "DUIFlowLayout.h"

#include <algorithm>

#include "DMAttrTable.h"

namespace DMAttr {

DMATTR_DEFINE(DUIFlowLayoutAttr, INT_childpaddlen)

}  // namespace DMAttr

namespace DM {
namespace {

// How one child extends along and across the flow.
struct Extent {
    int fixed;  // "width" or "height", -1 when not set
    int minimum;
    int maximum;
    LONG padBefore;
    LONG padAfter;
};

int Clamp(int value, const Extent& extent) {
    if (extent.minimum >= 0) {
        value = std::max(value, extent.minimum);
    }
    if (extent.maximum >= 0) {
        value = std::min(value, extent.maximum);
    }
    return value;
}

Extent Along(DUIWindow& child, bool horizontal) {
    const DUIWindow_XmlInfo& info = child.XmlInfo();
    return horizontal ? Extent{info.m_nWidth, info.m_nMinWidth, info.m_nMaxWidth,
                               info.m_rcPadd.left, info.m_rcPadd.right}
                      : Extent{info.m_nHeight, info.m_nMinHeight, info.m_nMaxHeight,
                               info.m_rcPadd.top, info.m_rcPadd.bottom};
}

// Lays the children one after the other along the flow; `horizontal` is a row.
void Flow(const std::vector<DUIWindow*>& children, const RECT& area, const RECT& window,
          int spacing, bool horizontal) {
    LONG length = horizontal ? area.right - area.left : area.bottom - area.top;
    LONG sum = spacing * (static_cast<LONG>(children.size()) - 1);
    int elastic = 0;
    for (DUIWindow* child : children) {
        Extent along = Along(*child, horizontal);
        sum += along.padBefore + along.padAfter;
        if (along.fixed >= 0) {
            sum += Clamp(along.fixed, along);
        } else {
            ++elastic;
        }
    }
    LONG share = elastic && sum < length ? (length - sum) / elastic : 0;
    LONG rest = sum < length ? length - sum - share * std::max(elastic - 1, 0) : 0;
    LONG at = horizontal ? area.left : area.top;
    int elasticSeen = 0;
    for (DUIWindow* child : children) {
        Extent along = Along(*child, horizontal);
        Extent across = Along(*child, !horizontal);
        int size = along.fixed >= 0 ? along.fixed : (++elasticSeen == elastic ? rest : share);
        size = Clamp(std::max(size, 0), along);
        LONG crossLength = horizontal ? area.bottom - area.top : area.right - area.left;
        int cross = across.fixed >= 0
                        ? across.fixed
                        : static_cast<int>(crossLength - across.padBefore - across.padAfter);
        cross = Clamp(std::max(cross, 0), across);
        LONG start = at + along.padBefore;
        LONG crossStart = (horizontal ? window.top : area.left) + across.padBefore;
        child->ApplyParentRect(horizontal
                                   ? RECT{start, crossStart, start + size, crossStart + cross}
                                   : RECT{crossStart, start, crossStart + cross, start + size});
        at = start + size + along.padAfter + (child->GetWindow(GDW_NEXTSIBLING) ? spacing : 0);
    }
}

}  // namespace

DMCode DUIFlowLayout::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    static const DMAttributeEntry<DUIFlowLayout> kTable[] = {
        {&DMAttr::DUIFlowLayoutAttr::INT_childpaddlen,
         &IntAttribute<&DUIFlowLayout::m_nChildPaddLen, DMATTR_PARENTLAYOUT>},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIWindow::SetAttribute(name, value, loading);
}

std::vector<DUIWindow*> DUIFlowLayout::FlowChildren() {
    std::vector<DUIWindow*> children;
    for (DUIWindow* child = GetWindow(GDW_FIRSTCHILD); child;
         child = child->GetWindow(GDW_NEXTSIBLING)) {
        if (child->IsVisible(false) || child->XmlInfo().m_bPlaceHolder) {
            children.push_back(child);
        }
    }
    return children;
}

bool DUIFlowLayout::ChildArea(RECT& area) {
    return IsLaidOut() && GetChildLayoutRect(area) == DM_ECODE_OK && area.right > area.left &&
           area.bottom > area.top;
}

int DUIFlowLayout::ConstrainSize(DUIWindow& child, int size, bool horizontal) {
    Extent extent = Along(child, horizontal);
    return Clamp(extent.fixed >= 0 ? extent.fixed : size, extent);
}

DMCode DUIHLayout::UpdateChildLayout() {
    RECT area{};
    if (!ChildArea(area)) {
        return DM_ECODE_FAIL;
    }
    Flow(FlowChildren(), area, m_rcWindow, m_nChildPaddLen, true);
    return DM_ECODE_OK;
}

DMCode DUIVLayout::UpdateChildLayout() {
    RECT area{};
    if (!ChildArea(area)) {
        return DM_ECODE_FAIL;
    }
    Flow(FlowChildren(), area, m_rcWindow, m_nChildPaddLen, false);
    return DM_ECODE_OK;
}

}  // namespace DM
