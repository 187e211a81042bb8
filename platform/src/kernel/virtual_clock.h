// A tick count that only moves when told to, for tests that drive timers deterministically.
// While it runs, GetTickCount and GetTickCount64 answer its time.
#pragma once

#include "plat/types.h"

namespace plat::kernel {

void StartVirtualClock(ULONGLONG startTicks);
void AdvanceVirtualClock(ULONGLONG milliseconds);
void StopVirtualClock();
bool VirtualClockRunning();

}  // namespace plat::kernel
