// Show states: hidden, shown, minimised, maximised and restored, and the owned windows that
// disappear with a minimised owner.
#include <chrono>
#include <thread>

#include "plat/input.h"
#include "plat/message_queue.h"
#include "plat/monitor.h"
#include "plat/window.h"
#include "user/input_state.h"
#include "user/window_records.h"

namespace plat {
namespace {

using user::Guard;

constexpr UINT kShowOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;

struct ShowState {
    bool exists = false;
    bool visible = false;
    bool minimized = false;
    bool maximized = false;
    bool hasSurface = false;
};

ShowState StateOf(HWND window) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return {};
    }
    return {true, (record->style & WS_VISIBLE) != 0, (record->style & WS_MINIMIZE) != 0,
            (record->style & WS_MAXIMIZE) != 0, record->hasSurface};
}

// Sets and clears state bits and tells the driver how the surface shows now.
void ChangeStateBits(HWND window, DWORD set, DWORD clear) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return;
    }
    record->style = (record->style & ~clear) | set;
    bool tellDriver = record->hasSurface && (record->style & WS_VISIBLE);
    SurfaceShow show = user::SurfaceShowOf(*record);
    lock.unlock();
    if (tellDriver) {
        CurrentDriver().ShowSurface(window, show, false);
    }
}

void Show(HWND window, bool activate) {
    if (!StateOf(window).visible) {
        SendMessageW(window, WM_SHOWWINDOW, TRUE, 0);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     kShowOnly | SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE));
    } else if (activate) {
        SetActiveWindow(window);
    }
}

void Hide(HWND window, LPARAM reason) {
    SendMessageW(window, WM_SHOWWINDOW, FALSE, reason);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, kShowOnly | SWP_HIDEWINDOW | SWP_NOACTIVATE);
}

std::vector<HWND> ShownOwnedWindows(HWND owner, bool hiddenWithOwner) {
    Guard lock(user::WindowSystemLock());
    std::vector<HWND> owned;
    for (user::WindowRecord* record : user::AllWindows()) {
        if (record->IsChild() || record->owner != owner) {
            continue;
        }
        bool visible = record->style & WS_VISIBLE;
        if (hiddenWithOwner ? record->hiddenWithOwner : visible) {
            record->hiddenWithOwner = !hiddenWithOwner;
            owned.push_back(record->handle);
        }
    }
    return owned;
}

void HideOwnedWindows(HWND owner) {
    for (HWND owned : ShownOwnedWindows(owner, false)) {
        Hide(owned, SW_PARENTCLOSING);
    }
}

void ShowOwnedWindowsAgain(HWND owner) {
    for (HWND owned : ShownOwnedWindows(owner, true)) {
        SendMessageW(owned, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
        SetWindowPos(owned, nullptr, 0, 0, 0, 0, kShowOnly | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
}

void SendSizeMessage(HWND window, WPARAM kind) {
    RECT rect{};
    if (kind != SIZE_MINIMIZED) {
        GetClientRect(window, &rect);
    }
    SendMessageW(window, WM_SIZE, kind,
                 MAKELPARAM(static_cast<WORD>(rect.right), static_cast<WORD>(rect.bottom)));
}

void DeactivateMinimized(HWND window) {
    Guard lock(user::WindowSystemLock());
    bool active = user::Input().active == window;
    lock.unlock();
    if (active) {
        SetActiveWindow(nullptr);
    }
}

void Minimize(HWND window) {
    ShowState state = StateOf(window);
    if (state.minimized) {
        Show(window, false);
        return;
    }
    ChangeStateBits(window, WS_MINIMIZE, WS_MAXIMIZE);
    HideOwnedWindows(window);
    Show(window, false);
    SendSizeMessage(window, SIZE_MINIMIZED);
    DeactivateMinimized(window);
}

void Restore(HWND window, bool activate) {
    ShowState state = StateOf(window);
    ChangeStateBits(window, 0, WS_MINIMIZE | WS_MAXIMIZE);
    if (state.maximized) {
        Guard lock(user::WindowSystemLock());
        RECT restored = user::FindWindowRecord(window)->restoredRect;
        lock.unlock();
        SetWindowPos(window, nullptr, restored.left, restored.top, restored.right - restored.left,
                     restored.bottom - restored.top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (state.minimized) {
        SendSizeMessage(window, SIZE_RESTORED);
    }
    if (state.minimized) {
        ShowOwnedWindowsAgain(window);
    }
    Show(window, activate);
}

// The maximised place from WM_GETMINMAXINFO, whose defaults fill the monitor's work area.
RECT MaximizedRect(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(MONITORINFO);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    MINMAXINFO limits{};
    limits.ptMaxSize = {work.right - work.left, work.bottom - work.top};
    limits.ptMaxPosition = {work.left - monitor.rcMonitor.left, work.top - monitor.rcMonitor.top};
    limits.ptMaxTrackSize = limits.ptMaxSize;
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    LONG left = monitor.rcMonitor.left + limits.ptMaxPosition.x;
    LONG top = monitor.rcMonitor.top + limits.ptMaxPosition.y;
    return {left, top, left + limits.ptMaxSize.x, top + limits.ptMaxSize.y};
}

void Maximize(HWND window) {
    ShowState state = StateOf(window);
    if (!state.maximized) {
        Guard lock(user::WindowSystemLock());
        user::WindowRecord* record = user::FindWindowRecord(window);
        record->restoredRect = record->rect;
    }
    ChangeStateBits(window, WS_MAXIMIZE, WS_MINIMIZE);
    if (state.minimized) {
        ShowOwnedWindowsAgain(window);
    }
    RECT place = MaximizedRect(window);
    SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Show(window, true);
}

}  // namespace

BOOL ShowWindow(HWND window, int command) {
    ShowState state = StateOf(window);
    if (!state.exists) {
        return FALSE;
    }
    switch (command) {
        case SW_HIDE:
            if (state.visible) {
                Hide(window, 0);
            }
            break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            Minimize(window);
            break;
        case SW_SHOWMAXIMIZED:
            Maximize(window);
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
        case SW_SHOWDEFAULT:
            Restore(window, true);
            break;
        case SW_SHOWNOACTIVATE:
            Restore(window, false);
            break;
        case SW_SHOW:
            Show(window, true);
            break;
        case SW_SHOWNA:
            Show(window, false);
            break;
        default:
            break;
    }
    return state.visible ? TRUE : FALSE;
}

BOOL AnimateWindow(HWND window, DWORD time, DWORD flags) {
    bool hide = flags & AW_HIDE;
    if (!IsWindow(window) || (IsWindowVisible(window) != FALSE) == !hide) {
        return FALSE;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(time));
    ShowWindow(window, hide ? SW_HIDE : (flags & AW_ACTIVATE) ? SW_SHOW : SW_SHOWNOACTIVATE);
    return TRUE;
}

BOOL IsWindowVisible(HWND window) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    return record && user::IsShowing(*record) ? TRUE : FALSE;
}

BOOL IsIconic(HWND window) {
    return StateOf(window).minimized ? TRUE : FALSE;
}

BOOL IsZoomed(HWND window) {
    return StateOf(window).maximized ? TRUE : FALSE;
}

}  // namespace plat
