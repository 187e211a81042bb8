#include "LauncherLib/CurlTransfer.h"

#include <memory>

namespace LauncherLib {
namespace {

constexpr int kCancelCheckMs = 100;

struct MultiCleanup {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using MultiHandle = std::unique_ptr<CURLM, MultiCleanup>;

CURLcode FinishedResult(CURLM* multi) {
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg == CURLMSG_DONE) {
            return message->data.result;
        }
    }
    return CURLE_OK;
}

CURLcode Drive(CURLM* multi, const std::function<bool()>& cancelled) {
    while (true) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            return CURLE_FAILED_INIT;
        }
        if (running == 0) {
            return FinishedResult(multi);
        }
        if (cancelled()) {
            return CURLE_ABORTED_BY_CALLBACK;
        }
        if (curl_multi_poll(multi, nullptr, 0, kCancelCheckMs, nullptr) != CURLM_OK) {
            return CURLE_FAILED_INIT;
        }
    }
}

}  // namespace

CURLcode PerformTransfer(CURL* easy, const std::function<bool()>& cancelled) {
    MultiHandle multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) {
        return CURLE_FAILED_INIT;
    }
    CURLcode result = Drive(multi.get(), cancelled);
    curl_multi_remove_handle(multi.get(), easy);
    return result;
}

}  // namespace LauncherLib
