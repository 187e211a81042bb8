#include "user/timers.h"

#include <algorithm>

#include "plat/message_queue.h"
#include "plat/tick.h"
#include "user/input_state.h"

namespace plat::user {
namespace {

constexpr UINT kMinimumPeriod = 10;
constexpr UINT kMaximumPeriod = 0x7FFFFFFF;
constexpr UINT_PTR kFirstThreadTimerId = 0x7FFF0001;

std::uint64_t NextOrder() {
    static std::uint64_t order = 0;
    return ++order;
}

UINT_PTR NewThreadTimerId() {
    static UINT_PTR next = kFirstThreadTimerId;
    return next++;
}

Timer* FindTimer(ThreadQueue& queue, HWND window, UINT_PTR id) {
    auto found = std::find_if(queue.timers.begin(), queue.timers.end(), [&](const Timer& timer) {
        return timer.window == window && timer.id == id;
    });
    return found == queue.timers.end() ? nullptr : &*found;
}

std::shared_ptr<ThreadQueue> QueueForTimer(HWND window) {
    if (!window) {
        return CurrentQueuePointer();
    }
    WindowRecord* record = FindWindowRecord(window);
    return record ? QueueOf(record->threadId) : nullptr;
}

}  // namespace

void RemoveWindowTimers(HWND window) {
    WindowRecord* record = FindWindowRecord(window);
    std::shared_ptr<ThreadQueue> queue = record ? QueueOf(record->threadId) : nullptr;
    if (queue) {
        std::erase_if(queue->timers, [&](const Timer& timer) { return timer.window == window; });
    }
}

std::optional<ULONGLONG> NextTimerDue(const ThreadQueue& queue) {
    std::optional<ULONGLONG> next;
    for (const Timer& timer : queue.timers) {
        next = next ? std::min(*next, timer.due) : timer.due;
    }
    return next;
}

std::optional<MSG> DueTimerMessage(ThreadQueue& queue, const MessageFilter& filter, bool take) {
    ULONGLONG now = GetTickCount64();
    Timer* earliest = nullptr;
    for (Timer& timer : queue.timers) {
        if (timer.due > now || !filter.Accepts(timer.window, WM_TIMER)) {
            continue;
        }
        if (!earliest || timer.due < earliest->due ||
            (timer.due == earliest->due && timer.order < earliest->order)) {
            earliest = &timer;
        }
    }
    if (!earliest) {
        return std::nullopt;
    }
    MSG message{earliest->window,
                WM_TIMER,
                earliest->id,
                reinterpret_cast<LPARAM>(earliest->callback),
                static_cast<DWORD>(now),
                Input().cursorPosition};
    if (take) {
        earliest->due = now + earliest->period;
    }
    return message;
}

}  // namespace plat::user

namespace plat {

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC callback) {
    user::Guard lock(user::WindowSystemLock());
    std::shared_ptr<user::ThreadQueue> queue = user::QueueForTimer(window);
    if (!queue) {
        return 0;
    }
    UINT period = std::clamp(periodMs, user::kMinimumPeriod, user::kMaximumPeriod);
    user::Timer* existing = user::FindTimer(*queue, window, id);
    if (!window && !existing) {
        id = user::NewThreadTimerId();
    }
    user::Timer timer{window, id, period, GetTickCount64() + period, callback, user::NextOrder()};
    if (existing) {
        *existing = timer;
    } else {
        queue->timers.push_back(timer);
    }
    user::WakeQueue(*queue);
    return window && id == 0 ? 1 : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    user::Guard lock(user::WindowSystemLock());
    std::shared_ptr<user::ThreadQueue> queue = user::QueueForTimer(window);
    if (!queue) {
        return FALSE;
    }
    std::size_t removed = std::erase_if(queue->timers, [&](const user::Timer& timer) {
        return timer.window == window && timer.id == id;
    });
    return removed > 0 ? TRUE : FALSE;
}

}  // namespace plat
