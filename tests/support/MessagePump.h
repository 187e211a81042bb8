// Takes, translates and dispatches every message waiting in the calling thread's queue; a
// message `filter` answers true for is taken by it instead, as a loop's filters take theirs.
#pragma once

#include <functional>

#include "plat/message_queue.h"

namespace vael::test {

inline void PumpMessages(const std::function<bool(plat::MSG&)>& filter = {}) {
    plat::MSG message{};
    while (plat::PeekMessageW(&message, nullptr, 0, 0, plat::PM_REMOVE)) {
        if (!filter || !filter(message)) {
            plat::TranslateMessage(&message);
            plat::DispatchMessageW(&message);
        }
    }
}

}  // namespace vael::test
