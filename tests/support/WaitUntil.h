// Waiting in tests for something another thread or process does.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "TempDir.h"

namespace vael::test {

// Polls `condition` every 10 ms until it holds or `timeout` has passed; answers its last value.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Waits until another process has written `path` up to a final line end.
inline bool WaitForFinishedLine(const std::filesystem::path& path) {
    return WaitUntil([&] { return ReadFile(path).ends_with("\n"); });
}

}  // namespace vael::test
