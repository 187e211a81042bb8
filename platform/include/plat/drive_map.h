// The Windows path namespace: drive letters are the `dosdevices/x:` links of a Wine-style
// prefix. Windows paths are ANSI (GBK) text with backslashes; host paths are UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// The prefix: $WINEPREFIX when set, else ~/.wine when it exists, else
// $XDG_DATA_HOME/vael-downloader/prefix. Missing `drive_c/`, `dosdevices/c:` and
// `dosdevices/z:` are created the way Wine lays them out.
std::filesystem::path PrefixFolder();

// "C:\a\b" (GBK) to "<prefix>/dosdevices/c:/a/b". "." and ".." steps are resolved within the
// drive, as Windows does, so a path never leaves its drive. A path without a drive letter
// stays relative; one that starts with a backslash is on drive C:.
std::filesystem::path HostPathFromWindows(std::string_view windowsPath);
// The same for a wide (UTF-32) or a UTF-8 Windows path.
std::filesystem::path HostPathFromWindowsW(std::wstring_view windowsPath);
std::filesystem::path HostPathFromWindowsUtf8(std::string_view windowsPath);

// The Windows path (GBK) of a host path: on the drive whose folder holds it (the deepest one
// wins), else on Z:.
std::string WindowsPathFromHost(const std::filesystem::path& hostPath);
// The same as wide or UTF-8 text.
std::wstring WindowsPathFromHostW(const std::filesystem::path& hostPath);
std::string WindowsPathFromHostUtf8(const std::filesystem::path& hostPath);

// Upper-case letters of the prefix's drives, in alphabetical order.
std::vector<char> DriveLetters();

}  // namespace plat
