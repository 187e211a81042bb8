#include "plat/module.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <string>

#include "plat/drive_map.h"
#include "plat/text_services.h"

namespace plat {
namespace {

struct Export {
    const char* name;
    FARPROC function;
};

struct BuiltInModule {
    const wchar_t* fileName;
    const Export* exports;
    std::size_t exportCount;
};

const Export kRichEditExports[] = {
    {"CreateTextServices", reinterpret_cast<FARPROC>(&CreateTextServices)},
};

const BuiltInModule kBuiltInModules[] = {
    {L"riched20.dll", kRichEditExports, std::size(kRichEditExports)},
};

bool SameFileName(std::wstring_view given, std::wstring_view known) {
    std::size_t folder = given.find_last_of(L"\\/");
    if (folder != std::wstring_view::npos) {
        given.remove_prefix(folder + 1);
    }
    return std::equal(given.begin(), given.end(), known.begin(), known.end(),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

}  // namespace

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

// A built-in module's handle is its entry in the table.
HMODULE LoadLibraryW(const wchar_t* name) {
    if (!name) {
        return nullptr;
    }
    for (const BuiltInModule& module : kBuiltInModules) {
        if (SameFileName(name, module.fileName)) {
            return reinterpret_cast<HMODULE>(const_cast<BuiltInModule*>(&module));
        }
    }
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, const char* name) {
    for (const BuiltInModule& known : kBuiltInModules) {
        if (module != reinterpret_cast<HMODULE>(const_cast<BuiltInModule*>(&known)) || !name) {
            continue;
        }
        for (std::size_t index = 0; index < known.exportCount; ++index) {
            if (std::strcmp(known.exports[index].name, name) == 0) {
                return known.exports[index].function;
            }
        }
    }
    return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
    for (const BuiltInModule& known : kBuiltInModules) {
        if (module == reinterpret_cast<HMODULE>(const_cast<BuiltInModule*>(&known))) {
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace plat
