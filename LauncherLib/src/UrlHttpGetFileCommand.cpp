#include "LauncherLib/UrlHttpGetFileCommand.h"

#include <Poco/URI.h>
#include <curl/curl.h>

#include "CurlDownload.h"
#include "DownloadFiles.h"
#include "LauncherLib/CurlTransfer.h"
#include "LauncherLib/DownloadStream.h"
#include "LauncherLib/TransferProgress.h"
#include "LauncherLib/UrlFileName.h"
#include "RequestFailures.h"

namespace LauncherLib {
namespace {

constexpr long kOk = 200;

}  // namespace

void CUrlHttpGetFileCommand::Execute(ResultMapPtr result) {
    RunReportingFailures(*this, *result, [&] { Download(GetParams(), result); });
}

// The file lands in the current folder: the target is the bare file name.
void CUrlHttpGetFileCommand::Download(const std::string& url, const ResultMapPtr& result) {
    std::string fileName = FileNameFromUrl(url);
    std::string temporary = fileName + ".tmp";
    result->Set("filename", fileName);
    // An address that does not parse fails here, as it does in the POCO commands.
    const Poco::URI checked(url);
    EasyHandle easy(curl_easy_init());
    if (!easy) {
        FailCurlInit(*this, *result);
        return;
    }
    FileHandle file = OpenTemporaryFile(temporary, "wb");
    if (!file) {
        FailTemporaryFile(*this, *result, temporary);
        return;
    }
    resumeOffset = 0;
    DownloadStream stream{file.get(), easy.get(), kOk};
    ProgressContext progress;
    SetRequestOptions(easy.get(), url, GetLowSpeedLimit());
    SetDownloadOptions(easy.get(), stream, progress, result);

    CURLcode code = PerformTransfer(easy.get(), [this] { return IsCancelled(); });
    if (code != CURLE_OK && !stream.rejectedStatus) {
        result->Set("code", "-1");
        result->Set("Error", TransferErrorText("liburl error code: %d", code, stream));
        SetFail();
        return;
    }
    long status = ResponseCode(easy.get());
    result->Set("code", std::to_string(status));
    if (status != kOk) {
        result->Set("Error", HttpErrorText(status));
        SetFail();
        return;
    }
    SetSuccess();
    easy.reset();
    file.reset();
    if (!MoveToTarget(temporary, fileName)) {
        result->Set("Error", MoveFailedText());
        SetFail();
    }
}

}  // namespace LauncherLib
