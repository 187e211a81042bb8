// "WrapLayout": a grid of columns, as many as "itemsize" wide fit (else "colcount"), each child
// centred in its column and in a row as high as its highest child.
#pragma once

#include "DUITabLayout.h"

namespace DMAttr {

class DUIWrapLayoutAttr {
public:
    static const wchar_t* INT_colcount;
};

}  // namespace DMAttr

namespace DM {

class DUIWrapLayout : public DUITabLayout {
    DMDECLARE_CLASS_NAME(DUIWrapLayout, DUITabLayout, L"WrapLayout", L"TabLayout",
                         DMREG_LayoutWindow)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    DMCode UpdateChildLayout() override;

    int m_nColCount = 0;

private:
    int ColumnCount(LONG width) const;
    // Lays out one row from `y`; answers the row's height.
    LONG PlaceRow(const std::vector<DUIWindow*>& row, LONG left, LONG y, LONG columnWidth);
};

}  // namespace DM
