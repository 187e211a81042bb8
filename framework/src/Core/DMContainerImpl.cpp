#include "DMContainerImpl.h"

#include <algorithm>

#include "DMApp.h"
#include "DMFrameMessages.h"
#include "DMRectHelpers.h"
#include "DUIWindow.h"
#include "IDMTimeline.h"
#include "plat/cursor.h"
#include "plat/input.h"
#include "plat/keyboard.h"
#include "plat/messages.h"

namespace DM {
namespace {

// A mouse message's non-client counterpart.
constexpr UINT kNonClientOffset = 352;

}  // namespace

DMContainerImpl::DMContainerImpl(DUIWindow* root)
    : m_pContainerRoot(root), m_FocusMgr(root), m_DropTarget(root) {}

LRESULT DMContainerImpl::OnFrameEvent(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
        case plat::WM_ACTIVATE:
        case plat::WM_SETFOCUS:
        case plat::WM_KILLFOCUS:
            RouteActivation(message, wParam);
            return 0;
        case plat::WM_ACTIVATEAPP: {
            bool taken = false;
            BroadcastUntilHandled(m_pContainerRoot, message, wParam, lParam, taken);
            return 0;
        }
        case plat::WM_SETCURSOR:
            RouteSetCursor(lParam);
            return 0;
        case plat::WM_KEYDOWN:
            return RouteKeyDown(wParam, lParam);
        case plat::WM_MOUSEMOVE:
            TrackHover(wParam, lParam);
            return 0;
        case plat::WM_MOUSELEAVE:
            RouteMouseLeave();
            return 0;
        default:
            break;
    }
    if (IsKeyOrTextMessage(message)) {
        return RouteToFocus(message, wParam, lParam);
    }
    if (IsMouseButtonOrWheel(message)) {
        return RouteMouse(message, wParam, lParam);
    }
    handled = false;
    return 0;
}

DUIWindow* DMContainerImpl::Resolve(DUIWND handle, bool enabledOnly) const {
    DUIWindow* widget = handle ? DMApp::GetObjPtr()->FindDUIWnd(handle) : nullptr;
    return widget && enabledOnly && widget->IsDisabled(true) ? nullptr : widget;
}

LRESULT DMContainerImpl::ToWidget(DUIWindow* widget, UINT message, WPARAM wParam, LPARAM lParam) {
    return widget ? widget->SendMessage(message, wParam, lParam) : 0;
}

void DMContainerImpl::RouteActivation(UINT message, WPARAM wParam) {
    bool restore = message == plat::WM_SETFOCUS ||
                   (message == plat::WM_ACTIVATE && (wParam & 0xFFFF) == plat::WA_ACTIVE);
    bool store = message == plat::WM_KILLFOCUS ||
                 (message == plat::WM_ACTIVATE && (wParam & 0xFFFF) == plat::WA_INACTIVE);
    if (restore) {
        m_FocusMgr.RestoreFocusedView();
    } else if (store) {
        m_FocusMgr.StoreFocusedView();
    }
}

// Pre-order over the tree; the first widget whose map takes the message ends the walk.
void DMContainerImpl::BroadcastUntilHandled(DUIWindow* widget, UINT message, WPARAM wParam,
                                            LPARAM lParam, bool& taken) {
    if (!widget || taken) {
        return;
    }
    widget->SendMessage(message, wParam, lParam, &taken);
    for (DUIWindow* child = widget->GetWindow(GDW_FIRSTCHILD); child && !taken;
         child = child->GetWindow(GDW_NEXTSIBLING)) {
        BroadcastUntilHandled(child, message, wParam, lParam, taken);
    }
}

void DMContainerImpl::RouteSetCursor(LPARAM) {
    DUIWindow* target = Resolve(m_hCapture);
    if (!target) {
        target = Resolve(m_hHover, true);
    }
    POINT point{};
    plat::GetCursorPos(&point);
    if (HWND host = OnGetHWnd()) {
        plat::ScreenToClient(host, &point);
    }
    if (!target || target->OnSetCursor(point) != DM_ECODE_OK) {
        plat::SetCursor(plat::LoadCursorW(nullptr, plat::MAKEINTRESOURCEW(plat::IDC_ARROW)));
    }
}

LRESULT DMContainerImpl::RouteKeyDown(WPARAM wParam, LPARAM lParam) {
    bool ctrl = plat::GetKeyState(plat::VK_CONTROL) < 0;
    bool shift = plat::GetKeyState(plat::VK_SHIFT) < 0;
    bool alt = plat::GetKeyState(plat::VK_MENU) < 0;
    if (m_FocusMgr.OnKeyDown(static_cast<UINT>(wParam), ctrl, shift, alt)) {
        return 0;
    }
    return RouteToFocus(plat::WM_KEYDOWN, wParam, lParam);
}

LRESULT DMContainerImpl::RouteToFocus(UINT message, WPARAM wParam, LPARAM lParam) {
    return ToWidget(Resolve(m_FocusMgr.GetFocusedWnd()), message, wParam, lParam);
}

void DMContainerImpl::TrackHover(WPARAM wParam, LPARAM lParam) {
    if (DUIWindow* capture = Resolve(m_hCapture)) {
        TrackHoverWithCapture(capture, wParam, lParam);
    } else {
        TrackHoverWithoutCapture(wParam, lParam);
    }
}

void DMContainerImpl::SendLeave(DUIWindow* widget, bool nonClient) {
    ToWidget(widget, nonClient ? plat::WM_NCMOUSELEAVE : plat::WM_MOUSELEAVE, 0, 0);
}

void DMContainerImpl::TrackHoverWithCapture(DUIWindow* capture, WPARAM wParam, LPARAM lParam) {
    RECT layout{};
    capture->GetLayoutRect(layout);
    DUIWND hover = PointInRect(layout, PointFromLParam(lParam)) ? m_hCapture : 0;
    if (hover != m_hHover) {
        SendLeave(Resolve(m_hHover), m_bNcHover);
        m_hHover = hover;
        if (hover) {
            ToWidget(capture, m_bNcHover ? plat::WM_NCMOUSEHOVER : plat::WM_MOUSEHOVER, wParam,
                     lParam);
        }
    }
    ToWidget(capture, m_bNcHover ? plat::WM_NCMOUSEMOVE : plat::WM_MOUSEMOVE, wParam, lParam);
}

void DMContainerImpl::TrackHoverWithoutCapture(WPARAM wParam, LPARAM lParam) {
    POINT point = PointFromLParam(lParam);
    DUIWND hit = m_pContainerRoot->HitTestPoint(point);
    DUIWindow* widget = Resolve(hit);
    if (hit == m_hHover) {
        if (widget && !widget->IsDisabled(true)) {
            bool nonClient = widget->OnNcHitTest(point) == DM_ECODE_OK;
            if (nonClient != m_bNcHover) {
                SendLeave(widget, m_bNcHover);
                m_bNcHover = nonClient;
                ToWidget(widget, nonClient ? plat::WM_NCMOUSEHOVER : plat::WM_MOUSEHOVER, wParam,
                         lParam);
            }
        }
    } else {
        if (DUIWindow* old = Resolve(m_hHover)) {
            if (m_bNcHover) {
                SendLeave(old, true);
            }
            SendLeave(old, false);
        }
        m_hHover = hit;
        m_bNcHover = false;
        if (widget && !widget->IsDisabled(true)) {
            m_bNcHover = widget->OnNcHitTest(point) == DM_ECODE_OK;
            if (m_bNcHover) {
                ToWidget(widget, plat::WM_NCMOUSEHOVER, wParam, lParam);
            }
            ToWidget(widget, plat::WM_MOUSEHOVER, wParam, lParam);
        }
    }
    ToWidget(widget, m_bNcHover ? plat::WM_NCMOUSEMOVE : plat::WM_MOUSEMOVE, wParam, lParam);
}

// The hover message keeps its number: it has no non-client counterpart at the fixed offset.
// A wheel message carries a screen point; widgets get it in the host's client coordinates like
// every other mouse message.
LRESULT DMContainerImpl::RouteMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == plat::WM_MOUSEWHEEL) {
        lParam = ScreenToClientLParam(lParam);
    }
    if (DUIWindow* capture = Resolve(m_hCapture)) {
        bool convert =
            m_bNcHover && message != plat::WM_MOUSEWHEEL && message != plat::WM_MOUSEHOVER;
        return ToWidget(capture, convert ? message - kNonClientOffset : message, wParam, lParam);
    }
    // Over the non-client part of the hover widget (a scroll bar) a button message takes its
    // non-client number, as the moves there do.
    DUIWND hit = m_pContainerRoot->HitTestPoint(PointFromLParam(lParam));
    bool nonClient = hit == m_hHover && m_bNcHover && message != plat::WM_MOUSEWHEEL;
    return ToWidget(Resolve(hit, true), nonClient ? message - kNonClientOffset : message, wParam,
                    lParam);
}

LPARAM DMContainerImpl::ScreenToClientLParam(LPARAM lParam) {
    POINT point = PointFromLParam(lParam);
    if (HWND host = OnGetHWnd()) {
        plat::ScreenToClient(host, &point);
    }
    return plat::PointToLParam(point);
}

void DMContainerImpl::RouteMouseLeave() {
    if (DUIWindow* capture = Resolve(m_hCapture)) {
        ToWidget(capture, plat::WM_MOUSELEAVE, 0, 0);
        return;
    }
    SendLeave(Resolve(m_hHover), m_bNcHover);
    m_hHover = 0;
}

DMCode DMContainerImpl::OnSetFocusWnd(DUIWND widget) {
    m_FocusMgr.SetFocusedWnd(widget, DMFOCUS_BY_CODE);
    return DM_ECODE_OK;
}

DUIWND DMContainerImpl::OnGetFocusWnd() {
    return m_FocusMgr.GetFocusedWnd();
}

DUIWND DMContainerImpl::OnSetCapture(DUIWND widget) {
    if (!Resolve(widget, true)) {
        return 0;
    }
    return std::exchange(m_hCapture, widget);
}

DMCode DMContainerImpl::OnReleaseCapture() {
    m_hCapture = 0;
    return DM_ECODE_OK;
}

bool DMContainerImpl::OnRegisterDragDrop(DUIWND widget, plat::IDropTarget* target) {
    return m_DropTarget.RegisterDragDrop(widget, target);
}

bool DMContainerImpl::OnUnRegisterDragDrop(DUIWND widget) {
    return m_DropTarget.UnRegisterDragDrop(widget);
}

DMCode DMContainerImpl::OnFireEvent(DMEventArgs&) {
    return DM_ECODE_FAIL;
}

DMCode DMContainerImpl::OnGetDraw(IDMDraw**) {
    return DM_ECODE_FAIL;
}

DMCode DMContainerImpl::OnGetCanvas(const RECT&, DWORD, IDMCanvas**) {
    return DM_ECODE_FAIL;
}

DMCode DMContainerImpl::OnReleaseCanvas(const RECT&, DWORD, IDMCanvas*) {
    return DM_ECODE_FAIL;
}

DMCode DMContainerImpl::OnGetContainerRect(RECT& rect) {
    rect = m_pContainerRoot->m_rcWindow;
    return DM_ECODE_OK;
}

DMCode DMContainerImpl::OnInvalidateRect(const RECT&, DUIWND) {
    return DM_ECODE_OK;
}

DMCode DMContainerImpl::OnClientToScreen(POINT& point) {
    HWND host = OnGetHWnd();
    return host && plat::ClientToScreen(host, &point) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DMContainerImpl::OnClientToScreen(RECT& rect) {
    POINT topLeft{rect.left, rect.top};
    POINT bottomRight{rect.right, rect.bottom};
    if (OnClientToScreen(topLeft) != DM_ECODE_OK || OnClientToScreen(bottomRight) != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    rect = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    return DM_ECODE_OK;
}

DMCode DMContainerImpl::OnAddTimeline(IDMTimeline* timeline) {
    if (!timeline || std::ranges::find(m_timelines, timeline) != m_timelines.end()) {
        return DM_ECODE_FAIL;
    }
    m_timelines.push_back(timeline);
    return DM_ECODE_OK;
}

DMCode DMContainerImpl::OnRemoveTimeline(IDMTimeline* timeline) {
    auto found = std::ranges::find(m_timelines, timeline);
    if (found == m_timelines.end()) {
        return DM_ECODE_FAIL;
    }
    m_timelines.erase(found);
    return DM_ECODE_OK;
}

// On a copy: a tick may end its animation and remove it from the list.
DMCode DMContainerImpl::OnTimeline() {
    std::vector<IDMTimeline*> running = m_timelines;
    for (IDMTimeline* timeline : running) {
        timeline->OnTimeline();
    }
    return DM_ECODE_OK;
}

DMCode DMContainerImpl::OnGetTransId(DMStringT& id) {
    id.clear();
    return DM_ECODE_OK;
}

}  // namespace DM
