#include "IERealWnd.h"

#include "plat/window.h"

namespace {

// Any value other than 0 lets the base show and hide the popup with the widget.
constexpr int kFollowVisibility = 5;

}  // namespace

DM::HWND IERealWnd::OnCreateRealWnd(const wchar_t*, DM::HWND host) {
    m_pIEWnd = DM::DMSmartPtrT<CIEWnd>::Adopt(new CIEWnd);
    DM::HWND popup = m_pIEWnd->DM_CreateWindow(L"dui_ie", 0, 0, 0, 0, host, false);
    if (!popup) {
        return nullptr;
    }
    m_hParent = host;
    return popup;
}

int IERealWnd::OnDestroyRealWnd() {
    if (m_pIEWnd && m_pIEWnd->IsWindow()) {
        m_pIEWnd->DestroyWindow();
    }
    return 0;
}

int IERealWnd::OnShowRealWnd(bool, DM::LPARAM) {
    return kFollowVisibility;
}

int IERealWnd::OnMoveRealWnd(const DM::RECT& rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return 1;
    }
    if (!m_pIEWnd || !m_pIEWnd->IsWindow() || !plat::IsWindowVisible(m_pIEWnd->m_hWnd)) {
        return 1;
    }
    DM::POINT topLeft{rect.left, rect.top};
    DM::POINT bottomRight{rect.right, rect.bottom};
    plat::ClientToScreen(m_hParent, &topLeft);
    plat::ClientToScreen(m_hParent, &bottomRight);
    plat::SetWindowPos(m_pIEWnd->m_hWnd, nullptr, topLeft.x, topLeft.y, bottomRight.x - topLeft.x,
                       bottomRight.y - topLeft.y, plat::SWP_NOZORDER | plat::SWP_NOACTIVATE);
    return 0;
}
