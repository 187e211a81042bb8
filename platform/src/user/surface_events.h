// What the window manager did to the surfaces, followed by the thread of each window.
#pragma once

#include "user/thread_queues.h"

namespace plat::user {

// Follows the surface events queued for the calling thread, sending the messages they make.
// Needs the lock; releases it meanwhile.
void FollowSurfaceEvents(Guard& lock, ThreadQueue& queue);

}  // namespace plat::user
