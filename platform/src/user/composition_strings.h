// The input-method context of each window: its association, and the strings of its
// composition kept for ImmGetCompositionStringW.
#pragma once

#include "plat/driver.h"
#include "plat/input_method.h"
#include "plat/types.h"

namespace plat::user {

// With the window-system lock held, as the message for a composition event is made for
// `window`: a change stores the text being composed, a commit the result, the end forgets both.
void RecordComposition(HWND window, const InputEvent& event);

// With the lock held: the input-method context associated with the window, null when detached.
HIMC ContextOf(HWND window);
// Without the lock: tells the driver whether the surface of the focus window takes the input
// method, as the focus window's context says.
void FollowInputMethodOfFocus();
// With the lock held, as the window goes: forgets its association and strings.
void ForgetInputMethod(HWND window);

}  // namespace plat::user
