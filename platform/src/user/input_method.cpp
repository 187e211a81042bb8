// A window's input method context is the window itself, unless it was detached or associated
// with another one; the driver places the composition and the window-system keeps its strings.
#include "plat/input_method.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "plat/driver.h"
#include "plat/window.h"
#include "user/composition_strings.h"
#include "user/input_state.h"
#include "user/window_records.h"

namespace plat::user {
namespace {

struct CompositionStrings {
    std::wstring composing;
    LONG cursor = 0;
    std::wstring result;
};

std::map<HWND, CompositionStrings>& Compositions() {
    static std::map<HWND, CompositionStrings> compositions;
    return compositions;
}

// The windows whose context is not their own.
std::map<HWND, HIMC>& Associations() {
    static std::map<HWND, HIMC> associations;
    return associations;
}

HIMC OwnContext(HWND window) {
    return reinterpret_cast<HIMC>(window);
}

}  // namespace

HIMC ContextOf(HWND window) {
    auto found = Associations().find(window);
    return found != Associations().end() ? found->second : OwnContext(window);
}

void FollowInputMethodOfFocus() {
    Guard lock(WindowSystemLock());
    HWND focus = Input().focus;
    HWND surface = TopLevelOf(focus);
    WindowRecord* record = FindWindowRecord(surface);
    if (!record || !record->hasSurface) {
        return;
    }
    bool enabled = ContextOf(focus) != nullptr;
    lock.unlock();
    CurrentDriver().EnableInputMethod(surface, enabled);
}

void ForgetInputMethod(HWND window) {
    Associations().erase(window);
    Compositions().erase(window);
}

void RecordComposition(HWND window, const InputEvent& event) {
    switch (event.kind) {
        case InputEvent::Kind::Composition:
            Compositions()[window].composing = event.text;
            Compositions()[window].cursor = event.cursor;
            break;
        case InputEvent::Kind::CompositionCommit:
            Compositions()[window] = {L"", 0, event.text};
            break;
        case InputEvent::Kind::CompositionEnd:
            Compositions().erase(window);
            break;
        default:
            break;
    }
}

}  // namespace plat::user

namespace plat {

HIMC ImmGetContext(HWND window) {
    user::Guard lock(user::WindowSystemLock());
    return user::FindWindowRecord(window) ? user::ContextOf(window) : nullptr;
}

BOOL ImmReleaseContext(HWND window, HIMC context) {
    return context && context == ImmGetContext(window) ? TRUE : FALSE;
}

HIMC ImmAssociateContext(HWND window, HIMC context) {
    user::Guard lock(user::WindowSystemLock());
    if (!user::FindWindowRecord(window)) {
        return nullptr;
    }
    HIMC previous = user::ContextOf(window);
    if (context == user::OwnContext(window)) {
        user::Associations().erase(window);
    } else {
        user::Associations()[window] = context;
    }
    bool focused = user::Input().focus == window;
    lock.unlock();
    if (focused) {
        user::FollowInputMethodOfFocus();
    }
    return previous;
}

BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form) {
    auto window = reinterpret_cast<HWND>(context);
    if (!form || !(form->dwStyle & (CFS_POINT | CFS_FORCE_POSITION))) {
        return FALSE;
    }
    user::Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    HWND surface = user::TopLevelOf(window);
    POINT origin = user::ScreenOrigin(*record);
    POINT surfaceOrigin = user::ScreenOrigin(*user::FindWindowRecord(surface));
    lock.unlock();
    POINT point{form->ptCurrentPos.x + origin.x - surfaceOrigin.x,
                form->ptCurrentPos.y + origin.y - surfaceOrigin.y};
    CurrentDriver().SetInputMethodPosition(surface, point);
    return TRUE;
}

LONG ImmGetCompositionStringW(HIMC context, DWORD index, void* buffer, DWORD bufferBytes) {
    auto window = reinterpret_cast<HWND>(context);
    user::Guard lock(user::WindowSystemLock());
    if (!user::FindWindowRecord(window)) {
        return -1;
    }
    auto found = user::Compositions().find(window);
    user::CompositionStrings none;
    const user::CompositionStrings& strings =
        found != user::Compositions().end() ? found->second : none;
    if (index == GCS_CURSORPOS) {
        return strings.cursor;
    }
    if (index != GCS_COMPSTR && index != GCS_RESULTSTR) {
        return -1;
    }
    const std::wstring& text = index == GCS_COMPSTR ? strings.composing : strings.result;
    auto bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!buffer || bufferBytes == 0) {
        return static_cast<LONG>(bytes);
    }
    DWORD copied = std::min<DWORD>(bytes, bufferBytes / sizeof(wchar_t) * sizeof(wchar_t));
    std::memcpy(buffer, text.data(), copied);
    return static_cast<LONG>(copied);
}

}  // namespace plat
