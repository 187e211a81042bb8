#include "plat/drive_map.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <mutex>
#include <system_error>

#include "plat/text.h"

namespace plat {
namespace fs = std::filesystem;
namespace {

std::string EnvOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

fs::path ChoosePrefix() {
    if (std::string prefix = EnvOrEmpty("WINEPREFIX"); !prefix.empty()) {
        return prefix;
    }
    std::string home = EnvOrEmpty("HOME");
    std::error_code ec;
    if (!home.empty() && fs::is_directory(fs::path(home) / ".wine", ec)) {
        return fs::path(home) / ".wine";
    }
    std::string dataHome = EnvOrEmpty("XDG_DATA_HOME");
    fs::path data = !dataHome.empty() ? fs::path(dataHome) : fs::path(home) / ".local" / "share";
    return data / "vael-downloader" / "prefix";
}

void CreateLinkIfMissing(const fs::path& link, const fs::path& target) {
    std::error_code ec;
    if (!fs::is_symlink(link, ec) && !fs::exists(link, ec)) {
        fs::create_directory_symlink(target, link, ec);
    }
}

// Wine's layout: drive_c/ with dosdevices/c: -> ../drive_c and dosdevices/z: -> /.
void EnsureLayout(const fs::path& prefix) {
    std::error_code ec;
    fs::create_directories(prefix / "drive_c", ec);
    fs::create_directories(prefix / "dosdevices", ec);
    CreateLinkIfMissing(prefix / "dosdevices" / "c:", "../drive_c");
    CreateLinkIfMissing(prefix / "dosdevices" / "z:", "/");
}

fs::path DriveFolder(const fs::path& prefix, char letter) {
    std::string name{static_cast<char>(std::tolower(static_cast<unsigned char>(letter))), ':'};
    return prefix / "dosdevices" / name;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// The steps of a path after its drive, with "." dropped and ".." taking back one step but
// never climbing above the root. The path is UTF-8 here: GBK trail bytes may equal "\\", so
// splitting is only safe after the conversion.
std::vector<std::string> NormalisedSteps(std::string_view rest, bool rooted) {
    std::vector<std::string> steps;
    size_t i = 0;
    while (i < rest.size()) {
        while (i < rest.size() && IsSeparator(rest[i])) {
            ++i;
        }
        size_t start = i;
        while (i < rest.size() && !IsSeparator(rest[i])) {
            ++i;
        }
        std::string_view step = rest.substr(start, i - start);
        if (step.empty() || step == ".") {
            continue;
        }
        if (step == "..") {
            if (!steps.empty() && steps.back() != "..") {
                steps.pop_back();
            } else if (!rooted) {
                steps.emplace_back(step);
            }
            continue;
        }
        steps.emplace_back(step);
    }
    return steps;
}

fs::path CanonicalOrSelf(const fs::path& path) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(path, ec);
    return ec ? path.lexically_normal() : canonical;
}

// How many leading elements of `path` match `base` element by element, or -1 when `base` is
// not a leading part of `path`.
int MatchingDepth(const fs::path& base, const fs::path& path) {
    auto [baseEnd, pathIt] = std::mismatch(base.begin(), base.end(), path.begin(), path.end());
    if (baseEnd != base.end() && !baseEnd->empty()) {
        return -1;
    }
    return static_cast<int>(std::distance(base.begin(), baseEnd));
}

}  // namespace

fs::path PrefixFolder() {
    static std::mutex lock;
    static fs::path prepared;
    fs::path prefix = ChoosePrefix();
    std::lock_guard<std::mutex> guard(lock);
    if (prefix != prepared) {
        EnsureLayout(prefix);
        prepared = prefix;
    }
    return prefix;
}

fs::path HostPathFromWindows(std::string_view windowsPath) {
    return HostPathFromWindowsUtf8(AnsiToUtf8(windowsPath));
}

fs::path HostPathFromWindowsW(std::wstring_view windowsPath) {
    return HostPathFromWindowsUtf8(WideToUtf8(windowsPath));
}

fs::path HostPathFromWindowsUtf8(std::string_view windowsPath) {
    bool drive = HasDriveLetter(windowsPath);
    bool rooted = drive || (!windowsPath.empty() && IsSeparator(windowsPath[0]));
    fs::path host;
    if (rooted) {
        host = DriveFolder(PrefixFolder(), drive ? windowsPath[0] : 'c');
    }
    for (const std::string& step :
         NormalisedSteps(drive ? windowsPath.substr(2) : windowsPath, rooted)) {
        host /= step;
    }
    return host;
}

std::string WindowsPathFromHost(const fs::path& hostPath) {
    return Utf8ToAnsi(WindowsPathFromHostUtf8(hostPath));
}

std::wstring WindowsPathFromHostW(const fs::path& hostPath) {
    return Utf8ToWide(WindowsPathFromHostUtf8(hostPath));
}

std::string WindowsPathFromHostUtf8(const fs::path& hostPath) {
    fs::path absolute = CanonicalOrSelf(fs::absolute(hostPath));
    fs::path prefix = PrefixFolder();
    char bestLetter = 0;
    int bestDepth = -1;
    fs::path bestRoot;
    for (char letter : DriveLetters()) {
        fs::path root = CanonicalOrSelf(DriveFolder(prefix, letter));
        int depth = MatchingDepth(root, absolute);
        if (depth > bestDepth) {
            bestDepth = depth;
            bestLetter = letter;
            bestRoot = root;
        }
    }
    if (bestLetter == 0) {
        bestLetter = 'Z';
        bestRoot = "/";
    }
    std::string windows{bestLetter, ':'};
    fs::path relative = absolute.lexically_relative(bestRoot);
    for (const fs::path& step : relative) {
        if (step != ".") {
            windows += '\\';
            windows += step.string();
        }
    }
    if (windows.size() == 2) {
        windows += '\\';
    }
    return windows;
}

std::vector<char> DriveLetters() {
    std::vector<char> letters;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(PrefixFolder() / "dosdevices", ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() == 2 && name[1] == ':' &&
            std::isalpha(static_cast<unsigned char>(name[0]))) {
            letters.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(name[0]))));
        }
    }
    std::sort(letters.begin(), letters.end());
    return letters;
}

}  // namespace plat
