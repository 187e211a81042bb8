#include "LauncherLib/DownloadStream.h"

#include <cerrno>

namespace LauncherLib {
namespace {

// The status of the answer whose body is arriving, checked on its first bytes: libcurl hands
// over no body of a redirect it follows, so the first body is the final answer's.
bool AcceptsAnswer(DownloadStream& stream) {
    if (!stream.statusChecked) {
        long status = 0;
        curl_easy_getinfo(stream.easy, CURLINFO_RESPONSE_CODE, &status);
        stream.rejectedStatus = status != stream.acceptedStatus;
        stream.statusChecked = true;
    }
    return !stream.rejectedStatus;
}

}  // namespace

std::size_t WriteToStream(char* data, std::size_t size, std::size_t count, void* userData) {
    auto& stream = *static_cast<DownloadStream*>(userData);
    std::size_t total = size * count;
    if (!AcceptsAnswer(stream)) {
        return 0;
    }
    errno = 0;
    std::size_t written = std::fwrite(data, 1, total, stream.file);
    if (written != total) {
        stream.writeError = errno != 0 ? errno : EIO;
    }
    return written;
}

}  // namespace LauncherLib
