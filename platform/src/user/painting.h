// The WM_PAINT a thread's queue makes when nothing else waits.
#pragma once

#include <optional>

#include "plat/messages.h"
#include "user/message_filter.h"
#include "user/thread_queues.h"

namespace plat::user {

// WM_PAINT for the oldest shown, invalid window of the queue's thread that the filter
// accepts. Needs the lock.
std::optional<MSG> PaintMessage(const ThreadQueue& queue, const MessageFilter& filter);

}  // namespace plat::user
