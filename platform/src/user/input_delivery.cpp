#include "user/input_delivery.h"

#include "plat/input.h"
#include "plat/input_method.h"
#include "plat/keyboard.h"
#include "plat/message_queue.h"
#include "plat/tick.h"
#include "plat/window.h"
#include "user/composition_strings.h"
#include "user/input_state.h"
#include "user/key_state.h"

namespace plat::user {
namespace {

using Kind = InputEvent::Kind;

bool IsMouse(Kind kind) {
    return kind == Kind::MouseMove || kind == Kind::ButtonDown || kind == Kind::ButtonUp ||
           kind == Kind::ButtonDoubleClick || kind == Kind::Wheel;
}

UINT ButtonKey(MouseButton button) {
    switch (button) {
        case MouseButton::Right:
            return VK_RBUTTON;
        case MouseButton::Middle:
            return VK_MBUTTON;
        default:
            return VK_LBUTTON;
    }
}

// The client message of a button event; a double click without CS_DBLCLKS is a plain press.
UINT ButtonMessage(const InputEvent& event, bool classTakesDoubleClicks) {
    UINT down = event.button == MouseButton::Left    ? WM_LBUTTONDOWN
                : event.button == MouseButton::Right ? WM_RBUTTONDOWN
                                                     : WM_MBUTTONDOWN;
    if (event.kind == Kind::ButtonUp) {
        return down + 1;
    }
    if (event.kind == Kind::ButtonDoubleClick && classTakesDoubleClicks) {
        return down + 2;
    }
    return down;
}

UINT ClientMouseMessage(const InputEvent& event, bool classTakesDoubleClicks) {
    switch (event.kind) {
        case Kind::MouseMove:
            return WM_MOUSEMOVE;
        case Kind::Wheel:
            return WM_MOUSEWHEEL;
        default:
            return ButtonMessage(event, classTakesDoubleClicks);
    }
}

// Repeat count 1; bit 29 with alt held, bit 30 when the key was down before, bit 31 on release.
LPARAM KeyData(const InputEvent& event, bool wasDown) {
    DWORD data = 1;
    data |= IsAsynchronousKeyDown(VK_MENU) ? (1u << 29) : 0;
    data |= wasDown ? (1u << 30) : 0;
    data |= event.kind == Kind::KeyUp ? (1u << 31) : 0;
    return static_cast<LPARAM>(static_cast<std::int32_t>(data));
}

void PostLocked(HWND window, UINT message) {
    WindowRecord* record = FindWindowRecord(window);
    std::shared_ptr<ThreadQueue> queue = record ? QueueOf(record->threadId) : nullptr;
    if (queue) {
        queue->posted.push_back({window, message, 0, 0, GetTickCount(), Input().cursorPosition});
        WakeQueue(*queue);
    }
}

// The window asking to hear of the pointer leaving it hears it once the pointer is elsewhere.
void CheckPointerLeave() {
    InputState& input = Input();
    if (input.leaveTracked && WindowAtPoint(input.cursorPosition) != input.leaveTracked) {
        PostLocked(input.leaveTracked, WM_MOUSELEAVE);
        input.leaveTracked = nullptr;
    }
}

HWND KeyboardTarget() {
    return Input().focus ? Input().focus : Input().active;
}

bool AnyButtonDown() {
    return IsAsynchronousKeyDown(VK_LBUTTON) || IsAsynchronousKeyDown(VK_RBUTTON) ||
           IsAsynchronousKeyDown(VK_MBUTTON);
}

// While a button is held, the pointer's input stays with the thread that took the press even
// off its windows, so that a capture taken when the press is handled still gets it.
HWND MouseTarget(const InputEvent& event) {
    InputState& input = Input();
    if (input.capture) {
        return input.capture;
    }
    HWND under = WindowAtPoint(event.point);
    if (event.kind == Kind::ButtonDown || event.kind == Kind::ButtonDoubleClick) {
        input.pressedWindow = under;
    }
    return under ? under : (AnyButtonDown() ? input.pressedWindow : nullptr);
}

// Updates the asynchronous state and picks the window whose thread the input goes to.
HWND AcceptInput(const InputEvent& event, bool& wasDown) {
    if (IsMouse(event.kind)) {
        Input().cursorPosition = event.point;
        CheckPointerLeave();
        HWND target = MouseTarget(event);  // a release still counts its button as held
        if (event.kind != Kind::MouseMove && event.kind != Kind::Wheel) {
            SetAsynchronousKeyDown(ButtonKey(event.button), event.kind != Kind::ButtonUp);
        }
        return target;
    }
    if (event.kind == Kind::KeyDown || event.kind == Kind::KeyUp) {
        wasDown = IsAsynchronousKeyDown(event.virtualKey);
        SetAsynchronousKeyDown(event.virtualKey, event.kind == Kind::KeyDown);
    }
    return KeyboardTarget();
}

bool ContainsPoint(const WindowRecord& record, POINT screenPoint) {
    POINT origin = ScreenOrigin(record);
    return screenPoint.x >= origin.x && screenPoint.x < origin.x + record.Width() &&
           screenPoint.y >= origin.y && screenPoint.y < origin.y + record.Height();
}

// A layered window lets the pointer through where nothing of it shows: everywhere with a
// constant alpha of 0, else on the pixels of its per-pixel picture whose alpha is 0.
bool ShowsNothingAt(const WindowRecord& record, POINT point) {
    if (!(record.exStyle & WS_EX_LAYERED) || record.IsChild()) {
        return false;
    }
    if (record.constantAlpha == 0) {
        return true;
    }
    POINT origin = ScreenOrigin(record);
    return record.perPixelPicture &&
           record.pictureAlpha.At(point.x - origin.x, point.y - origin.y) == 0;
}

bool TakesMouse(const WindowRecord& record, POINT point) {
    bool clickThrough = (record.exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) ==
                        (WS_EX_LAYERED | WS_EX_TRANSPARENT);
    return (record.style & WS_VISIBLE) && !(record.style & WS_MINIMIZE) && !clickThrough &&
           ContainsPoint(record, point) && !ShowsNothingAt(record, point);
}

HWND DeepestAt(const WindowRecord& record, POINT point) {
    for (HWND child : record.children) {
        WindowRecord* childRecord = FindWindowRecord(child);
        if (childRecord && TakesMouse(*childRecord, point)) {
            return DeepestAt(*childRecord, point);
        }
    }
    return record.handle;
}

// The window a mouse event reaches now: the capture holder of this thread, else the window of
// this thread under the point as the windows lie now.
HWND MouseTargetNow(const QueuedInput& input, bool& captured) {
    HWND capture = Input().capture;
    WindowRecord* captureRecord = FindWindowRecord(capture);
    captured = captureRecord && captureRecord->threadId == GetCurrentThreadId();
    if (captured) {
        return capture;
    }
    WindowRecord* under = FindWindowRecord(WindowAtPoint(input.event.point));
    return under && under->threadId == GetCurrentThreadId() ? under->handle : nullptr;
}

HWND KeyboardTargetNow(const QueuedInput& input) {
    WindowRecord* focus = FindWindowRecord(Input().focus);
    return focus && focus->threadId == GetCurrentThreadId() ? focus->handle : input.target;
}

LRESULT SendUnlocked(Guard& lock, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    lock.unlock();
    LRESULT result = SendMessageW(window, message, wParam, lParam);
    lock.lock();
    return result;
}

// A press on a window of an inactive top-level window activates it, unless it declines;
// answers whether the press is eaten.
bool ActivateOnPress(Guard& lock, HWND target, LRESULT hit, UINT message) {
    HWND topLevel = TopLevelOf(target);
    WindowRecord* record = FindWindowRecord(topLevel);
    if (!record || Input().active == topLevel || (record->exStyle & WS_EX_NOACTIVATE)) {
        return false;
    }
    LRESULT answer =
        SendUnlocked(lock, target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(topLevel),
                     MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
    if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) {
        lock.unlock();
        SetActiveWindow(topLevel);
        lock.lock();
    }
    return answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
}

std::optional<MSG> MouseMessage(Guard& lock, const QueuedInput& input) {
    bool captured = false;
    HWND target = MouseTargetNow(input, captured);
    WindowRecord* record = FindWindowRecord(target);
    if (!record || (record->style & WS_DISABLED)) {
        return std::nullopt;
    }
    Input().pointerWindow = TopLevelOf(target);  // where WM_SETCURSOR's cursor shows
    const InputEvent& event = input.event;
    UINT message = ClientMouseMessage(event, record->windowClass->style & CS_DBLCLKS);
    LPARAM screenPoint = PointToLParam(event.point);
    LRESULT hit = captured ? HTCLIENT : SendUnlocked(lock, target, WM_NCHITTEST, 0, screenPoint);
    bool press = event.kind == Kind::ButtonDown || event.kind == Kind::ButtonDoubleClick;
    if (!captured && press && ActivateOnPress(lock, target, hit, message)) {
        return std::nullopt;
    }
    if (!captured && event.kind != Kind::Wheel) {
        SendUnlocked(lock, target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                     MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
    }
    record = FindWindowRecord(target);
    if (!record) {
        return std::nullopt;
    }
    MSG made{target, message, input.keyFlags, screenPoint, input.time, event.point};
    if (event.kind == Kind::Wheel) {
        made.wParam = MAKEWPARAM(static_cast<WORD>(input.keyFlags),
                                 static_cast<WORD>(static_cast<SHORT>(event.wheelDelta)));
    } else if (hit == HTCLIENT) {
        POINT origin = ScreenOrigin(*record);
        made.lParam = PointToLParam({event.point.x - origin.x, event.point.y - origin.y});
    } else {
        made.message = message - kNonClientMouseOffset;
        made.wParam = static_cast<WPARAM>(hit);
    }
    return made;
}

// The composition messages of an input method; the strings are recorded as the message is
// made, so that the window reads them while it handles it.
MSG CompositionMessage(HWND target, const QueuedInput& input) {
    const InputEvent& event = input.event;
    RecordComposition(target, event);
    MSG made{target, WM_IME_COMPOSITION, 0, 0, input.time, Input().cursorPosition};
    switch (event.kind) {
        case Kind::CompositionStart:
            made.message = WM_IME_STARTCOMPOSITION;
            break;
        case Kind::Composition:
            made.wParam = event.text.empty() ? 0 : static_cast<WPARAM>(event.text.back());
            made.lParam = GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS;
            break;
        case Kind::CompositionCommit:
            made.wParam = event.text.empty() ? 0 : static_cast<WPARAM>(event.text.front());
            made.lParam = GCS_RESULTSTR;
            break;
        default:
            made.message = WM_IME_ENDCOMPOSITION;
            break;
    }
    return made;
}

bool IsComposition(Kind kind) {
    return kind == Kind::CompositionStart || kind == Kind::Composition ||
           kind == Kind::CompositionCommit || kind == Kind::CompositionEnd;
}

std::optional<MSG> KeyboardMessage(const QueuedInput& input) {
    HWND target = KeyboardTargetNow(input);
    if (!FindWindowRecord(target)) {
        return std::nullopt;
    }
    const InputEvent& event = input.event;
    if (IsComposition(event.kind)) {
        if (!ContextOf(target)) {
            return std::nullopt;  // the window's input method is detached
        }
        return CompositionMessage(target, input);
    }
    MSG made{target, WM_CHAR,    static_cast<WPARAM>(event.character),
             1,      input.time, Input().cursorPosition};
    if (event.kind != Kind::Character) {
        bool system = (input.keyData & (1 << 29)) || event.virtualKey == VK_MENU ||
                      event.virtualKey == VK_F10;
        UINT down = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
        made.message = event.kind == Kind::KeyDown ? down : down + 1;
        made.wParam = event.virtualKey;
        made.lParam = input.keyData;
    }
    return made;
}

}  // namespace

WPARAM CurrentKeyFlags() {
    WPARAM flags = 0;
    flags |= IsAsynchronousKeyDown(VK_LBUTTON) ? MK_LBUTTON : 0;
    flags |= IsAsynchronousKeyDown(VK_RBUTTON) ? MK_RBUTTON : 0;
    flags |= IsAsynchronousKeyDown(VK_MBUTTON) ? MK_MBUTTON : 0;
    flags |= IsAsynchronousKeyDown(VK_SHIFT) ? MK_SHIFT : 0;
    flags |= IsAsynchronousKeyDown(VK_CONTROL) ? MK_CONTROL : 0;
    return flags;
}

bool PrepareInputMessage(Guard& lock, ThreadQueue& queue) {
    while (!queue.input.empty()) {
        if (queue.input.front().message) {
            return true;
        }
        QueuedInput input = queue.input.front();
        std::optional<MSG> message =
            IsMouse(input.event.kind) ? MouseMessage(lock, input) : KeyboardMessage(input);
        if (message) {
            queue.input.front().message = message;
            return true;
        }
        queue.input.pop_front();
    }
    return false;
}

void NoteInputTaken(const MSG& message) {
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
            SetSynchronousKeyDown(
                static_cast<UINT>(message.wParam),
                message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            SetSynchronousKeyDown(VK_LBUTTON, true);
            break;
        case WM_LBUTTONUP:
        case WM_NCLBUTTONUP:
            SetSynchronousKeyDown(VK_LBUTTON, false);
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONDBLCLK:
            SetSynchronousKeyDown(VK_RBUTTON, true);
            break;
        case WM_RBUTTONUP:
        case WM_NCRBUTTONUP:
            SetSynchronousKeyDown(VK_RBUTTON, false);
            break;
        default:
            break;
    }
}

HWND WindowAtPoint(POINT point) {
    for (HWND window : TopLevelOrder()) {
        WindowRecord* record = FindWindowRecord(window);
        if (record && TakesMouse(*record, point)) {
            return DeepestAt(*record, point);
        }
    }
    return nullptr;
}

}  // namespace plat::user

namespace plat {

void DeliverInput(const InputEvent& event) {
    user::Guard lock(user::WindowSystemLock());
    bool wasDown = false;
    HWND target = user::AcceptInput(event, wasDown);
    user::WindowRecord* record = user::FindWindowRecord(target);
    std::shared_ptr<user::ThreadQueue> queue = record ? user::QueueOf(record->threadId) : nullptr;
    if (!queue) {
        return;
    }
    queue->input.push_back({event, target, user::CurrentKeyFlags(), user::KeyData(event, wasDown),
                            GetTickCount(), std::nullopt});
    user::WakeQueue(*queue);
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* request) {
    if (!request || request->cbSize != sizeof(TRACKMOUSEEVENT) || !IsWindow(request->hwndTrack)) {
        return FALSE;
    }
    user::Guard lock(user::WindowSystemLock());
    user::InputState& input = user::Input();
    if (request->dwFlags & TME_CANCEL) {
        if (input.leaveTracked == request->hwndTrack) {
            input.leaveTracked = nullptr;
        }
        return TRUE;
    }
    if (request->dwFlags & TME_LEAVE) {
        if (user::WindowAtPoint(input.cursorPosition) == request->hwndTrack) {
            input.leaveTracked = request->hwndTrack;
        } else {
            user::PostLocked(request->hwndTrack, WM_MOUSELEAVE);
        }
    }
    return TRUE;
}

BOOL GetCursorPos(POINT* point) {
    if (!point) {
        return FALSE;
    }
    user::Guard lock(user::WindowSystemLock());
    *point = user::Input().cursorPosition;
    return TRUE;
}

}  // namespace plat
