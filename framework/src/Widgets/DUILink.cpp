#include "DUILink.h"

#include "DMAttrTable.h"
#include "DMRectHelpers.h"
#include "plat/cursor.h"
#include "plat/messages.h"
#include "plat/shell.h"

namespace DMAttr {

DMATTR_DEFINE(DUILinkAttr, STRING_href)

}  // namespace DMAttr

namespace DM {
namespace {

// The shell answers a value above 32 when it started something.
constexpr std::intptr_t kShellStarted = 32;

// A box of `size` inside `rect` where the alignment flags of `format` put it.
RECT AlignBox(const SIZE& size, const RECT& rect, UINT format) {
    LONG left = rect.left;
    if (format & DT_CENTER) {
        left = rect.left + (rect.right - rect.left - size.cx) / 2;
    } else if (format & DT_RIGHT) {
        left = rect.right - size.cx;
    }
    LONG top = rect.top;
    if (format & DT_VCENTER) {
        top = rect.top + (rect.bottom - rect.top - size.cy) / 2;
    } else if (format & DT_BOTTOM) {
        top = rect.bottom - size.cy;
    }
    return {left, top, left + size.cx, top + size.cy};
}

}  // namespace

DMCode DUILink::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    static const DMAttributeEntry<DUILink> kTable[] = {
        {&DMAttr::DUILinkAttr::STRING_href, &StringAttribute<&DUILink::m_strHref, DMATTR_OK>},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIWindow::SetAttribute(name, value, loading);
}

// Measures the text and places the hot rectangle by the style's alignment, then draws.
DMCode DUILink::DrawText(IDMCanvas* canvas, const wchar_t* text, int length, RECT& rect,
                         UINT format) {
    if (!(format & DT_CALCRECT)) {
        RECT measured{0, 0, 0, 0};
        canvas->DrawText(text, length, measured, DT_CALCRECT, 0xFF);
        UINT align = 0;
        if (IDMStyle* style = GetStyle()) {
            style->GetTextAlign(align);
        }
        SIZE size{measured.right - measured.left, measured.bottom - measured.top};
        m_rcHot = AlignBox(size, rect, align);
    }
    return DUIWindow::DrawText(canvas, text, length, rect, format);
}

bool DUILink::IsOverText(POINT point) const {
    return IsEmptyRect(m_rcHot) || (point.x >= m_rcHot.left && point.x < m_rcHot.right &&
                                    point.y >= m_rcHot.top && point.y < m_rcHot.bottom);
}

bool DUILink::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case plat::WM_LBUTTONDOWN:
        case plat::WM_MOUSEHOVER:
            if (IsOverText(PointFromLParam(lParam))) {
                return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
            }
            result = 0;
            return true;
        case plat::WM_MOUSEMOVE:
            OnMouseMoveOverLink(PointFromLParam(lParam));
            result = 0;
            return true;
        case plat::WM_LBUTTONUP:
            OnReleaseOverLink(wParam, lParam);
            result = 0;
            return true;
        default:
            return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
    }
}

void DUILink::OnMouseMoveOverLink(POINT point) {
    bool hover = GetState() & DUIWNDSTATE_Hover;
    bool over = IsOverText(point);
    if (over && !hover) {
        OnMouseHover(0, 0);
    } else if (!over && hover) {
        OnMouseLeave(0, 0);
    }
}

// Beside the text a release ends the capture and the press, without a click.
void DUILink::OnReleaseOverLink(WPARAM wParam, LPARAM lParam) {
    if (!IsOverText(PointFromLParam(lParam))) {
        if (GetContainer() && GetContainer()->OnGetCapture() == GetDUIWnd()) {
            GetContainer()->OnReleaseCapture();
        }
        ModifyState(0, DUIWNDSTATE_PushDown, true);
        return;
    }
    OnLButtonUp(wParam, lParam);
    if (!IsDisabled(true) && !m_strHref.empty()) {
        OpenHref();
    }
}

// The address goes to the shell; when nothing opens it, to the system browser.
void DUILink::OpenHref() {
    HWND owner = GetContainer() ? GetContainer()->OnGetHWnd() : nullptr;
    auto answer = reinterpret_cast<std::intptr_t>(plat::ShellExecuteW(
        owner, L"open", m_strHref.c_str(), nullptr, nullptr, plat::SW_SHOWNORMAL));
    if (answer <= kShellStarted) {
        plat::ShellExecuteW(owner, L"open", L"iexplore.exe", m_strHref.c_str(), nullptr,
                            plat::SW_SHOWNORMAL);
    }
}

DMCode DUILink::OnSetCursor(const POINT& point) {
    return IsOverText(point) ? DUIWindow::OnSetCursor(point) : DM_ECODE_FAIL;
}

}  // namespace DM
