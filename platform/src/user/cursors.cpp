// System cursors, cursors made from pictures, and the cursor shown.
#include <algorithm>
#include <set>
#include <vector>

#include "plat/cursor.h"
#include "user/input_state.h"
#include "user/window_records.h"

namespace plat {

// A cursor: a system id, or a copied picture with its hot spot.
struct HICON__ {
    std::uintptr_t systemId;
    std::vector<BYTE> pixels;
    LONG width;
    LONG height;
    POINT hotSpot;
};
namespace {

using user::Guard;

constexpr std::uintptr_t kSystemIds[] = {
    IDC_ARROW,    IDC_IBEAM,  IDC_WAIT,   IDC_CROSS,   IDC_UPARROW, IDC_SIZE, IDC_SIZENWSE,
    IDC_SIZENESW, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_NO,      IDC_HAND, IDC_HELP,
};

// Made once and shared, as Windows shares its system cursors.
HCURSOR SystemCursor(std::uintptr_t id) {
    static std::vector<HICON__*>* cursors = [] {
        auto* made = new std::vector<HICON__*>;
        for (std::uintptr_t systemId : kSystemIds) {
            made->push_back(new HICON__{systemId, {}, 0, 0, {0, 0}});
        }
        return made;
    }();
    auto found = std::find_if(cursors->begin(), cursors->end(),
                              [&](HICON__* cursor) { return cursor->systemId == id; });
    return found == cursors->end() ? nullptr : *found;
}

std::set<HCURSOR>& PictureCursors() {
    static auto* cursors = new std::set<HCURSOR>;
    return *cursors;
}

bool IsKnown(HCURSOR cursor) {
    return cursor && (PictureCursors().count(cursor) || SystemCursor(cursor->systemId) == cursor);
}

CursorShape ShapeOf(HCURSOR cursor) {
    return {cursor->systemId,
            {cursor->pixels.data(), cursor->width, cursor->height, cursor->width * 4},
            cursor->hotSpot};
}

}  // namespace

HCURSOR LoadCursorW(HINSTANCE instance, const wchar_t* name) {
    auto id = reinterpret_cast<std::uintptr_t>(name);
    if (instance || id >= 0x10000) {
        return nullptr;
    }
    return SystemCursor(id);
}

HCURSOR CreateCursorFromPicture(const PixelBuffer& picture, POINT hotSpot) {
    if (picture.Empty()) {
        return nullptr;
    }
    auto* cursor = new HICON__{0, {}, picture.width, picture.height, hotSpot};
    for (LONG y = 0; y < picture.height; ++y) {
        const BYTE* row = picture.Row(y);
        cursor->pixels.insert(cursor->pixels.end(), row, row + picture.width * 4);
    }
    Guard lock(user::WindowSystemLock());
    PictureCursors().insert(cursor);
    return cursor;
}

BOOL DestroyCursor(HCURSOR cursor) {
    Guard lock(user::WindowSystemLock());
    if (!PictureCursors().erase(cursor)) {
        return IsKnown(cursor) ? TRUE : FALSE;  // a shared system cursor stays
    }
    if (user::Input().cursor == cursor) {
        user::Input().cursor = nullptr;
    }
    delete cursor;
    return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
    Guard lock(user::WindowSystemLock());
    if (cursor && !IsKnown(cursor)) {
        return user::Input().cursor;
    }
    HCURSOR previous = user::Input().cursor;
    user::Input().cursor = cursor;
    HWND window = user::Input().capture ? user::TopLevelOf(user::Input().capture)
                                        : user::Input().pointerWindow;
    if (cursor == previous || !window) {
        return previous;
    }
    CursorShape shape = cursor ? ShapeOf(cursor) : CursorShape{};
    lock.unlock();
    // The driver copies what it keeps; a picture cursor lives until DestroyCursor.
    CurrentDriver().SetCursorShape(window, cursor ? &shape : nullptr);
    return previous;
}

HCURSOR GetCursor() {
    Guard lock(user::WindowSystemLock());
    return user::Input().cursor;
}

std::uintptr_t SystemCursorId(HCURSOR cursor) {
    Guard lock(user::WindowSystemLock());
    return IsKnown(cursor) ? cursor->systemId : 0;
}

}  // namespace plat
