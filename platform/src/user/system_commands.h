// The default handling of WM_SYSCOMMAND: minimise, maximise, restore, close, and moving or
// sizing a window with the pointer.
#pragma once

#include "plat/types.h"

namespace plat::user {

LRESULT HandleSystemCommand(HWND window, WPARAM command, LPARAM lParam);

}  // namespace plat::user
