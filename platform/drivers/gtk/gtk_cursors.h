// GDK cursors for the window system's cursor shapes.
#pragma once

#include "drivers/gtk/gtk_headers.h"

#include "plat/driver.h"

namespace plat::gtk {

// A new cursor (the caller owns the reference): the theme's cursor for a system id, one made
// from the picture, or a blank cursor for no shape.
GdkCursor* MakeCursor(GdkDisplay* display, const CursorShape* shape);

}  // namespace plat::gtk
