// Position, size and z-order of windows, and coordinate conversion.
#include "user/window_placement.h"

#include <algorithm>

#include "plat/driver.h"
#include "plat/input.h"
#include "plat/message_queue.h"
#include "plat/paint.h"
#include "plat/window.h"
#include "user/input_state.h"
#include "user/window_records.h"

namespace plat {
namespace {

using user::Guard;

struct PlacementChange {
    bool moved = false;
    bool sized = false;
    bool shown = false;
    bool hidden = false;
    bool hasSurface = false;
    RECT bounds{};
    SurfaceShow show = SurfaceShow::Normal;
};

PlacementChange ApplyPlacement(user::WindowRecord& record, WINDOWPOS& position) {
    PlacementChange change;
    RECT wanted{position.x, position.y, position.x + std::max(position.cx, 0),
                position.y + std::max(position.cy, 0)};
    change.moved = wanted.left != record.rect.left || wanted.top != record.rect.top;
    change.sized = wanted.right - wanted.left != record.Width() ||
                   wanted.bottom - wanted.top != record.Height();
    record.rect = wanted;
    if (!(position.flags & SWP_NOZORDER) && !record.messageOnly) {
        user::PlaceInZOrder(record, position.hwndInsertAfter);
    }
    if ((position.flags & SWP_SHOWWINDOW) && !(record.style & WS_VISIBLE)) {
        record.style |= WS_VISIBLE;
        change.shown = true;
    }
    if ((position.flags & SWP_HIDEWINDOW) && (record.style & WS_VISIBLE)) {
        record.style &= ~WS_VISIBLE;
        change.hidden = true;
    }
    position.flags |= (change.moved ? 0 : SWP_NOMOVE) | (change.sized ? 0 : SWP_NOSIZE);
    change.hasSurface = record.hasSurface;
    change.bounds = record.rect;
    change.show = user::SurfaceShowOf(record);
    return change;
}

void ShowChangeOnSurface(HWND window, const PlacementChange& change) {
    if (!change.hasSurface) {
        return;
    }
    Driver& driver = CurrentDriver();
    if (change.moved) {
        driver.MoveSurface(window, {change.bounds.left, change.bounds.top});
    }
    if (change.sized) {
        driver.ResizeSurface(window, {change.bounds.right - change.bounds.left,
                                      change.bounds.bottom - change.bounds.top});
    }
    if (change.shown || change.hidden) {
        driver.ShowSurface(window, change.shown ? change.show : SurfaceShow::Hidden, false);
    }
}

// A hidden active window hands the activation to its owner, or to nobody.
void PassOnActivation(HWND window) {
    Guard lock(user::WindowSystemLock());
    if (user::Input().active != window) {
        return;
    }
    user::WindowRecord* record = user::FindWindowRecord(window);
    user::WindowRecord* owner = record ? user::FindWindowRecord(record->owner) : nullptr;
    HWND next = owner && user::IsShowing(*owner) ? owner->handle : nullptr;
    lock.unlock();
    SetActiveWindow(next);
}

bool ActivatesOnPlacement(HWND window, UINT flags) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    return record && !(flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && !record->IsChild() &&
           !record->messageOnly && !(record->exStyle & WS_EX_NOACTIVATE) &&
           user::IsShowing(*record);
}

WINDOWPOS RequestedPosition(const user::WindowRecord& record, HWND insertAfter, int x, int y,
                            int width, int height, UINT flags) {
    WINDOWPOS position{record.handle, insertAfter, x, y, width, height, flags};
    if (flags & SWP_NOMOVE) {
        position.x = record.rect.left;
        position.y = record.rect.top;
    }
    if (flags & SWP_NOSIZE) {
        position.cx = record.Width();
        position.cy = record.Height();
    }
    return position;
}

}  // namespace

namespace user {

BOOL PlaceWindow(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags,
                 bool tellSurface) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    WINDOWPOS position = RequestedPosition(*record, insertAfter, x, y, width, height, flags);
    lock.unlock();
    if (!(flags & SWP_NOSENDCHANGING)) {
        SendMessageW(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
    }
    lock.lock();
    record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    PlacementChange change = ApplyPlacement(*record, position);
    lock.unlock();
    if (tellSurface) {
        ShowChangeOnSurface(window, change);
    }
    if ((change.sized && !(flags & SWP_NOREDRAW)) || change.shown) {
        InvalidateRect(window, nullptr, TRUE);
    }
    if (change.hidden) {
        PassOnActivation(window);
    }
    SendMessageW(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    if (ActivatesOnPlacement(window, flags)) {
        SetActiveWindow(window);
    }
    return TRUE;
}

}  // namespace user

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    return user::PlaceWindow(window, insertAfter, x, y, width, height, flags, true);
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(window, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record || !rect) {
        return FALSE;
    }
    POINT origin = user::ScreenOrigin(*record);
    *rect = {origin.x, origin.y, origin.x + record->Width(), origin.y + record->Height()};
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record || !rect) {
        return FALSE;
    }
    *rect = {0, 0, record->Width(), record->Height()};
    return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record || !point) {
        return FALSE;
    }
    POINT origin = user::ScreenOrigin(*record);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record || !point) {
        return FALSE;
    }
    POINT origin = user::ScreenOrigin(*record);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

}  // namespace plat

namespace plat::user {

void SendMoveAndSize(HWND window, UINT unchanged) {
    Guard lock(WindowSystemLock());
    WindowRecord* record = FindWindowRecord(window);
    if (!record) {
        return;
    }
    LPARAM origin =
        MAKELPARAM(static_cast<WORD>(record->rect.left), static_cast<WORD>(record->rect.top));
    LPARAM size =
        MAKELPARAM(static_cast<WORD>(record->Width()), static_cast<WORD>(record->Height()));
    WPARAM kind = (record->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
    lock.unlock();
    if (!(unchanged & SWP_NOSIZE)) {
        SendMessageW(window, WM_SIZE, kind, size);
    }
    if (!(unchanged & SWP_NOMOVE)) {
        SendMessageW(window, WM_MOVE, 0, origin);
    }
}

}  // namespace plat::user
