// "TabLayout": a grid of equal cells of "itemsize", filled left to right and row by row.
#pragma once

#include "DUIFlowLayout.h"

namespace DMAttr {

class DUITabLayoutAttr {
public:
    static const wchar_t* SIZE_itemsize;
};

}  // namespace DMAttr

namespace DM {

class DUITabLayout : public DUIFlowLayout {
    DMDECLARE_CLASS_NAME(DUITabLayout, DUIFlowLayout, L"TabLayout", L"window", DMREG_LayoutWindow)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    DMCode UpdateChildLayout() override;

    SIZE m_szItem{0, 0};
};

}  // namespace DM
