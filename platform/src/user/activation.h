// Activation as the window system and the window manager change it.
#pragma once

#include "plat/types.h"

namespace plat::user {

// Makes the top-level window of `window` the active one (null: none) with Windows' messages;
// `raiseSurface` also brings its surface to the front of the desktop, which a change the
// window manager made has done already. Answers the window active before.
HWND ActivateWindow(HWND window, bool raiseSurface);

}  // namespace plat::user
