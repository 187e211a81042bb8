// Mouse capture.
#include "plat/input.h"
#include "plat/message_queue.h"
#include "plat/window.h"
#include "user/input_state.h"
#include "user/window_records.h"

namespace plat {
namespace {

using user::Guard;

// Hands the capture to `window` (null: nobody); the previous holder hears of it.
HWND ChangeCapture(HWND window) {
    Guard lock(user::WindowSystemLock());
    HWND previous = user::Input().capture;
    user::Input().capture = window;
    HWND grab = user::TopLevelOf(window);
    lock.unlock();
    CurrentDriver().SetPointerGrab(grab);
    if (previous && previous != window) {
        SendMessageW(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    }
    return previous;
}

}  // namespace

HWND SetCapture(HWND window) {
    if (!IsWindow(window)) {
        return nullptr;
    }
    return ChangeCapture(window);
}

BOOL ReleaseCapture() {
    ChangeCapture(nullptr);
    return TRUE;
}

HWND GetCapture() {
    Guard lock(user::WindowSystemLock());
    return user::Input().capture;
}

}  // namespace plat
