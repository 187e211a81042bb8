#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <string>

#include "plat/drive_map.h"
#include "plat/files.h"
#include "plat/shell.h"
#include "plat/temp_files.h"
#include "plat/tick.h"

namespace plat {
namespace {

std::filesystem::path HostTempFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? std::filesystem::path(folder) : std::filesystem::path("/tmp");
}

std::wstring NameFor(const std::wstring& folder, const std::wstring& prefix, UINT unique) {
    std::wstring name = folder;
    if (!name.empty() && name.back() != L'\\') {
        name += L'\\';
    }
    wchar_t number[16];
    std::swprintf(number, 16, L"%X", unique);
    return name + prefix.substr(0, 3) + number + L".TMP";
}

// Creates the file only when it does not exist yet.
bool CreateNew(const std::wstring& name) {
    int descriptor = ::open(HostPathFromWindowsW(name).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (descriptor < 0) {
        return false;
    }
    ::close(descriptor);
    return true;
}

bool Store(const std::wstring& name, wchar_t* buffer) {
    if (name.size() >= static_cast<size_t>(MAX_PATH)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    std::wcscpy(buffer, name.c_str());
    return true;
}

}  // namespace

DWORD GetTempPathW(DWORD length, wchar_t* buffer) {
    std::wstring folder = WindowsPathFromHostW(HostTempFolder());
    if (folder.empty() || folder.back() != L'\\') {
        folder += L'\\';
    }
    if (!buffer || length <= folder.size()) {
        return static_cast<DWORD>(folder.size() + 1);
    }
    std::wcscpy(buffer, folder.c_str());
    return static_cast<DWORD>(folder.size());
}

UINT GetTempFileNameW(const wchar_t* folder, const wchar_t* prefix, UINT unique, wchar_t* name) {
    if (!folder || !name) {
        return 0;
    }
    std::wstring prefixText = prefix ? prefix : L"";
    if (unique != 0) {
        return Store(NameFor(folder, prefixText, unique), name) ? unique : 0;
    }
    UINT start = (GetTickCount() & 0xFFFF) | 1;
    for (UINT step = 0; step < 0xFFFF; ++step) {
        UINT candidate = ((start + step - 1) % 0xFFFF) + 1;
        std::wstring formed = NameFor(folder, prefixText, candidate);
        if (CreateNew(formed)) {
            return Store(formed, name) ? candidate : 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}

}  // namespace plat
