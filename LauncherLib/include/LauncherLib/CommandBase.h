// The base of every engine command: one object per run, created by name through the registry
// with its id and parameter text, run once by Execute, which fills the shared result map.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "LauncherLib/ResultMap.h"

namespace LauncherLib {

using LogSink = std::function<void(std::string)>;
// Set when the command's owner wants it to stop; long-running commands check it.
using CancelFlag = std::shared_ptr<const std::atomic<bool>>;

class CCommandBase {
public:
    CCommandBase(std::string id, std::string params);
    virtual ~CCommandBase() = default;
    CCommandBase(const CCommandBase&) = delete;
    CCommandBase& operator=(const CCommandBase&) = delete;

    // Runs the whole command synchronously and fills `result`.
    virtual void Execute(ResultMapPtr result) = 0;
    virtual bool IsSuccess() const { return success; }

    void SetSuccess() { success = true; }
    void SetFail() { success = false; }
    // Hands `text` to the log sink when one is set; drops it otherwise.
    void Log(const std::string& text) const;
    void SetLogSink(LogSink sink) { logSink = std::move(sink); }

    const std::string& GetId() const { return id; }
    const std::string& GetParams() const { return params; }
    const std::string& GetTag() const { return tag; }
    void SetTag(std::string newTag) { tag = std::move(newTag); }

    void SetCancelFlag(CancelFlag flag) { cancelFlag = std::move(flag); }
    const CancelFlag& GetCancelFlag() const { return cancelFlag; }
    bool IsCancelled() const { return cancelFlag && cancelFlag->load(); }

private:
    LogSink logSink;
    std::string id;
    std::string params;
    std::string tag;
    bool success = false;
    CancelFlag cancelFlag;
};

using CommandPtr = std::shared_ptr<CCommandBase>;

}  // namespace LauncherLib
