// The input method context of a window: where an input method shows its composition, and the
// text it is composing or has just committed (WM_IME_COMPOSITION says which changed).
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

// WM_IME_COMPOSITION's second parameter, and the index of ImmGetCompositionStringW.
constexpr DWORD GCS_COMPSTR = 0x0008;
constexpr DWORD GCS_COMPATTR = 0x0010;
constexpr DWORD GCS_CURSORPOS = 0x0080;
constexpr DWORD GCS_RESULTSTR = 0x0800;

// The context associated with the window: its own, unless ImmAssociateContext changed it;
// null while the window's input method is detached.
HIMC ImmGetContext(HWND window);
BOOL ImmReleaseContext(HWND window, HIMC context);
// Associates `context` with the window and answers the context it had. Null detaches the
// input method: while the window has the focus, no composition reaches it (keys arrive as
// plain keys and characters) and the driver's input method is reset and left out.
HIMC ImmAssociateContext(HWND window, HIMC context);
// CFS_POINT or CFS_FORCE_POSITION: the composition shows at `ptCurrentPos`.
BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form);
// GCS_COMPSTR: the text being composed; GCS_RESULTSTR: the text just committed; both copied
// into `buffer` without a terminator, answering the bytes copied (with a null buffer or size
// 0, the bytes needed). GCS_CURSORPOS answers the caret's place within the composition.
// Negative for an unknown context or index.
LONG ImmGetCompositionStringW(HIMC context, DWORD index, void* buffer, DWORD bufferBytes);

}  // namespace plat
