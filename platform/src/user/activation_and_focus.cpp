// The active top-level window and the keyboard focus.
#include <vector>

#include "plat/input.h"
#include "plat/message_queue.h"
#include "plat/window.h"
#include "user/activation.h"
#include "user/composition_strings.h"
#include "user/input_state.h"
#include "user/window_records.h"

namespace plat {
namespace {

using user::Guard;

bool IsMinimized(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_MINIMIZE) != 0;
}

WPARAM ActivationState(WORD state, HWND window) {
    return MAKEWPARAM(state, IsMinimized(window) ? 1 : 0);
}

// The focus leaves a window that is being deactivated.
void DropFocusWithin(HWND deactivated) {
    Guard lock(user::WindowSystemLock());
    HWND focus = user::Input().focus;
    if (!focus || user::TopLevelOf(focus) != deactivated) {
        return;
    }
    user::Input().focus = nullptr;
    lock.unlock();
    SendMessageW(focus, WM_KILLFOCUS, 0, 0);
}

// Activation coming from or going to another program tells every top-level window of the
// thread whose program gains or loses it.
void SendActivateApp(HWND window, BOOL active) {
    std::vector<HWND> windows;
    {
        Guard lock(user::WindowSystemLock());
        user::WindowRecord* record = user::FindWindowRecord(window);
        for (HWND topLevel : user::TopLevelOrder()) {
            user::WindowRecord* other = user::FindWindowRecord(topLevel);
            if (record && other && other->threadId == record->threadId) {
                windows.push_back(topLevel);
            }
        }
    }
    for (HWND topLevel : windows) {
        if (IsWindow(topLevel)) {
            SendMessageW(topLevel, WM_ACTIVATEAPP, active, 0);
        }
    }
}

}  // namespace

namespace user {

HWND ActivateWindow(HWND window, bool raiseSurface) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(user::TopLevelOf(window));
    if (window && (!record || record->messageOnly)) {
        return nullptr;
    }
    HWND target = record ? record->handle : nullptr;
    HWND previous = user::Input().active;
    if (target == previous) {
        return previous;
    }
    user::Input().active = target;
    bool hasSurface = record && record->hasSurface;
    SurfaceShow show = record ? user::SurfaceShowOf(*record) : SurfaceShow::Hidden;
    if (record) {
        user::BringToFront(*record);
    }
    lock.unlock();
    if (previous && IsWindow(previous)) {
        SendMessageW(previous, WM_NCACTIVATE, FALSE, 0);
        SendMessageW(previous, WM_ACTIVATE, ActivationState(WA_INACTIVE, previous),
                     reinterpret_cast<LPARAM>(target));
        if (!target) {
            SendActivateApp(previous, FALSE);
        }
        DropFocusWithin(previous);
    }
    if (target) {
        if (raiseSurface && hasSurface && show != SurfaceShow::Hidden) {
            CurrentDriver().ShowSurface(target, show, true);
        }
        if (!previous) {
            SendActivateApp(target, TRUE);
        }
        SendMessageW(target, WM_NCACTIVATE, TRUE, 0);
        SendMessageW(target, WM_ACTIVATE, ActivationState(WA_ACTIVE, target),
                     reinterpret_cast<LPARAM>(previous));
    }
    return previous;
}

}  // namespace user

HWND SetActiveWindow(HWND window) {
    return user::ActivateWindow(window, true);
}

HWND GetActiveWindow() {
    Guard lock(user::WindowSystemLock());
    return user::Input().active;
}

BOOL SetForegroundWindow(HWND window) {
    if (!IsWindow(window)) {
        return FALSE;
    }
    SetActiveWindow(window);
    return TRUE;
}

HWND GetForegroundWindow() {
    return GetActiveWindow();
}

HWND SetFocus(HWND window) {
    if (window && !IsWindow(window)) {
        return nullptr;
    }
    HWND original = GetFocus();
    if (window == original) {
        return original;
    }
    HWND topLevel = nullptr;
    {
        Guard lock(user::WindowSystemLock());
        topLevel = user::TopLevelOf(window);
    }
    if (window && GetActiveWindow() != topLevel) {
        SetActiveWindow(topLevel);
    }
    Guard lock(user::WindowSystemLock());
    HWND previous = user::Input().focus;
    if (previous == window) {
        return original;
    }
    user::Input().focus = window;
    lock.unlock();
    user::FollowInputMethodOfFocus();
    if (previous && IsWindow(previous)) {
        SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    }
    if (window) {
        SendMessageW(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return original;
}

HWND GetFocus() {
    Guard lock(user::WindowSystemLock());
    return user::Input().focus;
}

}  // namespace plat
