// Milliseconds since an arbitrary start, as the system tick count: the 32-bit form wraps.
#pragma once

#include "plat/types.h"

namespace plat {

DWORD GetTickCount();
ULONGLONG GetTickCount64();

}  // namespace plat
