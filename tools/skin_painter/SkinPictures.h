// The launcher's skin pictures, each drawn into a cairo surface of its documented size.
#pragma once

#include <cairo.h>

namespace skin_painter {

// 675 x 437: the window body with a soft translucent edge, the news panel and the control bar.
cairo_surface_t* PaintBackground();
// Three states side by side (normal, hover, pressed): 72 x 24.
cairo_surface_t* PaintCloseButton();
cairo_surface_t* PaintMinimiseButton();
// Three states side by side: 348 x 37.
cairo_surface_t* PaintDownloadButton();
// 404 x 12: the filled part of the progress bar.
cairo_surface_t* PaintProgressFill();
// 390 x 223: one of five splash pictures.
cairo_surface_t* PaintSplash(int index);

}  // namespace skin_painter
