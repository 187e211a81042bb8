#include "DUITabLayout.h"

#include "DMAttrTable.h"

namespace DMAttr {

DMATTR_DEFINE(DUITabLayoutAttr, SIZE_itemsize)

}  // namespace DMAttr

namespace DM {
namespace {

RECT ShrunkByPadding(const RECT& cell, const RECT& padding) {
    return {cell.left + padding.left, cell.top + padding.top, cell.right - padding.right,
            cell.bottom - padding.bottom};
}

}  // namespace

DMCode DUITabLayout::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    static const DMAttributeEntry<DUITabLayout> kTable[] = {
        {&DMAttr::DUITabLayoutAttr::SIZE_itemsize,
         &SizeAttribute<&DUITabLayout::m_szItem, DMATTR_PARENTLAYOUT>},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIFlowLayout::SetAttribute(name, value, loading);
}

// A cell that would pass the right edge starts the next row; a cell wider than the whole area
// stays alone in its row. From the first cell that passes the bottom on, the children get empty
// rectangles.
DMCode DUITabLayout::UpdateChildLayout() {
    RECT area{};
    if (!ChildArea(area) || GetChildCount() == 0 || m_szItem.cx == 0 || m_szItem.cy == 0) {
        return DM_ECODE_FAIL;
    }
    LONG x = area.left;
    LONG y = area.top;
    bool belowBottom = false;
    for (DUIWindow* child : FlowChildren()) {
        if (x > area.left && x + m_szItem.cx > area.right) {
            x = area.left;
            y += m_szItem.cy;
        }
        belowBottom = belowBottom || y + m_szItem.cy > area.bottom;
        if (belowBottom) {
            child->ApplyParentRect({x, y, x, y});
            continue;
        }
        RECT cell{x, y, x + m_szItem.cx, y + m_szItem.cy};
        child->ApplyParentRect(ShrunkByPadding(cell, child->XmlInfo().m_rcPadd));
        x += m_szItem.cx + m_nChildPaddLen;
    }
    return DM_ECODE_OK;
}

}  // namespace DM
