// Invalid areas and painting. A window's invalid area is kept as one bounding rectangle; the
// queue makes WM_PAINT for it until it is validated (BeginPaint validates). A window showing
// a per-pixel layered picture is never invalid.
#pragma once

#include "plat/pixels.h"
#include "plat/types.h"

namespace plat {

// A drawing context of a window: pixels copied into it appear on the window.
using HDC = struct HDC__*;

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;  // TRUE when WM_ERASEBKGND did not erase the background
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

// A null rectangle means the whole client area.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
// The bounding rectangle of the invalid area (empty when valid); answers whether it is not
// empty.
BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase);
// Sends WM_PAINT at once when the window is visible and invalid.
BOOL UpdateWindow(HWND window);

// Sends WM_ERASEBKGND when the invalidation asked for it, fills the paint record with the
// invalid rectangle and validates the window.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// A drawing context for the whole client area, outside painting.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC context);
HWND WindowFromDC(HDC context);

// Copies the part `sourceArea` of `picture` to `destination` (client coordinates) of the
// context's window, so that it appears on the window's surface.
BOOL CopyPixelsToWindow(HDC context, POINT destination, const PixelBuffer& picture,
                        const RECT& sourceArea);

}  // namespace plat
