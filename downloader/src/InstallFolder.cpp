#include "InstallFolder.h"

#include <cwchar>
#include <string_view>

#include "plat/files.h"
#include "plat/text.h"

namespace {

// Room for the roots of all 26 drives ("C:\" and a zero each) and the final zero.
constexpr plat::DWORD kDriveRootsLength = 26 * 4 + 1;

// The drive roots concatenated, for example "C:\D:\".
std::string DriveRoots() {
    wchar_t roots[kDriveRootsLength] = {};
    plat::DWORD length = plat::GetLogicalDriveStringsW(kDriveRootsLength, roots);
    if (length == 0 || length >= kDriveRootsLength) {
        return {};
    }
    std::string joined;
    for (const wchar_t* root = roots; *root; root += std::wcslen(root) + 1) {
        joined += plat::WideToAnsi(root);
    }
    return joined;
}

}  // namespace

bool HasKnownDrive(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    char letter = folder[0];
    if (letter >= 'a' && letter <= 'z') {
        letter = static_cast<char>(letter - 'a' + 'A');
    }
    return letter >= 'A' && letter <= 'Z' && DriveRoots().find(letter) != std::string::npos;
}

std::wstring CompleteGameFolder(std::wstring folder) {
    const std::wstring_view name = kGameFolderName;
    const auto length = static_cast<long>(folder.size());
    const auto nameLength = static_cast<long>(name.size());
    const size_t found = folder.find(name);
    const size_t lastBackslash = folder.rfind(L'\\');
    const bool endsWithBackslash =
        lastBackslash != std::wstring::npos && static_cast<long>(lastBackslash) == length - 1;
    if (found != std::wstring::npos && (static_cast<long>(found) == length - nameLength ||
                                        static_cast<long>(found) == length - nameLength - 1)) {
        if (endsWithBackslash) {
            folder.pop_back();
        }
    } else if (endsWithBackslash) {
        folder += name;
    } else {
        folder += L'\\';
        folder += name;
    }
    return folder;
}

bool FitsInstallRecords(const std::wstring& folder) {
    // The longer record is "Exec": a quote, the folder, "\ORVN\Play.exe", a quote, and a zero.
    constexpr size_t kRecordLength = 260;
    constexpr size_t kExecExtra = 2 + std::wstring_view(L"\\ORVN\\Play.exe").size();
    return folder.size() + kExecExtra < kRecordLength;
}

bool CreateFolderLevels(const std::string& folder) {
    if (folder.size() <= 2) {
        return true;
    }
    std::string prefix = folder.substr(0, 2);
    std::string rest = folder.size() > 3 ? folder.substr(3) : std::string();
    for (;;) {
        size_t backslash = rest.find('\\');
        prefix += '\\';
        prefix += rest.substr(0, backslash);
        if (plat::_access(prefix.c_str(), 0) != 0 && plat::_mkdir(prefix.c_str()) != 0) {
            return false;
        }
        if (backslash == std::string::npos) {
            return true;
        }
        rest.erase(0, backslash + 1);
    }
}
