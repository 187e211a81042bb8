#include "DMCWndBase.h"

#include <algorithm>

#include "plat/input.h"
#include "plat/monitor.h"
#include "plat/paint.h"
#include "plat/timer.h"
#include "plat/window_styles.h"

namespace DM {
namespace {

bool ModifyLong(HWND window, int index, DWORD remove, DWORD add) {
    auto present = static_cast<DWORD>(plat::GetWindowLongPtrW(window, index));
    DWORD changed = (present & ~remove) | add;
    if (changed == present) {
        return false;
    }
    plat::SetWindowLongPtrW(window, index, static_cast<plat::LONG_PTR>(changed));
    return true;
}

struct CentreArea {
    RECT area;    // what the window must stay inside
    RECT centre;  // what it is centred on
};

// A child centres within its parent's client area, other windows within the work area of the
// monitor nearest to the reference (or to themselves).
bool FindCentreArea(HWND window, HWND reference, bool child, CentreArea& result) {
    if (child) {
        HWND parent = plat::GetParent(window);
        plat::GetClientRect(parent, &result.area);
        plat::GetClientRect(reference, &result.centre);
        POINT corners[2] = {{result.centre.left, result.centre.top},
                            {result.centre.right, result.centre.bottom}};
        for (POINT& corner : corners) {
            plat::ClientToScreen(reference, &corner);
            plat::ScreenToClient(parent, &corner);
        }
        result.centre = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
        return true;
    }
    auto style = static_cast<DWORD>(plat::GetWindowLongPtrW(reference, plat::GWL_STYLE));
    if (reference && (!(style & plat::WS_VISIBLE) || (style & plat::WS_MINIMIZE))) {
        reference = nullptr;
    }
    plat::HMONITOR monitor =
        plat::MonitorFromWindow(reference ? reference : window, plat::MONITOR_DEFAULTTONEAREST);
    plat::MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !plat::GetMonitorInfoW(monitor, &info)) {
        return false;
    }
    result.area = info.rcWork;
    if (reference) {
        plat::GetWindowRect(reference, &result.centre);
    } else {
        result.centre = result.area;
    }
    return true;
}

}  // namespace

DWORD DMCWndBase::GetStyle() const {
    return static_cast<DWORD>(plat::GetWindowLongPtrW(m_hWnd, plat::GWL_STYLE));
}

DWORD DMCWndBase::GetExStyle() const {
    return static_cast<DWORD>(plat::GetWindowLongPtrW(m_hWnd, plat::GWL_EXSTYLE));
}

bool DMCWndBase::ModifyStyle(DWORD remove, DWORD add) {
    return ModifyLong(m_hWnd, plat::GWL_STYLE, remove, add);
}

bool DMCWndBase::ModifyStyleEx(DWORD remove, DWORD add) {
    return ModifyLong(m_hWnd, plat::GWL_EXSTYLE, remove, add);
}

bool DMCWndBase::InvalidateRect(const RECT* rect, bool erase) {
    return plat::InvalidateRect(m_hWnd, rect, erase) != 0;
}

plat::UINT_PTR DMCWndBase::SetTimer(plat::UINT_PTR id, UINT elapse) {
    return plat::SetTimer(m_hWnd, id, elapse, nullptr);
}

bool DMCWndBase::KillTimer(plat::UINT_PTR id) {
    return plat::KillTimer(m_hWnd, id) != 0;
}

HWND DMCWndBase::SetCapture() {
    return plat::SetCapture(m_hWnd);
}

bool DMCWndBase::CenterWindow(HWND reference) {
    bool child = (GetStyle() & plat::WS_CHILD) != 0;
    if (!reference) {
        reference = child ? plat::GetParent(m_hWnd) : plat::GetWindow(m_hWnd, plat::GW_OWNER);
    }
    RECT window{};
    GetWindowRect(&window);
    LONG width = window.right - window.left;
    LONG height = window.bottom - window.top;
    CentreArea found{};
    if (!FindCentreArea(m_hWnd, reference, child, found)) {
        return false;
    }
    const RECT& area = found.area;
    const RECT& centre = found.centre;
    LONG x = (centre.left + centre.right) / 2 - width / 2;
    LONG y = (centre.top + centre.bottom) / 2 - height / 2;
    if (x + width > area.right) {
        x = area.right - width;
    }
    if (y + height > area.bottom) {
        y = area.bottom - height;
    }
    x = std::max(x, area.left);
    y = std::max(y, area.top);
    return SetWindowPos(nullptr, x, y, -1, -1,
                        plat::SWP_NOSIZE | plat::SWP_NOZORDER | plat::SWP_NOACTIVATE);
}

}  // namespace DM
