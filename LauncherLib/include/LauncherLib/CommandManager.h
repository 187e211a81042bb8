// Runs queued commands one at a time, in the order they were added, on one worker thread,
// reporting each to the sink right before (state 0) and right after (state 1) it runs.
#pragma once

#include <atomic>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "LauncherLib/CommandBase.h"
#include "LauncherLib/CommandNotify.h"
#include "LauncherLib/ResultMap.h"

namespace LauncherLib {

class CCommandManager {
public:
    CCommandManager() = default;
    // Stops the worker (see Stop).
    ~CCommandManager();
    CCommandManager(const CCommandManager&) = delete;
    CCommandManager& operator=(const CCommandManager&) = delete;

    void Start(ICommandNotify* sink);
    void AddCommand(CommandPtr command);

    // Asks the worker to leave its loop, raises the running command's cancel flag and waits for
    // the worker to end. Commands still queued are not run.
    void Stop();

    bool IsProcessing() const { return processing.load(); }
    // The result map created for the command with this id, or an empty pointer.
    ResultMapPtr GetResult(const std::string& commandId) const;
    void SetLogSink(LogSink sink) { logSink = std::move(sink); }

private:
    void WorkLoop(ICommandNotify* sink);
    CommandPtr TakeNext();
    void Run(ICommandNotify* sink, const CommandPtr& command);
    void Notify(ICommandNotify* sink, const CommandPtr& command, int state,
                const ResultMapPtr& result);
    void Log(const std::string& text) const;

    std::list<CommandPtr> queue;
    std::atomic<bool> processing{false};
    std::mutex queueLock;
    std::shared_ptr<std::atomic<bool>> stopRequested = std::make_shared<std::atomic<bool>>(false);
    std::thread worker;
    LogSink logSink;
    std::map<std::string, ResultMapPtr> results;
    mutable std::mutex resultsLock;
};

}  // namespace LauncherLib
