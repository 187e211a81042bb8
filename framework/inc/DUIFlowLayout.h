// Widgets that arrange their children themselves: a row (HLayout) or a column (VLayout).
// Their children's own "pos" is not used; a child takes part while it is visible or keeps its
// place, with its padding around it, its "width"/"height" fixing a dimension and the minimum
// and maximum sizes clamping it.
#pragma once

#include "DUIWindow.h"

namespace DMAttr {

class DUIFlowLayoutAttr {
public:
    static const wchar_t* INT_childpaddlen;
};

}  // namespace DMAttr

namespace DM {

class DUIFlowLayout : public DUIWindow {
    DMDECLARE_CLASS_NAME(DUIFlowLayout, DUIWindow, L"FlowLayout", L"window", DMREG_LayoutWindow)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;

    int m_nChildPaddLen = 0;

protected:
    // The children that take part in the flow.
    std::vector<DUIWindow*> FlowChildren();
    // The layout only runs once it was laid out and its child area is not empty.
    bool ChildArea(RECT& area);
    // A child's width (or height) fixed by its "width" ("height") when set, else `size`, then
    // clamped by its minimum and maximum.
    static int ConstrainSize(DUIWindow& child, int size, bool horizontal);
};

// One row, left to right: fixed widths first, the rest shared by the elastic children.
class DUIHLayout : public DUIFlowLayout {
    DMDECLARE_CLASS_NAME(DUIHLayout, DUIFlowLayout, L"HLayout", L"window", DMREG_LayoutWindow)
public:
    DMCode UpdateChildLayout() override;
};

// One column, top to bottom, the same rules with width and height exchanged.
class DUIVLayout : public DUIFlowLayout {
    DMDECLARE_CLASS_NAME(DUIVLayout, DUIFlowLayout, L"VLayout", L"window", DMREG_LayoutWindow)
public:
    DMCode UpdateChildLayout() override;
};

}  // namespace DM
