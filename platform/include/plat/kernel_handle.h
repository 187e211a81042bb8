// Kernel objects by handle: each open handle keeps its object alive until it is closed.
#pragma once

#include <cstdint>

#include "plat/types.h"

namespace plat {

using HANDLE = void*;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

// FALSE with ERROR_INVALID_HANDLE (6) for a handle that is not open.
BOOL CloseHandle(HANDLE object);

}  // namespace plat
