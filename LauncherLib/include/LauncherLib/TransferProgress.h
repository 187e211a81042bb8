// The progress of a libcurl download, published into the command's result map: byte counts
// and the per cent on every callback, the speed at most every 100 ms.
#pragma once

#include <curl/curl.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "LauncherLib/ResultMap.h"
#include "plat/types.h"

namespace LauncherLib {

// Bytes already on disk when the running transfer started; they count towards the per cent.
// A command sets it right before its transfer (0 when it does not resume). Commands never run
// in parallel, so one value is in use at a time.
extern std::atomic<std::uint64_t> resumeOffset;

struct ProgressContext {
    ResultMapPtr result;
    plat::DWORD lastTick = 0;     // tick count of the last speed update
    std::uint64_t lastBytes = 0;  // bytes of this transfer at the last speed update
};

// The whole per cent `done` is of `total`, truncated; "0" when the total is 0 or the per cent
// negative.
std::string PercentageText(double done, double total);

// CURLOPT_XFERINFOFUNCTION with a ProgressContext; always lets the transfer continue.
int OnTransferProgress(void* context, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal,
                       curl_off_t ulnow);

}  // namespace LauncherLib
