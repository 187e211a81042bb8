#include "DUIWrapLayout.h"

#include <algorithm>
#include <cstdlib>

#include "DMApp.h"
#include "DMAttrTable.h"

namespace DMAttr {

DMATTR_DEFINE(DUIWrapLayoutAttr, INT_colcount)

}  // namespace DMAttr

namespace DM {
namespace {

// One line of the default font plus a margin of 5 above and below.
int DefaultChildHeight() {
    IDMFont* font = DMApp::GetObjPtr()->GetFont(L"");
    return (font ? std::abs(font->GetLogFont()->lfHeight) : 0) + 10;
}

}  // namespace

DMCode DUIWrapLayout::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    static const DMAttributeEntry<DUIWrapLayout> kTable[] = {
        {&DMAttr::DUIWrapLayoutAttr::INT_colcount,
         &IntAttribute<&DUIWrapLayout::m_nColCount, DMATTR_OK>},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUITabLayout::SetAttribute(name, value, loading);
}

int DUIWrapLayout::ColumnCount(LONG width) const {
    int columns = m_szItem.cx > 0 ? static_cast<int>(width / m_szItem.cx) : m_nColCount;
    return std::max(columns, 1);
}

DMCode DUIWrapLayout::UpdateChildLayout() {
    RECT area{};
    if (!ChildArea(area)) {
        return DM_ECODE_FAIL;
    }
    int columns = ColumnCount(area.right - area.left);
    LONG columnWidth = (area.right - area.left) / columns;
    std::vector<DUIWindow*> children = FlowChildren();
    LONG y = area.top;
    for (std::size_t first = 0; first < children.size(); first += columns) {
        std::size_t last = std::min(first + columns, children.size());
        std::vector<DUIWindow*> row(children.begin() + first, children.begin() + last);
        y += PlaceRow(row, area.left, y, columnWidth) + m_nChildPaddLen;
    }
    return DM_ECODE_OK;
}

// Every column gives up "childpaddlen": half on each side, so that neighbours are a whole
// spacing apart and the row's ends half of one.
LONG DUIWrapLayout::PlaceRow(const std::vector<DUIWindow*>& row, LONG left, LONG y,
                             LONG columnWidth) {
    std::vector<SIZE> sizes;
    LONG rowHeight = m_szItem.cy;
    for (DUIWindow* child : row) {
        const RECT& padding = child->XmlInfo().m_rcPadd;
        int width = columnWidth - padding.left - padding.right - m_nChildPaddLen;
        SIZE size{ConstrainSize(*child, std::max(width, 0), true),
                  ConstrainSize(*child, DefaultChildHeight(), false)};
        rowHeight = std::max<LONG>(rowHeight, size.cy + padding.top + padding.bottom);
        sizes.push_back(size);
    }
    for (std::size_t column = 0; column < row.size(); ++column) {
        const RECT& padding = row[column]->XmlInfo().m_rcPadd;
        const SIZE& size = sizes[column];
        LONG x = left + static_cast<LONG>(column) * columnWidth +
                 (columnWidth - size.cx - padding.left - padding.right) / 2 + padding.left;
        LONG top = y + (rowHeight - size.cy - padding.top - padding.bottom) / 2 + padding.top;
        row[column]->ApplyParentRect({x, top, x + size.cx, top + size.cy});
    }
    return rowHeight;
}

}  // namespace DM
