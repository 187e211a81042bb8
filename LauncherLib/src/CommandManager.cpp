#include "LauncherLib/CommandManager.h"

#include <chrono>
#include <exception>

namespace LauncherLib {
namespace {

constexpr auto kIdlePoll = std::chrono::milliseconds(50);

std::string CurrentExceptionText() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}

}  // namespace

CCommandManager::~CCommandManager() {
    Stop();
}

void CCommandManager::Start(ICommandNotify* sink) {
    Log("info: Start the processing!");
    if (worker.joinable()) {
        Log("error: the manager is processing!");
        return;
    }
    processing = true;
    worker = std::thread(&CCommandManager::WorkLoop, this, sink);
}

void CCommandManager::AddCommand(CommandPtr command) {
    std::lock_guard<std::mutex> queueGuard(queueLock);
    queue.push_back(command);
    std::lock_guard<std::mutex> resultsGuard(resultsLock);
    results[command->GetId()] = std::make_shared<ResultMap>();
}

void CCommandManager::Stop() {
    stopRequested->store(true);
    if (worker.joinable() && worker.get_id() != std::this_thread::get_id()) {
        worker.join();
    }
}

ResultMapPtr CCommandManager::GetResult(const std::string& commandId) const {
    std::lock_guard<std::mutex> lock(resultsLock);
    auto it = results.find(commandId);
    return it == results.end() ? nullptr : it->second;
}

void CCommandManager::WorkLoop(ICommandNotify* sink) {
    Log("info: thread start the processing!");
    while (true) {
        if (CommandPtr command = TakeNext()) {
            processing = true;
            Run(sink, command);
        } else {
            processing = false;
            std::this_thread::sleep_for(kIdlePoll);
        }
        if (stopRequested->load()) {
            Log("Info: cancel by the user!");
            break;
        }
    }
    Log("Info: thread exit!");
}

CommandPtr CCommandManager::TakeNext() {
    std::lock_guard<std::mutex> lock(queueLock);
    if (queue.empty()) {
        return nullptr;
    }
    CommandPtr command = queue.front();
    queue.pop_front();
    return command;
}

// An exception that escapes the command fails it with the exception's text in "Error"; the
// state-1 notification follows whatever happened.
void CCommandManager::Run(ICommandNotify* sink, const CommandPtr& command) {
    ResultMapPtr result = GetResult(command->GetId());
    command->SetCancelFlag(stopRequested);
    Notify(sink, command, 0, result);
    try {
        command->Execute(result);
    } catch (...) {
        command->SetFail();
        result->Set("Error", CurrentExceptionText());
    }
    Notify(sink, command, 1, result);
}

void CCommandManager::Notify(ICommandNotify* sink, const CommandPtr& command, int state,
                             const ResultMapPtr& result) {
    if (!sink) {
        return;
    }
    try {
        sink->OnNotify(command, state, result);
    } catch (...) {
        command->SetFail();
        std::string text = CurrentExceptionText();
        result->Set("Error", text);
        Log("error: notification failed: " + text);
    }
}

void CCommandManager::Log(const std::string& text) const {
    if (logSink) {
        logSink(text);
    }
}

}  // namespace LauncherLib
