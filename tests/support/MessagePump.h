// Serving the calling thread's messages in tests: all that wait, or until a condition holds.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "plat/message_queue.h"

namespace vael::test {

// Takes, translates and dispatches every message waiting in the calling thread's queue; a
// message `filter` answers true for is taken by it instead, as a loop's filters take theirs.
inline void PumpMessages(const std::function<bool(plat::MSG&)>& filter = {}) {
    plat::MSG message{};
    while (plat::PeekMessageW(&message, nullptr, 0, 0, plat::PM_REMOVE)) {
        if (!filter || !filter(message)) {
            plat::TranslateMessage(&message);
            plat::DispatchMessageW(&message);
        }
    }
}

// Dispatches messages until `done` holds; false when `timeout` passes first.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        PumpMessages();
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

inline void Settle(std::chrono::milliseconds time) {
    auto until = std::chrono::steady_clock::now() + time;
    PumpUntil([until] { return std::chrono::steady_clock::now() >= until; }, time * 2);
}

}  // namespace vael::test
