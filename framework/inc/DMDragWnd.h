// The picture that follows the pointer while the user drags an item: a topmost popup window,
// transparent to the mouse, showing a bitmap with per-pixel alpha. At most one exists at a time.
#pragma once

#include "DMCWnd.h"

namespace DM {

class IDMBitmap;

class DMDragWnd : public DMCWnd {
public:
    // Creates the drag image at (0, 0), not shown yet; `hotX`, `hotY` is the bitmap's point that
    // stays under the pointer. False for a missing or empty bitmap, while a drag image exists,
    // or when its window cannot be made.
    static bool DragBegin(IDMBitmap* bitmap, int hotX, int hotY, COLORREF colorKey, BYTE alpha);
    // Shows the drag image, without activating it, with its hot spot at the screen point.
    static void DragMove(int screenX, int screenY);
    static void DragEnd();
    // The drag image's window; null when there is none.
    static HWND DragWindow();

private:
    DMDragWnd(int hotX, int hotY) : m_ptHot{hotX, hotY} {}
    bool Create(IDMBitmap* bitmap, BYTE alpha);

    POINT m_ptHot;
};

}  // namespace DM
