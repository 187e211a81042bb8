// The temporary folder and temporary file names. The folder is the host's temporary folder
// ($TMPDIR, else /tmp) seen as a Windows path, usually on drive Z:.
#pragma once

#include "plat/types.h"

namespace plat {

// Writes the folder with a trailing backslash into `buffer` and answers its length without the
// terminating zero; when `length` is too small, the size needed (with the zero) and nothing
// written.
DWORD GetTempPathW(DWORD length, wchar_t* buffer);

// Forms `folder` + up to three characters of `prefix` + `unique` in upper-case hexadecimal +
// ".TMP" into `name` (MAX_PATH characters). A non-zero `unique` only forms the name; zero picks
// a number whose file does not exist yet and creates that file empty. Answers the number used,
// or 0 on failure.
UINT GetTempFileNameW(const wchar_t* folder, const wchar_t* prefix, UINT unique, wchar_t* name);

}  // namespace plat
