// Timers. A due timer makes one WM_TIMER when its thread's queue has nothing else: a timer
// that is late by several periods still makes only one, and the next is due one period after
// it was taken.
#pragma once

#include "plat/types.h"

namespace plat {

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// A timer of `window` with `id` (setting it again restarts it); with a null window a thread
// timer, whose id the system chooses unless `id` names an existing thread timer. With a
// callback, dispatching the WM_TIMER calls it instead of the window procedure. Answers the id,
// 0 on failure. Periods below 10 ms are raised to 10 ms.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC callback);
// After KillTimer the timer makes no further WM_TIMER.
BOOL KillTimer(HWND window, UINT_PTR id);

}  // namespace plat
