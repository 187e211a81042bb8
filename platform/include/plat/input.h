// Input state: mouse capture, keyboard focus, the active window, key states, mouse-leave
// tracking and the cursor position.
#pragma once

#include "plat/types.h"

namespace plat {

// While a window holds the capture every mouse message goes to it, in its client coordinates.
// The window losing the capture gets WM_CAPTURECHANGED with the new holder.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();

// The window losing the focus gets WM_KILLFOCUS, the one gaining it WM_SETFOCUS; focusing a
// window of an inactive top-level window activates that first. Answers the previous focus.
HWND SetFocus(HWND window);
HWND GetFocus();

// Activates a top-level window: the previous one gets WM_NCACTIVATE and WM_ACTIVATE
// (WA_INACTIVE), the new one is raised and gets WM_NCACTIVATE and WM_ACTIVATE (WA_ACTIVE),
// whose default handling gives it the focus. Answers the previously active window.
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();

// The state of a key or mouse button: the high bit when down, the low bit toggled (for caps
// lock: on). GetKeyState follows the messages the calling thread has taken; GetAsyncKeyState
// follows the input as it arrives.
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);

constexpr DWORD TME_LEAVE = 0x00000002;
constexpr DWORD TME_CANCEL = 0x80000000;

struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};

// TME_LEAVE: posts WM_MOUSELEAVE once when the pointer leaves the window (at once when it is
// not over it now); the request ends with it. TME_LEAVE | TME_CANCEL withdraws the request.
BOOL TrackMouseEvent(TRACKMOUSEEVENT* request);

BOOL GetCursorPos(POINT* point);

}  // namespace plat
