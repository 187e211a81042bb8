// The default handling of window messages.
#include <algorithm>
#include <cwchar>

#include "plat/input.h"
#include "plat/input_method.h"
#include "plat/message_queue.h"
#include "plat/paint.h"
#include "plat/window.h"
#include "user/system_commands.h"
#include "user/window_placement.h"
#include "user/window_records.h"

namespace plat {
namespace {

using user::Guard;

LRESULT StoreText(HWND window, const wchar_t* text) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    record->text = text ? text : L"";
    bool hasSurface = record->hasSurface;
    std::wstring title = record->text;
    lock.unlock();
    if (hasSurface) {
        CurrentDriver().SetSurfaceTitle(window, title);
    }
    return TRUE;
}

std::wstring TextOf(HWND window) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    return record ? record->text : std::wstring();
}

LRESULT CopyText(HWND window, WPARAM size, wchar_t* buffer) {
    if (!buffer || size == 0) {
        return 0;
    }
    std::wstring text = TextOf(window);
    std::size_t copied = std::min<std::size_t>(text.size(), size - 1);
    std::wmemcpy(buffer, text.data(), copied);
    buffer[copied] = L'\0';
    return static_cast<LRESULT>(copied);
}

LRESULT HitTest(HWND window, LPARAM screenPoint) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) {
        return HTNOWHERE;
    }
    LONG x = GET_X_LPARAM(screenPoint);
    LONG y = GET_Y_LPARAM(screenPoint);
    bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
    return inside ? HTCLIENT : HTNOWHERE;
}

std::uintptr_t CursorForHitTest(LRESULT hit) {
    switch (hit) {
        case HTLEFT:
        case HTRIGHT:
            return IDC_SIZEWE;
        case HTTOP:
        case HTBOTTOM:
            return IDC_SIZENS;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            return IDC_SIZENWSE;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            return IDC_SIZENESW;
        default:
            return IDC_ARROW;
    }
}

// A child's parent may decide the cursor first; the client area shows the class cursor.
LRESULT ChooseCursor(HWND window, WPARAM wParam, LPARAM lParam) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    HWND parent = record->IsChild() ? record->parent : nullptr;
    HCURSOR classCursor = record->windowClass->cursor;
    lock.unlock();
    if (parent && SendMessageW(parent, WM_SETCURSOR, wParam, lParam)) {
        return TRUE;
    }
    LRESULT hit = static_cast<SHORT>(LOWORD(lParam));
    if (hit == HTCLIENT) {
        if (classCursor) {
            SetCursor(classCursor);
        }
        return FALSE;
    }
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(CursorForHitTest(hit))));
    return FALSE;
}

LRESULT StartMoveOrSize(HWND window, WPARAM hit, LPARAM lParam) {
    if (static_cast<LRESULT>(hit) == HTCAPTION) {
        return SendMessageW(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
    }
    if (static_cast<LRESULT>(hit) >= HTLEFT && static_cast<LRESULT>(hit) <= HTBOTTOMRIGHT) {
        WPARAM edge = hit - HTLEFT + WMSZ_LEFT;
        return SendMessageW(window, WM_SYSCOMMAND, SC_SIZE | edge, lParam);
    }
    return 0;
}

LRESULT EraseWithClassBrush(HWND window) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    return record && record->windowClass->background ? 1 : 0;
}

void PaintNothing(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

// A window that does not show compositions itself gets the committed text as characters.
void SendCommittedText(HWND window, LPARAM changes) {
    if (!(changes & GCS_RESULTSTR)) {
        return;
    }
    HIMC context = ImmGetContext(window);
    LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(std::max<LONG>(0, bytes)) / sizeof(wchar_t),
                        L'\0');
    ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(), static_cast<DWORD>(bytes));
    ImmReleaseContext(window, context);
    for (wchar_t character : result) {
        SendMessageW(window, WM_IME_CHAR, static_cast<WPARAM>(character), 1);
    }
}

}  // namespace

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            StoreText(window, creation ? creation->lpszName : nullptr);
            return TRUE;
        }
        case WM_NCHITTEST:
            return HitTest(window, lParam);
        case WM_SETCURSOR:
            return ChooseCursor(window, wParam, lParam);
        case WM_MOUSEACTIVATE:
            return MA_ACTIVATE;
        case WM_NCACTIVATE:
            return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
                SetFocus(window);
            }
            return 0;
        case WM_NCLBUTTONDOWN:
            return StartMoveOrSize(window, wParam, lParam);
        case WM_SYSCOMMAND:
            return user::HandleSystemCommand(window, wParam, lParam);
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_PAINT:
            PaintNothing(window);
            return 0;
        case WM_ERASEBKGND:
            return EraseWithClassBrush(window);
        case WM_WINDOWPOSCHANGED:
            user::SendMoveAndSize(window, reinterpret_cast<const WINDOWPOS*>(lParam)->flags);
            return 0;
        case WM_SETTEXT:
            return StoreText(window, reinterpret_cast<const wchar_t*>(lParam));
        case WM_GETTEXT:
            return CopyText(window, wParam, reinterpret_cast<wchar_t*>(lParam));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(TextOf(window).size());
        case WM_IME_COMPOSITION:
            SendCommittedText(window, lParam);
            return 0;
        case WM_IME_CHAR:
            SendMessageW(window, WM_CHAR, wParam, 1);
            return 0;
        default:
            return 0;
    }
}

LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    return procedure ? procedure(window, message, wParam, lParam) : 0;
}

}  // namespace plat
