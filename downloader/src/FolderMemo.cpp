#include "FolderMemo.h"

#include <cstdio>

#include "plat/files.h"
#include "plat/shell.h"
#include "plat/temp_files.h"
#include "plat/text.h"

namespace {

constexpr unsigned kUniqueNumber = 0xFFFF;

// The memo file opened with `mode`, or null.
std::FILE* OpenMemo(const char* mode) {
    return plat::OpenFile(plat::WideToAnsi(FolderMemoPath()).c_str(), mode);
}

}  // namespace

std::wstring FolderMemoPath() {
    wchar_t folder[plat::MAX_PATH] = {};
    wchar_t name[plat::MAX_PATH] = {};
    plat::GetTempPathW(plat::MAX_PATH, folder);
    plat::GetTempFileNameW(folder, L"dro", kUniqueNumber, name);
    return name;
}

std::string ReadFolderMemo() {
    std::FILE* memo = OpenMemo("rb");
    if (!memo) {
        return {};
    }
    char buffer[plat::MAX_PATH] = {};
    size_t read = std::fread(buffer, 1, sizeof buffer - 1, memo);
    std::fclose(memo);
    return std::string(buffer, read).c_str();
}

void WriteFolderMemo(const std::string& folder) {
    if (std::FILE* memo = OpenMemo("wb")) {
        std::fwrite(folder.data(), 1, folder.size(), memo);
        std::fclose(memo);
    }
}
