// The system version the launcher asks for: this platform reports itself as version 10.
#pragma once

#include "plat/types.h"

namespace plat {

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char szCSDVersion[128];
};

constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

// Fills `info` (whose size field must be set) and answers TRUE.
BOOL GetVersionExA(OSVERSIONINFOA* info);

}  // namespace plat
