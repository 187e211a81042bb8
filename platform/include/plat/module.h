// The running executable seen as a module, and the built-in libraries that stand in for
// loadable ones.
#pragma once

#include "plat/types.h"

namespace plat {

// The Windows path of the executable (a host path outside every drive is shown under Z:),
// copied into `buffer` with its terminating zero; the number of characters copied, without the
// zero. A path that does not fit is cut to size - 1 characters. `module` must be null (the
// executable itself).
DWORD GetModuleFileNameW(HINSTANCE module, wchar_t* buffer, DWORD size);

using HMODULE = HINSTANCE;
// An exported function; the caller casts it to the export's real type.
using FARPROC = void (*)();

// A built-in library by its file name (matched without regard to case, with or without a
// folder): only "riched20.dll", exporting "CreateTextServices". Null for any other name.
HMODULE LoadLibraryW(const wchar_t* name);
// Null when the library has no export of that name.
FARPROC GetProcAddress(HMODULE module, const char* name);
BOOL FreeLibrary(HMODULE module);

}  // namespace plat
