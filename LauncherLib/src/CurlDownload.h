// The libcurl options the engine's requests share, and those that make a request a download
// into a file with its progress published into the command's result map.
#pragma once

#include <curl/curl.h>

#include <string>

#include "LauncherLib/CommandBase.h"
#include "LauncherLib/DownloadStream.h"
#include "LauncherLib/LowSpeedLimit.h"
#include "LauncherLib/ResultMap.h"
#include "LauncherLib/TransferProgress.h"

namespace LauncherLib {

// The address, the browser identity, redirects followed up to 20 times, no signals (the
// worker is one thread among others) and the stall limit.
void SetRequestOptions(CURL* easy, const std::string& url, const LowSpeedLimit& limit);

// The body goes to `stream`, the progress to `progress`, which starts from the current tick
// with "speedKB", "write" and "percentage" at "0".
void SetDownloadOptions(CURL* easy, DownloadStream& stream, ProgressContext& progress,
                        const ResultMapPtr& result);

long ResponseCode(CURL* easy);

// `format` with the libcurl code, or the write error's text when the file refused the body.
std::string TransferErrorText(const char* format, CURLcode code, const DownloadStream& stream);
// "Http error code: %d" with `code`.
std::string HttpErrorText(long code);

// A transfer that cannot start fails its command with "code" "-1" and the reason in "content":
// libcurl could not make a handle, or the temporary file at `temporary` could not be opened.
void FailCurlInit(CCommandBase& command, ResultMap& result);
void FailTemporaryFile(CCommandBase& command, ResultMap& result, const std::string& temporary);

}  // namespace LauncherLib
