// Layered windows: a window with WS_EX_LAYERED shows either its painted picture with a
// constant alpha, or a per-pixel-alpha picture given to it whole.
#pragma once

#include "plat/pixels.h"
#include "plat/types.h"

namespace plat {

constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;

struct BLENDFUNCTION {
    BYTE BlendOp;
    BYTE BlendFlags;
    BYTE SourceConstantAlpha;
    BYTE AlphaFormat;
};

constexpr DWORD ULW_COLORKEY = 0x1;
constexpr DWORD ULW_ALPHA = 0x2;
constexpr DWORD ULW_OPAQUE = 0x4;

constexpr DWORD LWA_COLORKEY = 0x1;
constexpr DWORD LWA_ALPHA = 0x2;

// The window's picture becomes `picture` (premultiplied BGRA), shown with per-pixel alpha and
// `blend`'s constant alpha. `position` and `size` (null: unchanged) move and size the window
// first. `sourceOrigin` (null: 0, 0) is the picture's point shown at the window's top-left
// corner; `dirty` (null: all) is the part of the window that changed, in window coordinates.
// FALSE when the window is not layered or the picture does not cover the window.
BOOL UpdateLayeredWindow(HWND window, const POINT* position, const SIZE* size,
                         const PixelBuffer& picture, const POINT* sourceOrigin,
                         const BLENDFUNCTION* blend, DWORD flags, const RECT* dirty);

// A layered window shows its painted picture with the constant alpha `alpha` (LWA_ALPHA);
// colour keys are not supported. Ends a per-pixel picture: the window is painted again.
BOOL SetLayeredWindowAttributes(HWND window, COLORREF colorKey, BYTE alpha, DWORD flags);

}  // namespace plat
