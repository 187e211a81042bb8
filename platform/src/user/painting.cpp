#include "user/painting.h"

#include <algorithm>

#include "plat/message_queue.h"
#include "plat/paint.h"
#include "plat/window.h"

namespace plat::user {
namespace {

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

RECT Intersection(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

RECT Union(const RECT& a, const RECT& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT ClientArea(const WindowRecord& record) {
    return {0, 0, record.Width(), record.Height()};
}

bool IsPaintable(const WindowRecord& record) {
    WindowRecord* topLevel = FindWindowRecord(TopLevelOf(record.handle));
    return record.invalid && IsShowing(record) && !record.perPixelPicture && topLevel &&
           !(topLevel->style & WS_MINIMIZE);
}

void Validate(WindowRecord& record) {
    record.invalid = false;
    record.eraseRequested = false;
    record.updateRect = {};
}

HDC ContextOf(HWND window) {
    return reinterpret_cast<HDC>(window);
}

// Where the surface of the window's top-level window shows a part of the window.
struct SurfaceTarget {
    HWND surface = nullptr;
    POINT offset{};  // of the window's client area within the surface
    BYTE constantAlpha = 255;
};

std::optional<SurfaceTarget> SurfaceTargetOf(const WindowRecord& record) {
    WindowRecord* topLevel = FindWindowRecord(TopLevelOf(record.handle));
    if (!topLevel || !topLevel->hasSurface || topLevel->perPixelPicture) {
        return std::nullopt;
    }
    POINT origin = ScreenOrigin(record);
    POINT surfaceOrigin = ScreenOrigin(*topLevel);
    return SurfaceTarget{topLevel->handle,
                         {origin.x - surfaceOrigin.x, origin.y - surfaceOrigin.y},
                         topLevel->constantAlpha};
}

}  // namespace

std::optional<MSG> PaintMessage(const ThreadQueue& queue, const MessageFilter& filter) {
    for (WindowRecord* record : AllWindows()) {
        if (record->threadId == queue.threadId && IsPaintable(*record) &&
            filter.Accepts(record->handle, WM_PAINT)) {
            return MSG{record->handle, WM_PAINT, 0, 0, 0, {}};
        }
    }
    return std::nullopt;
}

}  // namespace plat::user

namespace plat {

using user::Guard;

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    RECT client = user::ClientArea(*record);
    RECT area = rect ? user::Intersection(*rect, client) : client;
    if (user::IsEmpty(area) || record->perPixelPicture) {
        return TRUE;
    }
    record->updateRect = record->invalid ? user::Union(record->updateRect, area) : area;
    record->invalid = true;
    record->eraseRequested = record->eraseRequested || erase;
    if (std::shared_ptr<user::ThreadQueue> queue = user::QueueOf(record->threadId)) {
        user::WakeQueue(*queue);
    }
    return TRUE;
}

// The invalid area is one rectangle, so only a rectangle covering it all validates it.
BOOL ValidateRect(HWND window, const RECT* rect) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    if (!rect || user::Contains(*rect, record->updateRect)) {
        user::Validate(*record);
    }
    return TRUE;
}

BOOL GetUpdateRect(HWND window, RECT* rect, BOOL) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    RECT update = record->invalid ? record->updateRect : RECT{};
    if (rect) {
        *rect = update;
    }
    return user::IsEmpty(update) ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND window) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    bool paint = user::IsPaintable(*record);
    lock.unlock();
    if (paint) {
        SendMessageW(window, WM_PAINT, 0, 0);
    }
    return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record || !paint) {
        return nullptr;
    }
    *paint = {};
    paint->hdc = user::ContextOf(window);
    paint->rcPaint = record->invalid ? record->updateRect : RECT{};
    bool erase = record->eraseRequested;
    user::Validate(*record);
    lock.unlock();
    paint->fErase = TRUE;
    if (erase) {
        paint->fErase = SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0)
                            ? FALSE
                            : TRUE;
    }
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT*) {
    return IsWindow(window);
}

HDC GetDC(HWND window) {
    return IsWindow(window) ? user::ContextOf(window) : nullptr;
}

int ReleaseDC(HWND window, HDC context) {
    return context == user::ContextOf(window) ? 1 : 0;
}

HWND WindowFromDC(HDC context) {
    HWND window = reinterpret_cast<HWND>(context);
    return IsWindow(window) ? window : nullptr;
}

BOOL CopyPixelsToWindow(HDC context, POINT destination, const PixelBuffer& picture,
                        const RECT& sourceArea) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(reinterpret_cast<HWND>(context));
    if (!record || picture.Empty()) {
        return FALSE;
    }
    RECT source = user::Intersection(sourceArea, {0, 0, picture.width, picture.height});
    LONG dx = destination.x - sourceArea.left;
    LONG dy = destination.y - sourceArea.top;
    RECT target = user::Intersection(
        {source.left + dx, source.top + dy, source.right + dx, source.bottom + dy},
        user::ClientArea(*record));
    std::optional<user::SurfaceTarget> surface = user::SurfaceTargetOf(*record);
    if (!surface || user::IsEmpty(target)) {
        return surface ? TRUE : FALSE;
    }
    lock.unlock();
    PixelBuffer part = picture.Part(target.left - dx, target.top - dy, target.right - target.left,
                                    target.bottom - target.top);
    RECT onSurface{target.left + surface->offset.x, target.top + surface->offset.y,
                   target.right + surface->offset.x, target.bottom + surface->offset.y};
    CurrentDriver().PresentSurface(surface->surface, onSurface, part, surface->constantAlpha);
    return TRUE;
}

}  // namespace plat
