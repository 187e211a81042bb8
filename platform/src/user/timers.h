// The timers of each thread and the WM_TIMER they make when due.
#pragma once

#include <optional>

#include "plat/messages.h"
#include "user/message_filter.h"
#include "user/thread_queues.h"

namespace plat::user {

// These need the window-system lock.
void RemoveWindowTimers(HWND window);
// The tick when the queue's next timer is due, none without timers.
std::optional<ULONGLONG> NextTimerDue(const ThreadQueue& queue);
// The WM_TIMER of the earliest due timer the filter accepts; taking it starts the timer's next
// period from now.
std::optional<MSG> DueTimerMessage(ThreadQueue& queue, const MessageFilter& filter, bool take);

}  // namespace plat::user
