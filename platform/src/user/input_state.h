// The system-wide input state: who holds the capture, the focus and the activation, where the
// pointer is and which window asked to hear when the pointer leaves it.
#pragma once

#include "plat/cursor.h"
#include "plat/types.h"

namespace plat::user {

struct InputState {
    HWND capture = nullptr;
    HWND focus = nullptr;
    HWND active = nullptr;
    POINT cursorPosition{0, 0};
    HWND leaveTracked = nullptr;
    HWND pointerWindow = nullptr;  // the top-level window the pointer was last over
    HWND pressedWindow = nullptr;  // where the last button press went
    HCURSOR cursor = nullptr;
};

// Needs the window-system lock.
InputState& Input();

// Forgets a window that is going away, without telling anyone.
void ForgetInputWindow(HWND window);

}  // namespace plat::user
