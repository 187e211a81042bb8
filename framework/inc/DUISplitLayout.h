// "splitlayout": two panes, side by side or one above the other ("bvert"), with a slider
// between them that the user drags. One pane keeps its size when the layout grows or shrinks:
// the second with "bfirstchange", else the first.
#pragma once

#include "DUIFlowLayout.h"

namespace DMAttr {

class DUISplitLayoutAttr {
public:
    static const wchar_t* bool_bvert;
    static const wchar_t* bool_bfirstchange;
    static const wchar_t* INT_sliderwidth;
    static const wchar_t* INT_minimumwidth;
    static const wchar_t* INT_maximumwidth;
    static const wchar_t* SKIN_sliderskin;
    static const wchar_t* COLOR_clrslider;
    static const wchar_t* INT_firstchildwidth;
    static const wchar_t* STRING_firstchildpercent;
};

}  // namespace DMAttr

namespace DM {

class DUISplitLayout : public DUIFlowLayout {
    DMDECLARE_CLASS_NAME(DUISplitLayout, DUIFlowLayout, L"splitlayout", L"window",
                         DMREG_LayoutWindow)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    DMCode UpdateChildLayout() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The style's cursor, else the resize cursor along the layout's axis. Answers 0.
    DMCode OnSetCursor(const POINT& point) override;
    // The band between the panes, across the whole window.
    RECT SliderRect() const;

    bool m_bVert = false;
    int m_nSliderWidth = 1;
    int m_nMinimumWidth = -1;
    int m_nMaximumWidth = -1;
    DMStringT m_strSliderSkin;
    DMColor m_clrSlider = DMColor::FromValue(PBGRA_NONE);
    bool m_bFirstChange = true;
    int m_nFirstChildWidth = 20;
    int m_nFirstChildPercent = -1;
    int m_nKeptSize = -1;
    bool m_bDragging = false;
    POINT m_ptLast{0, 0};

private:
    static DMCode OnSliderWidth(DUISplitLayout& split, const DMStringT& value, bool loading);
    static DMCode OnFirstChildWidth(DUISplitLayout& split, const DMStringT& value, bool loading);
    static DMCode OnFirstChildPercent(DUISplitLayout& split, const DMStringT& value, bool loading);
    // A new first pane size set by code: the panes are measured again from it.
    void RestartLayout(bool loading);
    int Extent() const;
    int InitialFirstPane(int extent) const;
    int FirstPane(int extent) const;
    void OnDragMove(POINT point);
    void PaintSlider(IDMCanvas* canvas);
};

}  // namespace DM
