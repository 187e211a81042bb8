// Key and mouse-button states, in two views: as input arrives (asynchronous) and as the
// messages are taken from the queue (synchronous).
#pragma once

#include "plat/types.h"

namespace plat::user {

void SetAsynchronousKeyDown(UINT virtualKey, bool down);
void SetSynchronousKeyDown(UINT virtualKey, bool down);
bool IsAsynchronousKeyDown(UINT virtualKey);
bool IsSynchronousKeyDown(UINT virtualKey);
bool IsSynchronousKeyToggled(UINT virtualKey);

}  // namespace plat::user
