// Paths that the framework reads relative to the folder of the executable.
#pragma once

#include "DMDef.h"

namespace DM {

// `path` joined to the executable's folder, unless it is absolute (it names a drive or starts
// at a root): then it stays as it is.
DMStringT PathFromExecutableFolder(const wchar_t* path);

}  // namespace DM
