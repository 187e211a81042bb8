// What a window is told when its position or size changes.
#pragma once

#include "plat/types.h"

namespace plat::user {

// WM_SIZE and WM_MOVE for the window's current position and size, leaving out what the
// SWP_NOMOVE and SWP_NOSIZE bits of `unchanged` say did not change.
void SendMoveAndSize(HWND window, UINT unchanged);

// SetWindowPos; without `tellSurface` the surface is where the window goes already, placed
// there by the window manager.
BOOL PlaceWindow(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags,
                 bool tellSurface);

}  // namespace plat::user
