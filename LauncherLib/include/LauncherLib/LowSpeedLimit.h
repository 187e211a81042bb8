// The slowest a transfer may be, on average over a stretch of time, before it counts as stalled.
#pragma once

#include <cstdint>

#include "plat/types.h"

namespace LauncherLib {

struct LowSpeedLimit {
    long bytesPerSecond = 1;
    long seconds = 60;
};

// Watches a transfer that reads by itself: stalled once a whole stretch of the limit's time
// brought fewer bytes than the limit asks for.
class StallWatch {
public:
    explicit StallWatch(const LowSpeedLimit& limit);
    // Takes the bytes received so far; true when the transfer is stalled.
    bool Stalled(std::uint64_t bytes);

private:
    LowSpeedLimit limit;
    plat::ULONGLONG stretchStart;
    std::uint64_t bytesAtStart = 0;
};

}  // namespace LauncherLib
