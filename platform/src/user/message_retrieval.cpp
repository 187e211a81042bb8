// Taking messages from the calling thread's queue.
#include "plat/message_queue.h"
#include "user/input_delivery.h"
#include "user/message_filter.h"
#include "user/painting.h"
#include "user/surface_events.h"
#include "user/thread_queues.h"
#include "user/timers.h"

namespace plat {
namespace {

using user::Guard;
using user::MessageFilter;
using user::ThreadQueue;

std::optional<MSG> TakePosted(ThreadQueue& queue, const MessageFilter& filter, bool remove) {
    for (auto message = queue.posted.begin(); message != queue.posted.end(); ++message) {
        if (filter.Accepts(message->hwnd, message->message)) {
            MSG taken = *message;
            if (remove) {
                queue.posted.erase(message);
            }
            return taken;
        }
    }
    return std::nullopt;
}

std::optional<MSG> TakeInput(Guard& lock, ThreadQueue& queue, const MessageFilter& filter,
                             bool remove) {
    if (!user::PrepareInputMessage(lock, queue)) {
        return std::nullopt;
    }
    MSG message = *queue.input.front().message;
    if (!filter.Accepts(message.hwnd, message.message)) {
        return std::nullopt;
    }
    if (remove) {
        const InputEvent& event = queue.input.front().event;
        queue.lastKeyCharacter = event.kind == InputEvent::Kind::KeyDown ? event.character : 0;
        queue.input.pop_front();
        user::NoteInputTaken(message);
    }
    return message;
}

std::optional<MSG> TakeQuit(ThreadQueue& queue, const MessageFilter& filter, bool remove) {
    if (!queue.quitPosted || filter.window || !filter.Accepts(nullptr, WM_QUIT)) {
        return std::nullopt;
    }
    queue.quitPosted = !remove;
    return MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, 0, {}};
}

// One pass over the queue in Windows' order of precedence.
std::optional<MSG> NextMessage(Guard& lock, ThreadQueue& queue, const MessageFilter& filter,
                               bool remove) {
    user::ServeSentMessages(lock, queue);
    user::FollowSurfaceEvents(lock, queue);
    if (auto message = TakePosted(queue, filter, remove)) {
        return message;
    }
    if (auto message = TakeInput(lock, queue, filter, remove)) {
        return message;
    }
    if (auto message = TakeQuit(queue, filter, remove)) {
        return message;
    }
    if (auto message = user::PaintMessage(queue, filter)) {
        return message;
    }
    return user::DueTimerMessage(queue, filter, remove);
}

bool IsValidFilter(HWND window) {
    return !window || user::FindWindowRecord(window);
}

void Remember(ThreadQueue& queue, const MSG& message) {
    queue.lastTaken = message;
}

}  // namespace

BOOL GetMessageW(MSG* message, HWND window, UINT first, UINT last) {
    Guard lock(user::WindowSystemLock());
    ThreadQueue& queue = user::CurrentQueue();
    MessageFilter filter{window, first, last};
    while (true) {
        if (!IsValidFilter(window)) {
            return -1;
        }
        std::uint64_t wakeupsSeen = queue.wakeups;
        if (std::optional<MSG> next = NextMessage(lock, queue, filter, true)) {
            *message = *next;
            Remember(queue, *next);
            return next->message == WM_QUIT ? FALSE : TRUE;
        }
        // Something may have arrived while the lock was released for a procedure.
        if (queue.wakeups == wakeupsSeen) {
            user::WaitForActivity(lock, queue, user::NextTimerDue(queue));
        }
    }
}

BOOL PeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT removal) {
    Guard lock(user::WindowSystemLock());
    ThreadQueue& queue = user::CurrentQueue();
    user::RunPendingNativeEvents(lock, queue);
    if (!IsValidFilter(window)) {
        return FALSE;
    }
    bool remove = removal & PM_REMOVE;
    std::optional<MSG> next = NextMessage(lock, queue, {window, first, last}, remove);
    if (!next) {
        return FALSE;
    }
    *message = *next;
    if (remove) {
        Remember(queue, *next);
    }
    return TRUE;
}

LONG GetMessageTime() {
    Guard lock(user::WindowSystemLock());
    return static_cast<LONG>(user::CurrentQueue().lastTaken.time);
}

DWORD GetMessagePos() {
    Guard lock(user::WindowSystemLock());
    POINT point = user::CurrentQueue().lastTaken.pt;
    return static_cast<DWORD>(MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
}

}  // namespace plat
