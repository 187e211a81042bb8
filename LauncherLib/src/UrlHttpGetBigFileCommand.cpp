#include "LauncherLib/UrlHttpGetBigFileCommand.h"

#include <curl/curl.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>

#include "LauncherLib/CommandParams.h"
#include "LauncherLib/CurlTransfer.h"
#include "LauncherLib/DownloadStream.h"
#include "LauncherLib/TransferProgress.h"
#include "LauncherLib/UrlFileName.h"
#include "plat/files.h"
#include "plat/text.h"
#include "plat/tick.h"

namespace LauncherLib {
namespace {

// The texts for the user are written in UTF-8 here and stored as GBK.
constexpr const char* kUserAgent =
    "Mozilla/5.0 (Windows NT 6.3; rv:36.0) Gecko/20100101 Firefox/36.04";
constexpr long kMaxRedirects = 20;
// libcurl's 16 KiB default costs one callback, three progress updates and one write per
// 16 KiB; larger pieces make the download cheaper than curl's own tool.
constexpr long kReceiveBufferBytes = 512L * 1024;
constexpr long kPartialContent = 206;
constexpr long kRangeNotSatisfiable = 416;
constexpr const char* kBadParams = "fail to parse json value";

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using FileHandle = std::unique_ptr<std::FILE, FileClose>;

struct Request {
    std::string url;
    std::string fileName;
    std::string target;
    std::string temporary;
};

// Parameters without a URL cannot name a file to download to.
std::optional<Request> ReadRequest(const std::string& paramText) {
    auto params = ParseJsonParams(paramText);
    if (!params || (*params)["url"].empty()) {
        return std::nullopt;
    }
    Request request;
    request.url = (*params)["url"];
    request.fileName = FileNameFromUrl(request.url);
    request.target = (*params)["path"] + "\\" + request.fileName;
    request.temporary = request.target + ".tmp";
    return request;
}

bool TargetIsPresent(const std::string& target) {
    return FileHandle(plat::OpenFile(target.c_str(), "rb")) != nullptr;
}

std::uint64_t SizeAtEnd(std::FILE* file) {
    std::fseek(file, 0, SEEK_END);
    long long position = ftello(file);
    return position > 0 ? static_cast<std::uint64_t>(position) : 0;
}

std::string RangeText(std::uint64_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu-", static_cast<unsigned long long>(offset));
    return text;
}

std::string HttpErrorText(long code) {
    char text[48];
    std::snprintf(text, sizeof text, "Http error code: %d", static_cast<int>(code));
    return text;
}

std::string TransferErrorText(CURLcode code, const DownloadStream& stream) {
    if (stream.writeError != 0) {
        return plat::Utf8ToAnsi("写入临时文件失败: ") + std::strerror(stream.writeError);
    }
    return HttpErrorText(code);
}

long ResponseCode(CURL* easy) {
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    return status;
}

// The total of a "Content-Range: bytes */<total>" answer, when the server gave one.
std::optional<std::uint64_t> ContentRangeTotal(CURL* easy) {
    curl_header* header = nullptr;
    if (curl_easy_header(easy, "Content-Range", 0, CURLH_HEADER, -1, &header) != CURLHE_OK) {
        return std::nullopt;
    }
    const char* slash = std::strrchr(header->value, '/');
    unsigned long long total = 0;
    int consumed = 0;
    if (!slash || std::sscanf(slash + 1, "%llu%n", &total, &consumed) != 1 ||
        slash[1 + consumed] != '\0') {
        return std::nullopt;
    }
    return total;
}

// Whether the temporary file is as long as the whole file the server names in its
// Content-Range; a server that names no size is taken at its word.
bool HoldsWholeFile(CURL* easy, std::uint64_t size) {
    std::optional<std::uint64_t> total = ContentRangeTotal(easy);
    return !total || *total == size;
}

}  // namespace

void CUrlHttpGetBigFileCommand::SetLowSpeedLimit(long bytesPerSecond, long seconds) {
    lowSpeedBytesPerSecond = bytesPerSecond;
    lowSpeedSeconds = seconds;
}

void CUrlHttpGetBigFileCommand::Execute(ResultMapPtr result) {
    std::optional<Request> request = ReadRequest(GetParams());
    if (!request) {
        result->Set("error", kBadParams);
        result->Set("code", "-2");
        result->Set("Error", kBadParams);
        SetFail();
        return;
    }
    result->Set("filename", request->fileName);
    if (TargetIsPresent(request->target)) {
        SetSuccess();
        return;
    }
    result->Set("filename", request->fileName);
    EasyHandle easy(curl_easy_init());
    if (!easy) {
        result->Set("code", "-1");
        result->Set("content", plat::Utf8ToAnsi("初始化CURL失败!"));
        SetFail();
        return;
    }
    FileHandle file(plat::OpenFile(request->temporary.c_str(), "ab"));
    if (!file) {
        result->Set("code", "-1");
        result->Set("content", plat::Utf8ToAnsi(" 创建临时文件失败!") + request->temporary);
        SetFail();
        return;
    }
    // Unbuffered: after a failed write the file holds exactly the bytes reported written.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    resumeOffset = SizeAtEnd(file.get());
    std::string range = RangeText(resumeOffset);

    DownloadStream stream{file.get(), easy.get(), kPartialContent};
    ProgressContext progress;
    curl_easy_setopt(easy.get(), CURLOPT_URL, request->url.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_RANGE, range.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(easy.get(), CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, WriteToStream);
    curl_easy_setopt(easy.get(), CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &stream);
    result->Set("speedKB", "0");
    result->Set("write", "0");
    result->Set("percentage", "0");
    progress.result = result;
    progress.lastTick = plat::GetTickCount();
    progress.lastBytes = 0;
    curl_easy_setopt(easy.get(), CURLOPT_XFERINFOFUNCTION, OnTransferProgress);
    curl_easy_setopt(easy.get(), CURLOPT_XFERINFODATA, &progress);
    curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    curl_easy_setopt(easy.get(), CURLOPT_LOW_SPEED_LIMIT, lowSpeedBytesPerSecond);
    curl_easy_setopt(easy.get(), CURLOPT_LOW_SPEED_TIME, lowSpeedSeconds);

    CURLcode code = PerformTransfer(easy.get(), [this] { return IsCancelled(); });
    if (code != CURLE_OK && !stream.rejectedStatus) {
        result->Set("Error", TransferErrorText(code, stream));
        SetFail();
        return;
    }
    long status = ResponseCode(easy.get());
    result->Set("code", std::to_string(status));
    if (status != kPartialContent && status != kRangeNotSatisfiable) {
        result->Set("Error", HttpErrorText(status));
        SetFail();
        return;
    }
    // A 206 whose body ended early (a wrong Content-Length) leaves the file short: it stays for
    // the next run to resume.
    if (status == kPartialContent && !HoldsWholeFile(easy.get(), SizeAtEnd(file.get()))) {
        result->Set("Error", plat::Utf8ToAnsi("文件下载不完整,请重试!"));
        SetFail();
        return;
    }
    // A 416 says the temporary file already holds the whole file, unless the server names a
    // size that differs from it: then the file is not this download.
    if (status == kRangeNotSatisfiable && !HoldsWholeFile(easy.get(), resumeOffset)) {
        file.reset();
        plat::DeleteFileA(request->temporary.c_str());
        result->Set("Error", plat::Utf8ToAnsi("临时文件与服务器上的文件不符,已删除,请重新下载!"));
        SetFail();
        return;
    }
    SetSuccess();
    easy.reset();
    file.reset();
    if (!plat::MoveFileExA(request->temporary.c_str(), request->target.c_str(),
                           plat::MOVEFILE_REPLACE_EXISTING)) {
        std::string text = plat::Utf8ToAnsi("移动文件失败,目标文件被占用!");
        result->Set("Error", text);
        std::cout << text << std::endl;
        SetFail();
    }
}

}  // namespace LauncherLib
