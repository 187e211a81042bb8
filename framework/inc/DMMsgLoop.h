// The message loop of one UI thread: message filters see every message before it is
// translated and dispatched, idle handlers run while the queue is empty.
#pragma once

#include <mutex>
#include <vector>

#include "DMDef.h"
#include "DMMapT.h"
#include "DMRefNum.h"
#include "plat/message_queue.h"

namespace DM {

class IDMMessageFilter {
public:
    virtual ~IDMMessageFilter() = default;
    // True when the filter consumed the message.
    virtual bool PreTranslateMessage(plat::MSG* message) = 0;

    // The thread whose loop the filter belongs to.
    DWORD m_dwThreadId = plat::GetCurrentThreadId();
};

class IDMIdleHandler {
public:
    virtual ~IDMIdleHandler() = default;
    // True when more idle calls are wanted.
    virtual bool OnIdle(int idleCount) = 0;
};

class DMMsgLoop : public DMRefNum {
public:
    // The quit message's first parameter.
    virtual int Run();
    virtual bool PreTranslateMessage(plat::MSG* message);
    virtual bool OnIdle(int idleCount);

    // Added once; false when present already / not present.
    bool AddMessageFilter(IDMMessageFilter* filter);
    bool RemoveMessageFilter(IDMMessageFilter* filter);
    bool AddIdleHandler(IDMIdleHandler* handler);
    bool RemoveIdleHandler(IDMIdleHandler* handler);

    // How many Run calls of the thread share this loop.
    int m_nUseCount = 0;

private:
    std::mutex m_filterLock;
    std::vector<IDMMessageFilter*> m_filters;
    std::mutex m_idleLock;
    std::vector<IDMIdleHandler*> m_idleHandlers;
    plat::MSG m_msg{};
};

// The message loops of all UI threads, by thread id.
class DMMsgLoopTool {
public:
    // A loop still registered holds the reference it was registered with; it is released here.
    ~DMMsgLoopTool();

    // Registers the loop for the calling thread; false, with a log line, for no loop or when
    // the thread has one already.
    bool AddMessageLoop(DMMsgLoop* loop);
    DMMsgLoop* GetMessageLoop(DWORD threadId);
    bool RemoveMessageLoop();

private:
    std::mutex m_lock;
    DMMapT<DWORD, DMMsgLoop*> m_loops;
};

}  // namespace DM
