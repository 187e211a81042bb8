#include "DUISplitLayout.h"

#include <algorithm>
#include <cstdlib>

#include "DMApp.h"
#include "DMAttrTable.h"
#include "DMRectHelpers.h"
#include "plat/messages.h"

namespace DMAttr {

DMATTR_DEFINE(DUISplitLayoutAttr, bool_bvert)
DMATTR_DEFINE(DUISplitLayoutAttr, bool_bfirstchange)
DMATTR_DEFINE(DUISplitLayoutAttr, INT_sliderwidth)
DMATTR_DEFINE(DUISplitLayoutAttr, INT_minimumwidth)
DMATTR_DEFINE(DUISplitLayoutAttr, INT_maximumwidth)
DMATTR_DEFINE(DUISplitLayoutAttr, SKIN_sliderskin)
DMATTR_DEFINE(DUISplitLayoutAttr, COLOR_clrslider)
DMATTR_DEFINE(DUISplitLayoutAttr, INT_firstchildwidth)
DMATTR_DEFINE(DUISplitLayoutAttr, STRING_firstchildpercent)

}  // namespace DMAttr

namespace DM {
namespace {

using DMAttr::DUISplitLayoutAttr;

// The part of `window` from `from` to `to` along the axis, across its whole extent.
RECT Band(const RECT& window, int from, int to, bool vertical) {
    if (vertical) {
        return {window.left, window.top + from, window.right, window.top + to};
    }
    return {window.left + from, window.top, window.left + to, window.bottom};
}

}  // namespace

// A slider of negative width would make the panes overlap: such a value is refused.
DMCode DUISplitLayout::OnSliderWidth(DUISplitLayout& split, const DMStringT& value, bool) {
    int width = 0;
    if (ParseInt(value, width) != DM_ECODE_OK || width < 0) {
        return DMATTR_FAIL;
    }
    split.m_nSliderWidth = width;
    return DMATTR_PARENTLAYOUT;
}

DMCode DUISplitLayout::OnFirstChildWidth(DUISplitLayout& split, const DMStringT& value,
                                         bool loading) {
    int width = 0;
    if (ParseInt(value, width) != DM_ECODE_OK || width < 0) {
        return DMATTR_FAIL;
    }
    split.m_nFirstChildWidth = width;
    split.RestartLayout(loading);
    return DMATTR_OK;
}

// "-1" measures the first pane in pixels; "%N" makes it N per cent of the layout.
DMCode DUISplitLayout::OnFirstChildPercent(DUISplitLayout& split, const DMStringT& value,
                                           bool loading) {
    if (value == L"-1") {
        split.m_nFirstChildPercent = -1;
    } else {
        int percent = 0;
        if (value.empty() || value[0] != L'%' ||
            ParseInt(value.substr(1), percent) != DM_ECODE_OK) {
            return DMATTR_FAIL;
        }
        split.m_nFirstChildPercent = std::abs(percent);
    }
    split.RestartLayout(loading);
    return DMATTR_OK;
}

void DUISplitLayout::RestartLayout(bool loading) {
    if (loading) {
        return;
    }
    m_nKeptSize = -1;
    UpdateChildLayout();
    Invalidate();
}

DMCode DUISplitLayout::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    using S = DUISplitLayout;
    static const DMAttributeEntry<DUISplitLayout> kTable[] = {
        {&DUISplitLayoutAttr::bool_bvert, &BoolAttribute<&S::m_bVert, DMATTR_PARENTLAYOUT>},
        {&DUISplitLayoutAttr::bool_bfirstchange,
         &BoolAttribute<&S::m_bFirstChange, DMATTR_PARENTLAYOUT>},
        {&DUISplitLayoutAttr::INT_sliderwidth, &S::OnSliderWidth},
        {&DUISplitLayoutAttr::INT_minimumwidth,
         &IntAttribute<&S::m_nMinimumWidth, DMATTR_PARENTLAYOUT>},
        {&DUISplitLayoutAttr::INT_maximumwidth,
         &IntAttribute<&S::m_nMaximumWidth, DMATTR_PARENTLAYOUT>},
        {&DUISplitLayoutAttr::SKIN_sliderskin, &StringAttribute<&S::m_strSliderSkin, DMATTR_PAINT>},
        {&DUISplitLayoutAttr::COLOR_clrslider, &ColorAttribute<&S::m_clrSlider, DMATTR_PAINT>},
        {&DUISplitLayoutAttr::INT_firstchildwidth, &S::OnFirstChildWidth},
        {&DUISplitLayoutAttr::STRING_firstchildpercent, &S::OnFirstChildPercent},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIFlowLayout::SetAttribute(name, value, loading);
}

int DUISplitLayout::Extent() const {
    return m_bVert ? m_rcWindow.bottom - m_rcWindow.top : m_rcWindow.right - m_rcWindow.left;
}

// The percentage of the extent, else the pixels, leaving at least the slider.
int DUISplitLayout::InitialFirstPane(int extent) const {
    int first = m_nFirstChildPercent != -1
                    ? static_cast<int>(static_cast<long long>(extent) * m_nFirstChildPercent / 100)
                    : m_nFirstChildWidth;
    if (extent - first < m_nSliderWidth) {
        first = extent - m_nSliderWidth;
    }
    return std::max(first, 0);
}

// The first pane from the kept size: the kept pane itself, or what the second leaves.
int DUISplitLayout::FirstPane(int extent) const {
    int first = m_bFirstChange ? extent - m_nSliderWidth - m_nKeptSize : m_nKeptSize;
    return std::max(first, 0);
}

// The panes fill the window rectangle, not the client rectangle.
DMCode DUISplitLayout::UpdateChildLayout() {
    int extent = Extent();
    if (GetChildCount() != 2 || !IsLaidOut() || extent <= 0) {
        return DM_ECODE_FAIL;
    }
    if (m_nKeptSize == -1) {
        int first = InitialFirstPane(extent);
        m_nKeptSize = m_bFirstChange ? std::max(extent - first - m_nSliderWidth, 0) : first;
    } else {
        m_nKeptSize = std::max(std::min(m_nKeptSize, extent - m_nSliderWidth), 0);
    }
    int first = FirstPane(extent);
    GetWindow(GDW_FIRSTCHILD)->ApplyParentRect(Band(m_rcWindow, 0, first, m_bVert));
    GetWindow(GDW_LASTCHILD)
        ->ApplyParentRect(Band(m_rcWindow, first + m_nSliderWidth, extent, m_bVert));
    return DM_ECODE_OK;
}

RECT DUISplitLayout::SliderRect() const {
    int first = FirstPane(Extent());
    return Band(m_rcWindow, first, first + m_nSliderWidth, m_bVert);
}

bool DUISplitLayout::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT& result) {
    bool handled = DUIFlowLayout::ProcessWindowMessage(message, wParam, lParam, result);
    if (message == plat::WM_LBUTTONDOWN && m_nKeptSize != -1 && !IsDisabled(true)) {
        m_bDragging = true;
        m_ptLast = PointFromLParam(lParam);
    } else if (message == plat::WM_MOUSEMOVE && m_bDragging) {
        OnDragMove(PointFromLParam(lParam));
    } else if (message == plat::WM_LBUTTONUP) {
        m_bDragging = false;
    } else if (message == plat::WM_PAINT) {
        PaintSlider(reinterpret_cast<IDMCanvas*>(wParam));
    }
    return handled;
}

// The kept size follows the pointer within the limits; the part of the movement the limits
// refused stays in the recorded point, so that the slider stays under the pointer.
void DUISplitLayout::OnDragMove(POINT point) {
    int moved = m_bVert ? point.y - m_ptLast.y : point.x - m_ptLast.x;
    int kept = m_bFirstChange ? m_nKeptSize - moved : m_nKeptSize + moved;
    if (m_nMaximumWidth != -1 && kept > m_nMaximumWidth) {
        kept = m_nMaximumWidth;
    } else if (m_nMinimumWidth != -1 && kept < m_nMinimumWidth) {
        kept = m_nMinimumWidth;
    }
    kept = std::min(std::max(kept, 0), Extent() - m_nSliderWidth);
    int accepted = m_bFirstChange ? m_nKeptSize - kept : kept - m_nKeptSize;
    (m_bVert ? m_ptLast.y : m_ptLast.x) += accepted;
    if (accepted != 0) {
        m_nKeptSize = kept;
        UpdateChildLayout();
        InvalidateRect(m_rcWindow);
    }
}

void DUISplitLayout::PaintSlider(IDMCanvas* canvas) {
    RECT slider = SliderRect();
    if (!canvas || m_nKeptSize == -1 || slider.right <= slider.left ||
        slider.bottom <= slider.top) {
        return;
    }
    if (IDMSkin* skin =
            m_strSliderSkin.empty() ? nullptr : DMApp::GetObjPtr()->GetSkin(m_strSliderSkin)) {
        skin->Draw(canvas, slider, 0, 0xFF);
    } else if (!(m_clrSlider == DMColor::FromValue(PBGRA_NONE))) {
        canvas->FillSolidRect(slider, m_clrSlider);
    }
}

// Every style starts with the arrow: only a cursor of its own replaces the resize cursor.
DMCode DUISplitLayout::OnSetCursor(const POINT&) {
    plat::HCURSOR arrow = plat::LoadCursorW(nullptr, plat::MAKEINTRESOURCEW(plat::IDC_ARROW));
    plat::HCURSOR cursor = nullptr;
    IDMStyle* style = GetStyle();
    if (!style || style->GetCursor(cursor) != DM_ECODE_OK || cursor == arrow) {
        cursor = plat::LoadCursorW(
            nullptr, plat::MAKEINTRESOURCEW(m_bVert ? plat::IDC_SIZENS : plat::IDC_SIZEWE));
    }
    plat::SetCursor(cursor);
    return DM_ECODE_OK;
}

}  // namespace DM
