// The strings of each window's input-method composition, kept for ImmGetCompositionStringW.
#pragma once

#include "plat/driver.h"
#include "plat/types.h"

namespace plat::user {

// With the window-system lock held, as the message for a composition event is made for
// `window`: a change stores the text being composed, a commit the result, the end forgets both.
void RecordComposition(HWND window, const InputEvent& event);

}  // namespace plat::user
