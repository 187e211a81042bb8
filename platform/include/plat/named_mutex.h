// Named mutexes that tell whether another process holds a name. A name is a lock file in
// $XDG_RUNTIME_DIR (else the temporary folder) locked with flock: the lock goes with the
// process that holds it, so a crashed holder never blocks the next one.
#pragma once

#include "plat/kernel_handle.h"
#include "plat/types.h"

namespace plat {

constexpr DWORD SYNCHRONIZE = 0x00100000;

// A handle when some open handle holds the mutex `name`; null with ERROR_FILE_NOT_FOUND when
// none does.
HANDLE OpenMutexA(DWORD desiredAccess, BOOL inheritHandle, const char* name);

// Creates and holds the mutex `name` for as long as the handle stays open. When another handle
// holds it already, the handle answered does not hold it and the last error is
// ERROR_ALREADY_EXISTS (183); otherwise it is ERROR_SUCCESS. Null when no lock file can be made.
HANDLE CreateMutexA(void* securityAttributes, BOOL initialOwner, const char* name);

}  // namespace plat
