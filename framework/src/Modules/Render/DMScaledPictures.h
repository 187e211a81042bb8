// Stretched pictures kept across draws. A window's background stretched over the window is
// repainted piece by piece whenever something above it changes, and scaling through cairo's
// filter costs many times what copying does. So the whole stretched destination is drawn once
// into a picture of its own and the pieces are copied from there.
// cairo's sampling of a stretched picture depends on the destination's device position and on
// the extent drawn, so the kept picture is drawn in the canvas's device coordinates over the
// whole destination: copying from it gives exactly the pixels of drawing the destination whole,
// whichever part is repainted.
// The store belongs to the drawing thread and is emptied when it grows past a fixed size.
#pragma once

#include <cairo.h>

#include "DMDef.h"

namespace DM {

class DMDIBHelper;

// Whether `destination` (device coordinates) on a canvas of `canvasSize` is worth keeping:
// inside the canvas, and the kept picture, which reaches from the device origin to the
// destination's far corner, at most twice the destination's size.
bool KeepsScaledPicture(const RECT& destination, SIZE canvasSize);

// `source` of `picture` stretched over `destination` (device coordinates) on a transparent
// surface whose origin is the device origin, with a reference for the caller; nullptr when it
// cannot be made.
cairo_surface_t* ScaledPicture(const DMDIBHelper& picture, const RECT& source,
                               const RECT& destination);

}  // namespace DM
