#include "Common/ActiveX/IDUIRealWnd.h"

#include "Core/DUIWndPool.h"
#include "DMApp.h"
#include "plat/messages.h"
#include "plat/show_commands.h"
#include "plat/window.h"

namespace DM {
namespace {

constexpr int kClassNameSize = 260;

bool IsVisibleInTree(const DUIWindow* widget) {
    for (const DUIWindow* at = widget; at; at = at->GetWindow(GDW_PARENT)) {
        if (!at->IsVisible(true)) {
            return false;
        }
    }
    return true;
}

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

}  // namespace

bool IDUIRealWnd::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
    switch (message) {
        case plat::WM_CREATE:
            result = OnRealCreate();
            return true;
        case plat::WM_DESTROY:
            OnRealDestroy();
            break;
        case plat::WM_SHOWWINDOW:
            DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
            OnRealShowWindow(wParam, lParam);
            return true;
        case plat::WM_SIZE:
            DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
            OnRealSize();
            return true;
        case plat::WM_PAINT:
            result = 0;
            return true;
        default:
            break;
    }
    return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
}

LRESULT IDUIRealWnd::OnRealCreate() {
    HWND host = GetContainer() ? GetContainer()->OnGetHWnd() : nullptr;
    wchar_t className[kClassNameSize] = {};
    plat::GetClassNameW(host, className, kClassNameSize);
    m_hRealWnd = OnCreateRealWnd(className, host);
    if (!m_hRealWnd) {
        return 1;
    }
    DMApp::GetObjPtr()->GetWndPool().AddRealWnd(GetDUIWnd());
    return 0;
}

LRESULT IDUIRealWnd::OnRealDestroy() {
    DMApp::GetObjPtr()->GetWndPool().RemoveRealWnd(GetDUIWnd());
    if (OnDestroyRealWnd() && plat::IsWindow(m_hRealWnd)) {
        plat::DestroyWindow(m_hRealWnd);
    }
    m_hRealWnd = nullptr;
    return 0;
}

LRESULT IDUIRealWnd::OnRealShowWindow(WPARAM show, LPARAM status) {
    if (OnShowRealWnd(show != 0, status) && plat::IsWindow(m_hRealWnd)) {
        plat::ShowWindow(m_hRealWnd,
                         IsVisibleInTree(this) ? plat::SW_SHOWNOACTIVATE : plat::SW_HIDE);
        Reposition();
    }
    return 0;
}

LRESULT IDUIRealWnd::OnRealSize() {
    if (plat::IsWindow(m_hRealWnd) && OnMoveRealWnd(m_rcWindow)) {
        const RECT& rect = m_rcWindow;
        plat::SetWindowPos(m_hRealWnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, plat::SWP_NOZORDER);
    }
    return 0;
}

void IDUIRealWnd::OnHostMoved() {
    if (OnHostMove() == 0) {
        Reposition();
    }
}

void IDUIRealWnd::HideRealWnd() {
    if (plat::IsWindow(m_hRealWnd)) {
        plat::ShowWindow(m_hRealWnd, plat::SW_HIDE);
    }
}

void IDUIRealWnd::FollowVisibility() {
    OnRealShowWindow(1, 0);
}

void IDUIRealWnd::Reposition() {
    if (!plat::IsWindow(m_hRealWnd) || !plat::IsWindowVisible(m_hRealWnd) || IsEmpty(m_rcWindow)) {
        return;
    }
    if (OnMoveRealWnd(m_rcWindow)) {
        const RECT& rect = m_rcWindow;
        plat::SetWindowPos(m_hRealWnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, plat::SWP_NOZORDER | plat::SWP_NOACTIVATE);
    }
}

}  // namespace DM
