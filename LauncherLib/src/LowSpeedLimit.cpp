#include "LauncherLib/LowSpeedLimit.h"

#include "plat/tick.h"

namespace LauncherLib {

StallWatch::StallWatch(const LowSpeedLimit& limit)
    : limit(limit), stretchStart(plat::GetTickCount64()) {}

bool StallWatch::Stalled(std::uint64_t bytes) {
    plat::ULONGLONG now = plat::GetTickCount64();
    plat::ULONGLONG stretchMs = static_cast<plat::ULONGLONG>(limit.seconds) * 1000;
    if (now - stretchStart < stretchMs) {
        return false;
    }
    std::uint64_t wanted = static_cast<std::uint64_t>(limit.bytesPerSecond) * limit.seconds;
    if (bytes - bytesAtStart < wanted) {
        return true;
    }
    stretchStart = now;
    bytesAtStart = bytes;
    return false;
}

}  // namespace LauncherLib
