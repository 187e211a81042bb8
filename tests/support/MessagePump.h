// Takes, translates and dispatches every message waiting in the calling thread's queue.
#pragma once

#include "plat/message_queue.h"

namespace vael::test {

inline void PumpMessages() {
    plat::MSG message{};
    while (plat::PeekMessageW(&message, nullptr, 0, 0, plat::PM_REMOVE)) {
        plat::TranslateMessage(&message);
        plat::DispatchMessageW(&message);
    }
}

}  // namespace vael::test
