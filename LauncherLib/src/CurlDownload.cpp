#include "CurlDownload.h"

#include <cstdio>

#include "DownloadFiles.h"
#include "HttpIdentity.h"
#include "plat/text.h"
#include "plat/tick.h"

namespace LauncherLib {
namespace {

// libcurl's 16 KiB default costs one callback, three progress updates and one write per
// 16 KiB; larger pieces make the download cheaper than curl's own tool.
constexpr long kReceiveBufferBytes = 512L * 1024;

std::string FormatCode(const char* format, long code) {
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<int>(code));
    return text;
}

}  // namespace

void SetRequestOptions(CURL* easy, const std::string& url, const LowSpeedLimit& limit) {
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, limit.bytesPerSecond);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, limit.seconds);
}

void SetDownloadOptions(CURL* easy, DownloadStream& stream, ProgressContext& progress,
                        const ResultMapPtr& result) {
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, WriteToStream);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &stream);
    result->Set("speedKB", "0");
    result->Set("write", "0");
    result->Set("percentage", "0");
    progress.result = result;
    progress.lastTick = plat::GetTickCount();
    progress.lastBytes = 0;
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, OnTransferProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &progress);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
}

long ResponseCode(CURL* easy) {
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    return status;
}

std::string TransferErrorText(const char* format, CURLcode code, const DownloadStream& stream) {
    if (stream.writeError != 0) {
        return WriteErrorText(stream.writeError);
    }
    return FormatCode(format, code);
}

std::string HttpErrorText(long code) {
    return FormatCode("Http error code: %d", code);
}

void FailCurlInit(CCommandBase& command, ResultMap& result) {
    result.Set("code", "-1");
    result.Set("content", plat::Utf8ToAnsi("初始化CURL失败!"));
    command.SetFail();
}

void FailTemporaryFile(CCommandBase& command, ResultMap& result, const std::string& temporary) {
    result.Set("code", "-1");
    result.Set("content", plat::Utf8ToAnsi(" 创建临时文件失败!") + temporary);
    command.SetFail();
}

}  // namespace LauncherLib
