// Translating key presses into characters, and dispatching messages to their procedures.
#include "plat/input.h"
#include "plat/keyboard.h"
#include "plat/message_queue.h"
#include "plat/tick.h"
#include "plat/window.h"
#include "user/thread_queues.h"

namespace plat {
namespace {

using user::Guard;

struct ShiftedCharacter {
    wchar_t plain;
    wchar_t shifted;
};

// The United States layout's shifted characters of the digit and punctuation keys.
constexpr ShiftedCharacter kShifted[] = {
    {L'1', L'!'},  {L'2', L'@'}, {L'3', L'#'},  {L'4', L'$'}, {L'5', L'%'}, {L'6', L'^'},
    {L'7', L'&'},  {L'8', L'*'}, {L'9', L'('},  {L'0', L')'}, {L';', L':'}, {L'=', L'+'},
    {L',', L'<'},  {L'-', L'_'}, {L'.', L'>'},  {L'/', L'?'}, {L'`', L'~'}, {L'[', L'{'},
    {L'\\', L'|'}, {L']', L'}'}, {L'\'', L'"'},
};

bool IsDown(UINT key) {
    return GetKeyState(static_cast<int>(key)) & 0x8000;
}

wchar_t ShiftedOf(wchar_t plain) {
    for (const ShiftedCharacter& entry : kShifted) {
        if (entry.plain == plain) {
            return entry.shifted;
        }
    }
    return plain;
}

// The character a key gives with the current shift, caps lock and control state; 0 for none.
wchar_t CharacterOfKey(UINT virtualKey) {
    wchar_t plain = static_cast<wchar_t>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_CHAR));
    if (plain == 0) {
        return 0;
    }
    bool shift = IsDown(VK_SHIFT);
    bool letter = plain >= L'A' && plain <= L'Z';
    if (IsDown(VK_CONTROL)) {
        return letter ? static_cast<wchar_t>(plain - L'A' + 1) : 0;
    }
    if (letter) {
        bool upper = shift != ((GetKeyState(VK_CAPITAL) & 1) != 0);
        return upper ? plain : static_cast<wchar_t>(plain - L'A' + L'a');
    }
    bool numberPad = virtualKey >= 0x60 && virtualKey <= 0x6F;
    return shift && !numberPad ? ShiftedOf(plain) : plain;
}

bool SameMessage(const MSG& one, const MSG& other) {
    return one.hwnd == other.hwnd && one.message == other.message && one.wParam == other.wParam &&
           one.lParam == other.lParam && one.time == other.time;
}

// The character the keyboard layout gave the key-down when the driver told it with the input,
// else the one of the window system's own table.
wchar_t CharacterOfKeyDown(const MSG& message) {
    {
        Guard lock(user::WindowSystemLock());
        const user::ThreadQueue& queue = user::CurrentQueue();
        if (queue.lastKeyCharacter != 0 && SameMessage(queue.lastTaken, message)) {
            return queue.lastKeyCharacter;
        }
    }
    return CharacterOfKey(static_cast<UINT>(message.wParam));
}

// The character message is taken before anything posted after the key press.
void PostNext(const MSG& message) {
    Guard lock(user::WindowSystemLock());
    user::CurrentQueue().posted.push_front(message);
}

bool IsSameThreadWindow(HWND window) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    return record && record->threadId == GetCurrentThreadId();
}

}  // namespace

BOOL TranslateMessage(const MSG* message) {
    if (!message) {
        return FALSE;
    }
    UINT kind = message->message;
    if (kind != WM_KEYDOWN && kind != WM_SYSKEYDOWN) {
        return kind == WM_KEYUP || kind == WM_SYSKEYUP;
    }
    wchar_t character = CharacterOfKeyDown(*message);
    if (character != 0) {
        UINT charMessage = kind == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        PostNext({message->hwnd, charMessage, static_cast<WPARAM>(character), message->lParam,
                  message->time, message->pt});
    }
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* message) {
    if (!message) {
        return 0;
    }
    if (message->message == WM_TIMER && message->lParam != 0) {
        auto callback = reinterpret_cast<TIMERPROC>(message->lParam);
        callback(message->hwnd, WM_TIMER, message->wParam, GetTickCount());
        return 0;
    }
    if (!message->hwnd || !IsSameThreadWindow(message->hwnd)) {
        return 0;
    }
    auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(message->hwnd, GWLP_WNDPROC));
    return CallWindowProcW(procedure, message->hwnd, message->message, message->wParam,
                           message->lParam);
}

}  // namespace plat
