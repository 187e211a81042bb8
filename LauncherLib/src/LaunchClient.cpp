#include "LauncherLib/LaunchClient.h"

#include <curl/curl.h>

#include <map>
#include <mutex>

#include "LauncherLib/CommandParams.h"
#include "LauncherLib/CommandRegistry.h"
#include "LauncherLib/HttpGetCommand.h"
#include "LauncherLib/HttpGetFileCommand.h"
#include "LauncherLib/HttpPostCommand.h"
#include "LauncherLib/UnZipCommand.h"
#include "LauncherLib/UrlFileName.h"
#include "LauncherLib/UrlHttpGetBigFileCommand.h"
#include "LauncherLib/UrlHttpGetFileCommand.h"
#include "LauncherLib/UrlHttpPostCommand.h"
#include "plat/files.h"
#include "plat/text.h"

namespace LauncherLib {
namespace {

// The user texts below are written in UTF-8 and handed to the UI as GBK.
constexpr const char* kDownloadTag = "DownloadBigFileBegin";

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_ALL); });
}

}  // namespace

LaunchClient::~LaunchClient() {
    manager.Stop();
}

void LaunchClient::Init(const std::string& first, const std::string& second) {
    useCurlPost = false;
    InitCurlOnce();
    RegisterCommand("httpgetcmd", FactoryOf<CHttpGetCommand>());
    RegisterCommand("httppostcmd", FactoryOf<CHttpPostCommand>());
    RegisterCommand("httpcurlpostcmd", FactoryOf<CUrlHttpPostCommand>());
    RegisterCommand("httpgetfilecmd", FactoryOf<CHttpGetFileCommand>());
    RegisterCommand("httpurlgetfilecmd", FactoryOf<CUrlHttpGetFileCommand>());
    RegisterCommand("httpurlgetbigfilecmd", FactoryOf<CUrlHttpGetBigFileCommand>());
    RegisterCommand("UnzipCommand", FactoryOf<CUnZipCommand>());
    useCurlPost = true;
    welcomeAddress = first;
    secondAddress = second;
    manager.Start(this);
}

void LaunchClient::SetInstallDir(const std::string& folder) {
    std::lock_guard<std::mutex> lock(installDirLock);
    installDir = folder;
}

std::string LaunchClient::GetInstallDir() const {
    std::lock_guard<std::mutex> lock(installDirLock);
    return installDir;
}

void LaunchClient::DownloadBigFile(const std::string& url) {
    std::string params = MapToJson({{"url", url}, {"path", GetInstallDir()}});
    std::string fileName = FileNameFromUrl(url);
    PushNotify({kDownloadTag, plat::Utf8ToAnsi("开始下载 ") + fileName});
    if (CommandPtr command = CreateCommand("httpurlgetbigfilecmd", params)) {
        command->SetTag(kDownloadTag);
        manager.AddCommand(command);
    } else {
        PushNotify({"DownloadBigFileFail", ""});
    }
}

ResultMapPtr LaunchClient::GetProgressResult() const {
    std::lock_guard<std::mutex> lock(progressLock);
    return progressResult;
}

NotifyInfo LaunchClient::PopNotify() {
    std::lock_guard<std::mutex> lock(notifyLock);
    if (notifyQueue.empty()) {
        return {};
    }
    NotifyInfo info = notifyQueue.front();
    notifyQueue.pop_front();
    return info;
}

void LaunchClient::PushNotify(const NotifyInfo& info) {
    std::lock_guard<std::mutex> lock(notifyLock);
    notifyQueue.push_back(info);
}

std::string LaunchClient::PostCommandName() const {
    return useCurlPost ? "httpcurlpostcmd" : "httppostcmd";
}

void LaunchClient::OnNotify(CommandPtr command, int state, ResultMapPtr result) {
    if (command->GetTag() != kDownloadTag) {
        return;
    }
    if (state == 0) {
        std::lock_guard<std::mutex> lock(progressLock);
        progressResult = result;
    } else if (command->IsSuccess()) {
        OnDownloadFinished(*command, result);
    } else {
        PushNotify({"DownloadBigFileFail", result->Get("Error")});
    }
}

// Unpacks the archive right here on the worker, into the map the UI is already polling, then
// deletes the archive whatever the outcome, so a broken archive is downloaded again next time.
// An unpacking cancelled because the client is going away is neither: the archive stays for the
// next start, which finds it complete and unpacks it without a request. Every other run ends
// with exactly one end record, even when something throws on the way.
void LaunchClient::OnDownloadFinished(const CCommandBase& download, const ResultMapPtr& result) {
    std::string folder = GetInstallDir();
    std::string fileName = result->Get("filename");
    std::string archive = folder + "\\" + fileName;
    PushNotify({"UnzipPatchBegin", plat::Utf8ToAnsi("开始解压补丁文件") + fileName});

    CommandPtr unzip;
    try {
        unzip = CreateCommand("UnzipCommand",
                              MapToJson({{"zipfile", archive}, {"destdir", folder + "\\"}}));
        result->Clear();
        if (unzip) {
            unzip->SetCancelFlag(download.GetCancelFlag());
            unzip->Execute(result);
        }
    } catch (...) {
        unzip = nullptr;
    }
    if (download.IsCancelled()) {
        return;
    }
    if (unzip && unzip->IsSuccess()) {
        if (unzip->GetTag().empty()) {
            PushNotify({"UnzipPatchOK", plat::Utf8ToAnsi("解压完毕")});
        }
        plat::DeleteFileA(archive.c_str());
        PushNotify({"DownloadBigFileOK", plat::Utf8ToAnsi("下载完整客户端完成")});
    } else {
        PushNotify({"UnzipPatchFail", plat::Utf8ToAnsi("解压失败")});
        plat::DeleteFileA(archive.c_str());
    }
}

}  // namespace LauncherLib
