// The running executable seen as a module.
#pragma once

#include "plat/types.h"

namespace plat {

// The Windows path of the executable (a host path outside every drive is shown under Z:),
// copied into `buffer` with its terminating zero; the number of characters copied, without the
// zero. A path that does not fit is cut to size - 1 characters. `module` must be null (the
// executable itself).
DWORD GetModuleFileNameW(HINSTANCE module, wchar_t* buffer, DWORD size);

}  // namespace plat
