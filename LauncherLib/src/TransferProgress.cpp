#include "LauncherLib/TransferProgress.h"

#include <string>

#include "plat/tick.h"

namespace LauncherLib {
namespace {

// Lets the transfer go on. CURL_PROGRESSFUNC_CONTINUE would also run libcurl's own progress
// meter, which prints to standard error.
constexpr int kContinueTransfer = 0;

constexpr plat::DWORD kSpeedIntervalMs = 100;

}  // namespace

std::atomic<std::uint64_t> resumeOffset{0};

std::string PercentageText(double done, double total) {
    if (total == 0) {
        return "0";
    }
    double percent = done / total * 100;
    if (percent < 0) {
        return "0";
    }
    return std::to_string(static_cast<long long>(percent));
}

int OnTransferProgress(void* context, curl_off_t dltotal, curl_off_t dlnow, curl_off_t,
                       curl_off_t) {
    auto* progress = static_cast<ProgressContext*>(context);
    ResultMap& result = *progress->result;
    double resumed = static_cast<double>(resumeOffset.load());
    result.Set("write", std::to_string(dlnow));
    result.Set("contentlength", std::to_string(dltotal));
    result.Set("percentage", PercentageText(static_cast<double>(dlnow) + resumed,
                                            static_cast<double>(dltotal) + resumed));

    plat::DWORD now = plat::GetTickCount();
    plat::DWORD elapsed = now - progress->lastTick;
    if (elapsed <= kSpeedIntervalMs) {
        return kContinueTransfer;
    }
    double bytes = static_cast<double>(dlnow) - static_cast<double>(progress->lastBytes);
    result.Set("speedKB", std::to_string(static_cast<long long>(bytes / elapsed)));
    progress->lastTick = now;
    progress->lastBytes = static_cast<std::uint64_t>(dlnow);
    return kContinueTransfer;
}

}  // namespace LauncherLib
