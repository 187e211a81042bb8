// Paths relative to the executable's folder, and whole-file reads, for the framework's own
// files (resource packs, layouts, pictures).
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "DMDef.h"

namespace DM {

constexpr std::size_t DM_MAX_PATH = 260;

// The executable's folder with a trailing backslash into `buffer` (`size` characters).
bool GetRootDirW(wchar_t* buffer, std::size_t size);
// `file` joined to the executable's folder, unless it is absolute.
bool GetRootFullPath(const wchar_t* file, wchar_t* buffer, std::size_t size);
// The same joining rule for any folder: an absolute `file` stays as it is.
DMStringT CombinePath(const DMStringT& folder, const DMStringT& file);

// Windows paths, read through the drive map.
bool FileIsExist(const DMStringT& path);
std::optional<std::size_t> GetFileSizeW(const DMStringT& path);
// At most `limit` bytes from the start of the file.
std::optional<std::vector<char>> ReadFileBytes(const DMStringT& path,
                                               std::size_t limit = static_cast<std::size_t>(-1));

}  // namespace DM
