#include "plat/module.h"

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <string>

#include "plat/drive_map.h"

namespace plat {

DWORD GetModuleFileNameW(HINSTANCE module, wchar_t* buffer, DWORD size) {
    if (module != nullptr || buffer == nullptr || size == 0) {
        return 0;
    }
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return 0;
    }
    std::wstring path = WindowsPathFromHostW(executable);
    DWORD copied = static_cast<DWORD>(std::min<std::size_t>(path.size(), size - 1));
    std::wmemcpy(buffer, path.data(), copied);
    buffer[copied] = L'\0';
    return copied;
}

}  // namespace plat
