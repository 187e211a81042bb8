// Input on its way from the driver to the thread that handles it.
#pragma once

#include "plat/messages.h"
#include "user/thread_queues.h"

namespace plat::user {

// Turns the oldest queued input of the calling thread into its message (hit test, mouse
// activation and cursor messages are sent on the way), dropping input that reaches no window.
// Answers whether an input message is ready at the front. Needs the lock; releases it while
// messages are sent.
bool PrepareInputMessage(Guard& lock, ThreadQueue& queue);

// The key and button states as seen by the thread follow the input messages it takes.
void NoteInputTaken(const MSG& message);

// The MK_* bits of the buttons and modifier keys held as the input arrives. Needs the lock.
WPARAM CurrentKeyFlags();

// The deepest visible window under a screen point, null for the desktop. Needs the lock.
HWND WindowAtPoint(POINT point);

}  // namespace plat::user
