// What the window manager did to a surface (activation, moves, minimise and restore, close
// requests) becoming the window system's state and the messages Windows would send.
#include "user/surface_events.h"

#include "plat/input.h"
#include "plat/message_queue.h"
#include "plat/show_commands.h"
#include "plat/window.h"
#include "user/activation.h"
#include "user/input_state.h"
#include "user/window_placement.h"

namespace plat::user {
namespace {

using Kind = SurfaceEvent::Kind;

// The window or a window it owns, directly or through others, is active: the window manager
// sees only the owner, which keeps the desktop's focus for its popups.
bool ActiveWithin(HWND window) {
    Guard lock(WindowSystemLock());
    for (WindowRecord* record = FindWindowRecord(Input().active); record;
         record = FindWindowRecord(record->owner)) {
        if (record->handle == window) {
            return true;
        }
    }
    return false;
}

void Activated(HWND window) {
    bool declines = GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_NOACTIVATE;
    if (!declines && !ActiveWithin(window)) {
        ActivateWindow(window, false);
    }
}

void Deactivated() {
    if (GetActiveWindow()) {
        ActivateWindow(nullptr, false);
    }
}

void Placed(HWND window, const RECT& bounds) {
    RECT now{};
    GetWindowRect(window, &now);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    flags |= bounds.left == now.left && bounds.top == now.top ? SWP_NOMOVE : 0;
    flags |= bounds.right - bounds.left == now.right - now.left &&
                     bounds.bottom - bounds.top == now.bottom - now.top
                 ? SWP_NOSIZE
                 : 0;
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        PlaceWindow(window, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                    bounds.bottom - bounds.top, flags, false);
    }
}

void Follow(const SurfaceEvent& event) {
    switch (event.kind) {
        case Kind::Activated:
            Activated(event.window);
            break;
        case Kind::Deactivated:
            Deactivated();
            break;
        case Kind::Placed:
            Placed(event.window, event.bounds);
            break;
        case Kind::Minimized:
            if (!IsIconic(event.window)) {
                ShowWindow(event.window, SW_MINIMIZE);
            }
            break;
        case Kind::Restored:
            if (IsIconic(event.window) && IsWindowVisible(event.window)) {
                ShowWindow(event.window, SW_RESTORE);
            }
            break;
        case Kind::CloseRequested:
            SendMessageW(event.window, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
    }
}

// The thread that follows an event: the window's, or for a deactivation the active window's.
std::shared_ptr<ThreadQueue> QueueFollowing(const SurfaceEvent& event) {
    HWND window = event.kind == Kind::Deactivated ? Input().active : event.window;
    WindowRecord* record = FindWindowRecord(window);
    return record ? QueueOf(record->threadId) : nullptr;
}

}  // namespace

void FollowSurfaceEvents(Guard& lock, ThreadQueue& queue) {
    while (!queue.surfaceEvents.empty()) {
        SurfaceEvent event = queue.surfaceEvents.front();
        queue.surfaceEvents.pop_front();
        lock.unlock();
        if (event.kind == Kind::Deactivated || IsWindow(event.window)) {
            Follow(event);
        }
        lock.lock();
    }
}

}  // namespace plat::user

namespace plat {

void DeliverSurfaceEvent(const SurfaceEvent& event) {
    user::Guard lock(user::WindowSystemLock());
    if (std::shared_ptr<user::ThreadQueue> queue = user::QueueFollowing(event)) {
        queue->surfaceEvents.push_back(event);
        user::WakeQueue(*queue);
    }
}

}  // namespace plat
