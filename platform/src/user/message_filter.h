// Which messages a retrieval takes: those of one window (and its children) or of any, within
// a range of message numbers or all.
#pragma once

#include "plat/messages.h"

namespace plat::user {

struct MessageFilter {
    HWND window;  // null: any window and the thread's own messages
    UINT first;
    UINT last;  // first and last both 0: every message

    // Needs the window-system lock.
    bool Accepts(HWND target, UINT message) const;
};

}  // namespace plat::user
