// The launcher's side of the engine: starts the worker, queues the big-file download, unpacks
// a finished download on the worker, and keeps the notification records the UI polls.
#pragma once

#include <atomic>
#include <deque>
#include <mutex>
#include <string>

#include "LauncherLib/CommandManager.h"
#include "LauncherLib/CommandNotify.h"
#include "LauncherLib/NotifyInfo.h"
#include "LauncherLib/ResultMap.h"

namespace LauncherLib {

class LaunchClient : public ICommandNotify {
public:
    LaunchClient() = default;
    // Stops the worker within a bound even in the middle of a command: the running command is
    // cancelled and the thread joined, so no thread outlives the client.
    ~LaunchClient() override;

    // Once, on the UI thread: sets libcurl up, registers the commands, starts the worker.
    void Init(const std::string& first, const std::string& second);

    void SetInstallDir(const std::string& folder);
    std::string GetInstallDir() const;

    // Announces the download of `url` into the install folder and queues it.
    void DownloadBigFile(const std::string& url);

    // The oldest record, removed from the queue; an empty record when there is none.
    NotifyInfo PopNotify();
    void PushNotify(const NotifyInfo& info);

    // The result map of the running big-file download (empty before the first one starts).
    ResultMapPtr GetProgressResult() const;

    std::string PostCommandName() const;

    void OnNotify(CommandPtr command, int state, ResultMapPtr result) override;

private:
    void OnDownloadFinished(const CCommandBase& download, const ResultMapPtr& result);

    std::string welcomeAddress;
    std::string secondAddress;
    mutable std::mutex progressLock;  // guards the pointer; the map guards its entries
    ResultMapPtr progressResult;
    mutable std::mutex installDirLock;
    std::string installDir;
    CCommandManager manager;
    std::mutex notifyLock;
    std::deque<NotifyInfo> notifyQueue;
    std::atomic<bool> useCurlPost{false};
};

}  // namespace LauncherLib
