// Creation and destruction of windows.
#include <algorithm>

#include "plat/driver.h"
#include "plat/input.h"
#include "plat/message_queue.h"
#include "plat/window.h"
#include "user/composition_strings.h"
#include "user/input_state.h"
#include "user/thread_queues.h"
#include "user/timers.h"
#include "user/window_classes.h"
#include "user/window_placement.h"
#include "user/window_records.h"

namespace plat {
namespace {

using user::Guard;

constexpr DWORD kStateStyles = WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE;

struct CreationRequest {
    DWORD exStyle;
    DWORD style;
    int x, y, width, height;
    HWND parent;
    HMENU menu;
    HINSTANCE instance;
};

RECT InitialRect(const CreationRequest& request) {
    int x = request.x == CW_USEDEFAULT ? 0 : request.x;
    int y = request.x == CW_USEDEFAULT ? 0 : request.y;
    int width = request.width == CW_USEDEFAULT ? 0 : std::max(request.width, 0);
    int height = request.width == CW_USEDEFAULT ? 0 : std::max(request.height, 0);
    return {x, y, x + width, y + height};
}

// Makes the record of a new window; null when the class or the parent is not usable.
user::WindowRecord* AddRecord(std::shared_ptr<user::WindowClass> windowClass,
                              const CreationRequest& request) {
    bool messageOnly = request.parent == HWND_MESSAGE;
    user::WindowRecord* parent = messageOnly ? nullptr : user::FindWindowRecord(request.parent);
    bool child = (request.style & WS_CHILD) && !messageOnly;
    if (!windowClass || (request.parent && !messageOnly && !parent) || (child && !parent)) {
        return nullptr;
    }
    auto record = std::make_unique<user::WindowRecord>();
    record->handle = user::NewWindowHandle();
    record->windowClass = windowClass;
    record->procedure = windowClass->procedure;
    record->style = request.style & ~kStateStyles;
    record->exStyle = request.exStyle;
    record->instance = request.instance;
    record->id = child ? reinterpret_cast<LONG_PTR>(request.menu) : 0;
    record->parent = child ? request.parent : nullptr;
    record->owner = !child && parent ? user::TopLevelOf(request.parent) : nullptr;
    record->messageOnly = messageOnly;
    record->rect = InitialRect(request);
    record->threadId = user::CurrentQueue().threadId;
    record->hasSurface = !child && !messageOnly;
    ++windowClass->windowCount;
    return &user::AddWindowRecord(std::move(record));
}

SurfaceDescription DescribeSurface(const user::WindowRecord& record, const wchar_t* title) {
    return {record.rect, record.style, record.exStyle, record.owner, title ? title : L""};
}

int InitialShowCommand(DWORD style) {
    if (style & WS_MINIMIZE) {
        return SW_SHOWMINIMIZED;
    }
    return (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW;
}

std::vector<HWND> OwnedWindows(HWND owner) {
    std::vector<HWND> owned;
    for (user::WindowRecord* record : user::AllWindows()) {
        if (!record->IsChild() && record->owner == owner) {
            owned.push_back(record->handle);
        }
    }
    return owned;
}

std::vector<HWND> ChildrenOf(HWND window) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    return record ? record->children : std::vector<HWND>{};
}

bool HoldsCapture(HWND window) {
    Guard lock(user::WindowSystemLock());
    HWND capture = user::Input().capture;
    for (user::WindowRecord* record = user::FindWindowRecord(capture); record;
         record = record->IsChild() ? user::FindWindowRecord(record->parent) : nullptr) {
        if (record->handle == window) {
            return true;
        }
    }
    return false;
}

void SendDestroy(HWND window) {
    SendMessageW(window, WM_DESTROY, 0, 0);
    for (HWND child : ChildrenOf(window)) {
        SendDestroy(child);
    }
}

void Forget(HWND window) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return;
    }
    bool hasSurface = record->hasSurface;
    --record->windowClass->windowCount;
    user::RemoveWindowTimers(window);
    user::ForgetInputWindow(window);
    user::ForgetInputMethod(window);
    user::RemoveWindowRecord(window);
    lock.unlock();
    if (hasSurface) {
        CurrentDriver().DestroySurface(window);
    }
}

void SendFinalDestroy(HWND window) {
    for (HWND child : ChildrenOf(window)) {
        SendFinalDestroy(child);
    }
    SendMessageW(window, WM_NCDESTROY, 0, 0);
    Forget(window);
}

}  // namespace

HWND CreateWindowExW(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                     DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu,
                     HINSTANCE instance, void* parameter) {
    CreationRequest request{exStyle, style, x, y, width, height, parent, menu, instance};
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = AddRecord(user::FindWindowClass(className), request);
    if (!record) {
        return nullptr;
    }
    HWND window = record->handle;
    RECT rect = record->rect;
    bool hasSurface = record->hasSurface;
    SurfaceDescription surface = DescribeSurface(*record, windowName);
    lock.unlock();
    if (hasSurface) {
        CurrentDriver().CreateSurface(window, surface);
    }
    CREATESTRUCTW creation{parameter,
                           instance,
                           menu,
                           parent,
                           rect.bottom - rect.top,
                           rect.right - rect.left,
                           rect.top,
                           rect.left,
                           static_cast<LONG>(style),
                           windowName,
                           className,
                           exStyle};
    if (!SendMessageW(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&creation))) {
        SendFinalDestroy(window);
        return nullptr;
    }
    SendMessageW(window, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect));
    if (SendMessageW(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&creation)) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    user::SendMoveAndSize(window, 0);
    if (style & WS_VISIBLE) {
        ShowWindow(window, InitialShowCommand(style));
    }
    return window;
}

BOOL DestroyWindow(HWND window) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record || record->destroying || record->threadId != GetCurrentThreadId()) {
        return FALSE;
    }
    record->destroying = true;
    std::vector<HWND> owned = OwnedWindows(window);
    lock.unlock();
    for (HWND ownedWindow : owned) {
        DestroyWindow(ownedWindow);
    }
    if (IsWindowVisible(window)) {
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (HoldsCapture(window)) {
        ReleaseCapture();
    }
    SendDestroy(window);
    SendFinalDestroy(window);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    Guard lock(user::WindowSystemLock());
    return user::FindWindowRecord(window) ? TRUE : FALSE;
}

}  // namespace plat
