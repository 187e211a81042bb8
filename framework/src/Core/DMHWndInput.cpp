#include "DMApp.h"
#include "DMFrameMessages.h"
#include "DMHWnd.h"
#include "DMRectHelpers.h"
#include "DMSpyChannel.h"
#include "DMSpyRecord.h"
#include "plat/input.h"
#include "plat/messages.h"
#include "plat/monitor.h"

namespace DM {
namespace {

// The band along the edges where a resizable host is sized.
constexpr int kResizeBand = 5;
constexpr std::uintptr_t kWidgetTimerBit = 0x80000000u;

bool IsMouseMessage(UINT message) {
    return message == plat::WM_MOUSEMOVE || IsMouseButtonOrWheel(message);
}

bool IsRoutedKeyMessage(UINT message) {
    return message == plat::WM_KEYDOWN || IsKeyOrTextMessage(message);
}

}  // namespace

bool DMHWnd::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                  DWORD) {
    using Handler = LRESULT (DMHWnd::*)(UINT, WPARAM, LPARAM);
    Handler handler = nullptr;
    switch (message) {
        case plat::WM_CREATE:
            handler = &DMHWnd::OnHostCreate;
            break;
        case plat::WM_DESTROY:
            handler = &DMHWnd::OnHostDestroy;
            break;
        case plat::WM_SIZE:
            handler = &DMHWnd::OnHostSize;
            break;
        case plat::WM_MOVE:
            handler = &DMHWnd::OnHostMove;
            break;
        case plat::WM_PAINT:
            handler = &DMHWnd::OnHostPaint;
            break;
        case plat::WM_PRINT:
            handler = &DMHWnd::OnHostPrint;
            break;
        case plat::WM_ERASEBKGND:
        case plat::WM_NCACTIVATE:
            handler = &DMHWnd::OnAnswerOne;
            break;
        case plat::WM_NCHITTEST:
            handler = &DMHWnd::OnHostNcHitTest;
            break;
        case plat::WM_GETMINMAXINFO:
            handler = &DMHWnd::OnHostGetMinMaxInfo;
            break;
        case plat::WM_ACTIVATE:
            handler = &DMHWnd::OnHostActivate;
            break;
        case plat::WM_MOUSELEAVE:
            handler = &DMHWnd::OnHostMouseLeave;
            break;
        case plat::WM_TIMER:
            handler = &DMHWnd::OnHostTimerMessage;
            break;
        case DMSPY_INIT:
        case DMSPY_ENUM:
        case DMSPY_INFO:
        case DMSPY_POINT:
            handler = &DMHWnd::OnHostSpy;
            break;
        case plat::WM_SETFOCUS:
        case plat::WM_KILLFOCUS:
        case plat::WM_ACTIVATEAPP:
        case plat::WM_SETCURSOR:
            handler = &DMHWnd::OnHostRouted;
            break;
        default:
            if (IsMouseMessage(message)) {
                handler = &DMHWnd::OnHostMouse;
            } else if (IsRoutedKeyMessage(message)) {
                handler = &DMHWnd::OnHostRouted;
            }
            break;
    }
    if (!handler) {
        return false;
    }
    bool savedHandled = IsMsgHandled();
    SetMsgHandled(true);
    result = (this->*handler)(message, wParam, lParam);
    bool handled = IsMsgHandled();
    SetMsgHandled(savedHandled);
    return handled;
}

LRESULT DMHWnd::OnHostRouted(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    LRESULT result = OnFrameEvent(message, wParam, lParam, handled);
    SetMsgHandled(handled);
    return result;
}

// The inspection tool's requests; this host's tree is their subject.
LRESULT DMHWnd::OnHostSpy(UINT message, WPARAM wParam, LPARAM lParam) {
    return DMApp::GetObjPtr()->GetSpyChannel().OnSpyMessage(message, wParam, lParam, this);
}

LRESULT DMHWnd::OnHostActivate(UINT message, WPARAM wParam, LPARAM lParam) {
    bool active = (wParam & 0xFFFF) != plat::WA_INACTIVE;
    if (active) {
        plat::SetFocus(m_hWnd);
    } else if (plat::GetFocus() == m_hWnd) {
        plat::SetFocus(nullptr);
    }
    OnHostRouted(message, wParam, lParam);
    return 0;
}

LRESULT DMHWnd::OnHostMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == plat::WM_MOUSEMOVE && !m_bTrackFlag) {
        plat::TRACKMOUSEEVENT request{sizeof request, plat::TME_LEAVE, m_hWnd, 0};
        m_bTrackFlag = plat::TrackMouseEvent(&request) != 0;
    }
    bool handled = false;
    LRESULT result = OnFrameEvent(message, wParam, lParam, handled);
    UpdateToolTip(lParam);
    return result;
}

LRESULT DMHWnd::OnHostMouseLeave(UINT message, WPARAM wParam, LPARAM lParam) {
    m_bTrackFlag = false;
    bool handled = false;
    OnFrameEvent(message, wParam, lParam, handled);
    UpdateToolTip(lParam);
    return 0;
}

void DMHWnd::UpdateToolTip(LPARAM lParam) {
    if (!m_pToolTip || m_bDestroying) {
        return;
    }
    DUIWindow* hover = Resolve(GetHover(), true);
    DMToolTipInfo info;
    if (!hover || hover->OnUpdateToolTip(PointFromLParam(lParam), info) != DM_ECODE_OK) {
        m_pToolTip->Hide();
        return;
    }
    m_pToolTip->Update(info);
}

// Widget timers carry the widget's handle in the low 24 bits and the widget's own id above.
LRESULT DMHWnd::OnHostTimerMessage(UINT, WPARAM wParam, LPARAM) {
    auto id = static_cast<std::uintptr_t>(wParam);
    if (!(id & kWidgetTimerBit)) {
        SetMsgHandled(false);
        return 0;
    }
    DUIWindow* widget = Resolve(static_cast<DUIWND>(id & 0xFFFFFF));
    UINT widgetId = static_cast<UINT>((id >> 24) & 0x7F);
    if (!widget) {
        DMCWndBase::KillTimer(id);
    } else if (widget == static_cast<DUIWindow*>(this)) {
        OnHostTimer(widgetId);
    } else {
        widget->SendMessage(plat::WM_TIMER, widgetId);
    }
    return 0;
}

LRESULT DMHWnd::OnHostNcHitTest(UINT, WPARAM, LPARAM lParam) {
    if (!m_pHostXmlInfo->m_bResize || plat::IsZoomed(m_hWnd)) {
        return plat::HTCLIENT;
    }
    POINT point = PointFromLParam(lParam);
    ScreenToClient(&point);
    int width = m_rcWindow.right - m_rcWindow.left;
    int height = m_rcWindow.bottom - m_rcWindow.top;
    bool bottom = point.y > height - kResizeBand;
    bool top = point.y < kResizeBand;
    if (point.x > width - kResizeBand) {
        return bottom ? plat::HTBOTTOMRIGHT : top ? plat::HTTOPRIGHT : plat::HTRIGHT;
    }
    if (point.x < kResizeBand) {
        return bottom ? plat::HTBOTTOMLEFT : top ? plat::HTTOPLEFT : plat::HTLEFT;
    }
    return bottom ? plat::HTBOTTOM : top ? plat::HTTOP : plat::HTCLIENT;
}

LRESULT DMHWnd::OnHostGetMinMaxInfo(UINT, WPARAM, LPARAM lParam) {
    auto* limits = reinterpret_cast<plat::MINMAXINFO*>(lParam);
    plat::MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    if (!limits || !plat::GetMonitorInfoW(
                       plat::MonitorFromWindow(m_hWnd, plat::MONITOR_DEFAULTTONEAREST), &monitor)) {
        SetMsgHandled(false);
        return 0;
    }
    const RECT& work = monitor.rcWork;
    const RECT& screen = monitor.rcMonitor;
    const DMHWnd_XmlInfo& info = *m_pHostXmlInfo;
    const RECT& inset = info.m_rcMaxInset;
    limits->ptMaxPosition = {std::abs(work.left - screen.left) + inset.left - 1,
                             std::abs(work.top - screen.top) + inset.top - 1};
    limits->ptMaxSize = {std::abs(work.right - work.left) - inset.left - inset.right + 2,
                         std::abs(work.bottom - work.top) - inset.top - inset.bottom + 2};
    limits->ptMinTrackSize = {info.m_szMin.cx, info.m_szMin.cy};
    limits->ptMaxTrackSize = limits->ptMaxSize;
    if (info.m_szMax.cx != -1) {
        limits->ptMaxTrackSize.x = info.m_szMax.cx;
    }
    if (info.m_szMax.cy != -1) {
        limits->ptMaxTrackSize.y = info.m_szMax.cy;
    }
    return 0;
}

}  // namespace DM
