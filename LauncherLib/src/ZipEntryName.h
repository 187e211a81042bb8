// Which entry names may be unpacked: only names that stay inside the destination folder.
#pragma once

#include <string>

namespace LauncherLib {

// False for empty names, absolute names ("/a", "\a"), names with a drive letter ("C:a") and
// names with a parent step written with either separator ("../a", "a\..\..\b").
bool IsSafeEntryName(const std::string& name);

}  // namespace LauncherLib
