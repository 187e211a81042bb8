// The input method context of a window: where an input method shows its composition.
#pragma once

#include "plat/types.h"

namespace plat {

using HIMC = struct HIMC__*;

constexpr DWORD CFS_POINT = 0x0002;
constexpr DWORD CFS_FORCE_POSITION = 0x0020;

struct COMPOSITIONFORM {
    DWORD dwStyle;
    POINT ptCurrentPos;  // client coordinates of the window
    RECT rcArea;
};

HIMC ImmGetContext(HWND window);
BOOL ImmReleaseContext(HWND window, HIMC context);
// CFS_POINT or CFS_FORCE_POSITION: the composition shows at `ptCurrentPos`.
BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form);

}  // namespace plat
