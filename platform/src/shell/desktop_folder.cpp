// The desktop folder: $XDG_DESKTOP_DIR, else the XDG_DESKTOP_DIR line of the user's
// user-dirs.dirs, else ~/Desktop.
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>

#include "plat/drive_map.h"
#include "plat/files.h"
#include "plat/shell.h"

namespace plat {
namespace {

namespace fs = std::filesystem;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

fs::path HomeFolder() {
    return Environment("HOME");
}

fs::path ConfigFolder() {
    std::string config = Environment("XDG_CONFIG_HOME");
    return config.empty() ? HomeFolder() / ".config" : fs::path(config);
}

// A user-dirs.dirs value: "$HOME/Desktop" or an absolute path, in double quotes.
fs::path ExpandUserDir(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    if (value.starts_with("$HOME")) {
        return HomeFolder().string() + value.substr(5);
    }
    return value;
}

fs::path DesktopFolder() {
    std::string fromEnvironment = Environment("XDG_DESKTOP_DIR");
    if (!fromEnvironment.empty()) {
        return fromEnvironment;
    }
    std::ifstream dirs(ConfigFolder() / "user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DESKTOP_DIR=";
    while (std::getline(dirs, line)) {
        if (line.starts_with(key)) {
            return ExpandUserDir(line.substr(key.size()));
        }
    }
    return HomeFolder() / "Desktop";
}

}  // namespace

BOOL SHGetSpecialFolderPathW(HWND, wchar_t* path, int csidl, BOOL create) {
    if (csidl != CSIDL_DESKTOP || !path) {
        return FALSE;
    }
    fs::path folder = DesktopFolder();
    std::error_code error;
    if (create) {
        fs::create_directories(folder, error);
    }
    if (!fs::is_directory(folder, error)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    std::wstring windows = WindowsPathFromHostW(folder);
    if (windows.size() >= static_cast<std::size_t>(MAX_PATH)) {
        return FALSE;
    }
    std::wcscpy(path, windows.c_str());
    return TRUE;
}

}  // namespace plat
