#include "LauncherLib/UrlHttpGetBigFileCommand.h"

#include <curl/curl.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>

#include "CurlDownload.h"
#include "DownloadFiles.h"
#include "LauncherLib/CommandParams.h"
#include "LauncherLib/CurlTransfer.h"
#include "LauncherLib/DownloadStream.h"
#include "LauncherLib/TransferProgress.h"
#include "LauncherLib/UrlFileName.h"
#include "plat/files.h"
#include "plat/text.h"

namespace LauncherLib {
namespace {

// The texts for the user are written in UTF-8 here and stored as GBK.
constexpr long kPartialContent = 206;
constexpr long kRangeNotSatisfiable = 416;
constexpr const char* kBadParams = "fail to parse json value";

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
        FailCurlInit(*this, *result);
        return;
    }
    FileHandle file = OpenTemporaryFile(request->temporary, "ab");
    if (!file) {
        FailTemporaryFile(*this, *result, request->temporary);
        return;
    }
    resumeOffset = SizeAtEnd(file.get());
    std::string range = RangeText(resumeOffset);

    DownloadStream stream{file.get(), easy.get(), kPartialContent};
    ProgressContext progress;
    SetRequestOptions(easy.get(), request->url, GetLowSpeedLimit());
    curl_easy_setopt(easy.get(), CURLOPT_RANGE, range.c_str());
    SetDownloadOptions(easy.get(), stream, progress, result);

    CURLcode code = PerformTransfer(easy.get(), [this] { return IsCancelled(); });
    if (code != CURLE_OK && !stream.rejectedStatus) {
        result->Set("Error", TransferErrorText("Http error code: %d", code, stream));
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
        result->Set("Error", IncompleteText());
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
    if (!MoveToTarget(request->temporary, request->target)) {
        std::string text = MoveFailedText();
        result->Set("Error", text);
        std::cout << text << std::endl;
        SetFail();
    }
}

}  // namespace LauncherLib
