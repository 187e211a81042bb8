// Layered windows: a per-pixel picture given whole, or the painted picture with a constant
// alpha.
#include <algorithm>

#include "plat/layered.h"
#include "plat/paint.h"
#include "plat/window.h"
#include "user/window_records.h"

namespace plat {
namespace {

using user::Guard;

bool IsLayeredTopLevel(const user::WindowRecord* record) {
    return record && (record->exStyle & WS_EX_LAYERED) && !record->IsChild() &&
           !record->messageOnly;
}

BOOL MoveAndSize(HWND window, const POINT* position, const SIZE* size) {
    if (!position && !size) {
        return TRUE;
    }
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
    flags |= position ? 0 : SWP_NOMOVE;
    flags |= size ? 0 : SWP_NOSIZE;
    return SetWindowPos(window, nullptr, position ? position->x : 0, position ? position->y : 0,
                        size ? size->cx : 0, size ? size->cy : 0, flags);
}

BYTE ConstantAlphaOf(const BLENDFUNCTION* blend, DWORD flags) {
    if ((flags & ULW_OPAQUE) || !blend) {
        return 255;
    }
    return blend->SourceConstantAlpha;
}

// Keeps the alpha of the part of the picture that changed; a new window size starts opaque.
void KeepPictureAlpha(user::AlphaMask& mask, LONG width, LONG height, const RECT& area,
                      const PixelBuffer& part) {
    if (mask.width != width || mask.height != height) {
        mask = {width, height, std::vector<BYTE>(static_cast<std::size_t>(width) * height, 255)};
    }
    for (LONG y = area.top; y < area.bottom; ++y) {
        const BYTE* source = part.Row(y - area.top);
        BYTE* target = mask.alpha.data() + static_cast<std::size_t>(y) * width;
        for (LONG x = area.left; x < area.right; ++x) {
            target[x] = source[(x - area.left) * 4 + 3];
        }
    }
}

}  // namespace

BOOL UpdateLayeredWindow(HWND window, const POINT* position, const SIZE* size,
                         const PixelBuffer& picture, const POINT* sourceOrigin,
                         const BLENDFUNCTION* blend, DWORD flags, const RECT* dirty) {
    {
        Guard lock(user::WindowSystemLock());
        if (!IsLayeredTopLevel(user::FindWindowRecord(window))) {
            return FALSE;
        }
    }
    if (!MoveAndSize(window, position, size)) {
        return FALSE;
    }
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    POINT origin = sourceOrigin ? *sourceOrigin : POINT{0, 0};
    LONG width = record->Width();
    LONG height = record->Height();
    bool covers = !picture.Empty() && origin.x >= 0 && origin.y >= 0 &&
                  origin.x + width <= picture.width && origin.y + height <= picture.height;
    if (!covers) {
        return FALSE;
    }
    RECT area = dirty ? *dirty : RECT{0, 0, width, height};
    area = {std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0), std::min(area.right, width),
            std::min(area.bottom, height)};
    bool empty = area.right <= area.left || area.bottom <= area.top;
    PixelBuffer part = empty ? PixelBuffer{}
                             : picture.Part(origin.x + area.left, origin.y + area.top,
                                            area.right - area.left, area.bottom - area.top);
    record->perPixelPicture = true;
    record->invalid = false;
    record->constantAlpha = ConstantAlphaOf(blend, flags);
    KeepPictureAlpha(record->pictureAlpha, width, height, empty ? RECT{} : area, part);
    BYTE alpha = record->constantAlpha;
    lock.unlock();
    CurrentDriver().PresentSurface(window, empty ? RECT{} : area, part, alpha);
    return TRUE;
}

BOOL SetLayeredWindowAttributes(HWND window, COLORREF, BYTE alpha, DWORD flags) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!IsLayeredTopLevel(record)) {
        return FALSE;
    }
    record->perPixelPicture = false;
    record->pictureAlpha = {};
    record->constantAlpha = (flags & LWA_ALPHA) ? alpha : 255;
    BYTE shown = record->constantAlpha;
    lock.unlock();
    CurrentDriver().PresentSurface(window, {}, {}, shown);
    InvalidateRect(window, nullptr, FALSE);
    return TRUE;
}

}  // namespace plat
