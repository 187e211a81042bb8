#include "plat/tick.h"

#include <atomic>
#include <chrono>

#include "kernel/virtual_clock.h"

namespace plat {
namespace {

std::atomic<bool> virtualClockRunning{false};
std::atomic<ULONGLONG> virtualTicks{0};

ULONGLONG RealTicks() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

namespace kernel {

void StartVirtualClock(ULONGLONG startTicks) {
    virtualTicks = startTicks;
    virtualClockRunning = true;
}

void AdvanceVirtualClock(ULONGLONG milliseconds) {
    virtualTicks += milliseconds;
}

void StopVirtualClock() {
    virtualClockRunning = false;
}

bool VirtualClockRunning() {
    return virtualClockRunning;
}

}  // namespace kernel

ULONGLONG GetTickCount64() {
    return virtualClockRunning ? virtualTicks.load() : RealTicks();
}

DWORD GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}

}  // namespace plat
