#include "plat/version.h"

#include <cstring>

namespace plat {

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
        return FALSE;
    }
    std::memset(info, 0, sizeof *info);
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    info->dwMajorVersion = 10;
    info->dwMinorVersion = 0;
    info->dwBuildNumber = 19045;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    return TRUE;
}

}  // namespace plat
