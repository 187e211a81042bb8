// Window attributes: the values behind GetWindowLongPtr, owner and parent, enabling and text.
#include <unistd.h>

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

void ChangeExtendedStyle(user::WindowRecord& record, DWORD exStyle, bool& layeredEnded) {
    layeredEnded = (record.exStyle & WS_EX_LAYERED) && !(exStyle & WS_EX_LAYERED);
    record.exStyle = exStyle;
    if (layeredEnded) {
        record.perPixelPicture = false;
        record.constantAlpha = 255;
    }
}

// A window that stops being layered shows its painted picture, fully opaque.
void ShowPaintedPicture(HWND window, bool hasSurface) {
    if (hasSurface) {
        CurrentDriver().PresentSurface(window, {}, {}, 255);
    }
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return 0;
    }
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(record->procedure);
        case GWL_STYLE:
            return static_cast<LONG>(record->style);
        case GWL_EXSTYLE:
            return static_cast<LONG>(record->exStyle);
        case GWLP_USERDATA:
            return record->userData;
        case GWLP_ID:
            return record->id;
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(record->instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(record->IsChild() ? record->parent : record->owner);
        default:
            return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return 0;
    }
    LONG_PTR previous = 0;
    bool layeredEnded = false;
    bool visibilityChanged = false;
    switch (index) {
        case GWLP_WNDPROC:
            previous = reinterpret_cast<LONG_PTR>(record->procedure);
            record->procedure = reinterpret_cast<WNDPROC>(value);
            break;
        case GWL_STYLE:
            previous = static_cast<LONG>(record->style);
            visibilityChanged = ((record->style ^ static_cast<DWORD>(value)) & WS_VISIBLE) != 0;
            record->style = static_cast<DWORD>(value);
            break;
        case GWL_EXSTYLE:
            previous = static_cast<LONG>(record->exStyle);
            ChangeExtendedStyle(*record, static_cast<DWORD>(value), layeredEnded);
            break;
        case GWLP_USERDATA:
            previous = record->userData;
            record->userData = value;
            break;
        case GWLP_ID:
            previous = record->id;
            record->id = value;
            break;
        case GWLP_HINSTANCE:
            previous = reinterpret_cast<LONG_PTR>(record->instance);
            record->instance = reinterpret_cast<HINSTANCE>(value);
            break;
        case GWLP_HWNDPARENT:
            if (record->IsChild()) {
                return 0;
            }
            previous = reinterpret_cast<LONG_PTR>(record->owner);
            record->owner = user::TopLevelOf(reinterpret_cast<HWND>(value));
            break;
        default:
            return 0;
    }
    bool hasSurface = record->hasSurface;
    HWND owner = record->owner;
    SurfaceShow show = user::SurfaceShowOf(*record);
    lock.unlock();
    if (layeredEnded) {
        ShowPaintedPicture(window, hasSurface);
    }
    if (visibilityChanged && hasSurface) {
        CurrentDriver().ShowSurface(window, show, false);
    }
    if (index == GWLP_HWNDPARENT) {
        CurrentDriver().SetSurfaceOwner(window, owner);
    }
    return previous;
}

HWND GetParent(HWND window) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return nullptr;
    }
    return record->IsChild() ? record->parent : record->owner;
}

HWND GetWindow(HWND window, UINT relation) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record || relation != GW_OWNER || record->IsChild()) {
        return nullptr;
    }
    return record->owner;
}

HWND GetDlgItem(HWND parent, int id) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(parent);
    if (!record) {
        return nullptr;
    }
    for (HWND child : record->children) {
        user::WindowRecord* found = user::FindWindowRecord(child);
        if (found && found->id == id) {
            return child;
        }
    }
    return nullptr;
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return 0;
    }
    if (processId) {
        *processId = static_cast<DWORD>(getpid());
    }
    return record->threadId;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    bool wasDisabled = record->style & WS_DISABLED;
    if (wasDisabled == !enable) {
        return wasDisabled ? TRUE : FALSE;
    }
    record->style = enable ? (record->style & ~WS_DISABLED) : (record->style | WS_DISABLED);
    bool hadFocus = user::Input().focus == window;
    lock.unlock();
    if (!enable && hadFocus) {
        SetFocus(nullptr);
    }
    SendMessageW(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    return record && !(record->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL SetWindowTextW(HWND window, const wchar_t* text) {
    if (!IsWindow(window)) {
        return FALSE;
    }
    return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND window, wchar_t* buffer, int size) {
    if (!buffer || size <= 0) {
        return 0;
    }
    buffer[0] = L'\0';
    return static_cast<int>(SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND window) {
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

}  // namespace plat
