#include "DMHelper.h"

#include <cwchar>
#include <filesystem>
#include <fstream>

#include "IDMLog.h"
#include "plat/drive_map.h"
#include "plat/module.h"

namespace DM {
namespace {

bool IsAbsolute(const DMStringT& path) {
    return (path.size() >= 2 && path[1] == L':') || (!path.empty() && path[0] == L'\\');
}

std::filesystem::path Host(const DMStringT& path) {
    return plat::HostPathFromWindowsW(path);
}

}  // namespace

bool GetRootDirW(wchar_t* buffer, std::size_t size) {
    wchar_t path[DM_MAX_PATH * 4];
    plat::DWORD length = plat::GetModuleFileNameW(nullptr, path, DM_MAX_PATH * 4);
    if (length == 0) {
        LOG_ERR(L"[mid]GetModuleFileNameW fail\n");
        return false;
    }
    wchar_t* slash = std::wcsrchr(path, L'\\');
    if (!slash) {
        LOG_ERR(L"[mid]wcsrchr fail\n");
        return false;
    }
    slash[1] = L'\0';
    if (std::wcslen(path) >= size) {
        LOG_ERR(L"[mid]dwSize too small\n");
        return false;
    }
    std::wcscpy(buffer, path);
    return true;
}

DMStringT CombinePath(const DMStringT& folder, const DMStringT& file) {
    if (IsAbsolute(file) || folder.empty()) {
        return file;
    }
    if (folder.back() == L'\\') {
        return folder + file;
    }
    return folder + L"\\" + file;
}

bool GetRootFullPath(const wchar_t* file, wchar_t* buffer, std::size_t size) {
    wchar_t root[DM_MAX_PATH];
    if (!GetRootDirW(root, DM_MAX_PATH)) {
        LOG_ERR(L"[mid]-GetRootDirW fail\n");
        return false;
    }
    DMStringT full = CombinePath(root, file ? file : L"");
    if (full.size() >= size) {
        LOG_ERR(L"[mid]-PathCombineW fail\n");
        return false;
    }
    std::wcscpy(buffer, full.c_str());
    return true;
}

bool FileIsExist(const DMStringT& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(Host(path), error);
}

std::optional<std::size_t> GetFileSizeW(const DMStringT& path) {
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(Host(path), error);
    if (error) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(size);
}

std::optional<std::vector<char>> ReadFileBytes(const DMStringT& path, std::size_t limit) {
    std::ifstream file(Host(path), std::ios::binary);
    std::optional<std::size_t> size = GetFileSizeW(path);
    if (!file || !size) {
        return std::nullopt;
    }
    std::vector<char> bytes(std::min(*size, limit));
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

}  // namespace DM
