// Runs one libcurl transfer to its end, as curl_easy_perform does, but gives it up within
// 100 ms once `cancelled` answers true, even while the server sends nothing.
#pragma once

#include <curl/curl.h>

#include <functional>
#include <memory>

namespace LauncherLib {

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

// The transfer's result code; CURLE_ABORTED_BY_CALLBACK when it was cancelled.
CURLcode PerformTransfer(CURL* easy, const std::function<bool()>& cancelled);

}  // namespace LauncherLib
