// The widget's rectangles and its part in the layout of its parent.
#include <algorithm>

#include "DUIWindow.h"
#include "plat/messages.h"

namespace DM {
namespace {

LPARAM PackSize(const RECT& rect) {
    auto width = static_cast<WPARAM>(rect.right - rect.left) & 0xFFFF;
    auto height = static_cast<WPARAM>(rect.bottom - rect.top) & 0xFFFF;
    return static_cast<LPARAM>(width | height << 16);
}

}  // namespace

DMCode DUIWindow::GetChildLayoutRect(RECT& rect) {
    return GetClientRect(rect);
}

// The window rectangle less the style's non-client margin.
DMCode DUIWindow::GetClientRect(RECT& rect) {
    rect = m_rcWindow;
    if (!IsLaidOut()) {
        return DM_ECODE_FAIL;
    }
    RECT margin{};
    if (IDMStyle* style = GetStyle()) {
        style->GetNcMargin(margin);
    }
    rect = {rect.left + margin.left, rect.top + margin.top, rect.right - margin.right,
            rect.bottom - margin.bottom};
    return DM_ECODE_OK;
}

DMCode DUIWindow::GetTextRect(RECT& rect) {
    return GetClientRect(rect);
}

// A hidden widget that keeps no place shrinks to its top-left corner.
DMCode DUIWindow::GetLayoutRect(RECT& rect) {
    rect = m_rcWindow;
    if (!IsVisible(false) && !XmlInfo().m_bPlaceHolder) {
        rect.right = rect.left;
        rect.bottom = rect.top;
    }
    return DM_ECODE_OK;
}

DMCode DUIWindow::GetStateIndex(int& index) {
    index = StateIndexOf(GetState());
    return DM_ECODE_OK;
}

int DUIWindow::StateIndexOf(DWORD state) {
    if (state & DUIWNDSTATE_NoActive) {
        return 4;
    }
    if (state & DUIWNDSTATE_Disable) {
        return 3;
    }
    if (state & (DUIWNDSTATE_PushDown | DUIWNDSTATE_Check)) {
        return 2;
    }
    return (state & DUIWNDSTATE_Hover) ? 1 : 0;
}

bool DUIWindow::IsStateChangeRedraw() {
    IDMStyle* style = GetStyle();
    if (!style) {
        return false;
    }
    IDMSkin* skin = nullptr;
    if (style->GetBgSkin(&skin) == DM_ECODE_OK) {
        int states = 0;
        skin->GetStates(states);
        skin->Release();
        return states > 1;
    }
    int textStates = 0;
    int bgStates = 0;
    style->GetTextStates(textStates);
    style->GetBgStates(bgStates);
    DMColor background;
    style->GetBgColor(0, background);
    bool oneBackground = bgStates == 1 && !(background == DMColor::FromValue(PBGRA_NONE));
    return textStates > 1 || bgStates > 1 || oneBackground;
}

DMCode DUIWindow::UpdateChildLayout() {
    if (GetClassType() == DMREG_LayoutWindow || !GetLayout()) {
        return DM_ECODE_FAIL;
    }
    DMCode code = GetLayout()->UpdateChildLayout();
    if (code == DM_ECODE_OK) {
        DMEventChildLayoutFinishedArgs finished(this);
        FireEvent(finished);
    }
    Invalidate();
    return code;
}

void DUIWindow::OnRectChanged() {
    SendMessage(plat::WM_NCCALCSIZE);
    RECT client{};
    GetClientRect(client);
    SendMessage(plat::WM_SIZE, 0, PackSize(client));
    UpdateChildLayout();
}

DMCode DUIWindow::SetWndRect(const RECT& rect) {
    m_bPlacedByCode = true;
    if (rect.left == m_rcWindow.left && rect.top == m_rcWindow.top &&
        rect.right == m_rcWindow.right && rect.bottom == m_rcWindow.bottom) {
        return DM_ECODE_FAIL;
    }
    m_rcWindow = rect;
    OnRectChanged();
    return DM_ECODE_OK;
}

DMCode DUIWindow::ApplyParentRect(const RECT& rect) {
    if (!m_bPlacedByCode) {
        RECT cut = rect;
        bool empty = cut.right <= cut.left || cut.bottom <= cut.top;
        for (DUIWindow* ancestor = m_pParent; ancestor && !empty; ancestor = ancestor->m_pParent) {
            RECT area{};
            if (ancestor->GetChildLayoutRect(area) == 9) {
                break;
            }
            cut = {std::max(cut.left, area.left), std::max(cut.top, area.top),
                   std::min(cut.right, area.right), std::min(cut.bottom, area.bottom)};
            empty = cut.right <= cut.left || cut.bottom <= cut.top;
        }
        m_rcWindow = empty ? RECT{cut.left, cut.top, cut.left, cut.top} : cut;
        InvalidateRect(m_rcWindow);
    }
    OnRectChanged();
    return DM_ECODE_OK;
}

// lParam: the parent's child layout rectangle.
LRESULT DUIWindow::OnWindowPosChanged(WPARAM, LPARAM parentRect) {
    if (!m_bPlacedByCode && !IsParentFlowLayout() && GetLayout()) {
        RECT rect{};
        DMCode code = GetLayout()->UpdateLayout(reinterpret_cast<const RECT*>(parentRect), rect);
        if (code != DM_ECODE_OK) {
            return code;
        }
        m_rcWindow = rect;
    }
    OnRectChanged();
    return DM_ECODE_OK;
}

}  // namespace DM
