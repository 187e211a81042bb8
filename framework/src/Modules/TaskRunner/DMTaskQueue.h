// Where queued tasks run: the UI thread, through a message-only window, or the worker thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "DMCWnd.h"
#include "DMSmartPtrT.h"
#include "IDMTaskRunner.h"

namespace DM {

constexpr UINT DMMSG_SLOTTASK = 2792;
constexpr UINT DMMSG_POSTTASK = 2793;

// A message-only window of the UI thread: each of its two messages carries one task, which
// it runs and releases.
class DMUITaskHandler : public DMCWnd {
public:
    DM_BEGIN_MSG_MAP(DMUITaskHandler)
    DM_MESSAGE_HANDLER(DMMSG_SLOTTASK, OnTask)
    DM_MESSAGE_HANDLER(DMMSG_POSTTASK, OnTask)
    DM_END_MSG_MAP()

    bool Create();
    // False, with the task released, when the window is gone.
    bool Post(UINT message, IDMTask* task);
    void Destroy();

    DWORD m_dwThreadId = 0;

private:
    LRESULT OnTask(UINT message, WPARAM wParam, LPARAM lParam);
};

// One worker thread that runs the tasks posted to it in order.
class DMWorkTaskHandler {
public:
    ~DMWorkTaskHandler();

    bool Start();
    // Queues the task; the worker's own posts wait for its next pass without a wake-up.
    void Post(IDMTask* task);
    // Stops the worker; a worker that does not end in time ends the process.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }
    bool IsWorkerThread() const;

private:
    void Loop();
    bool DrainMessages();
    void RunPending();
    bool WaitForWake(std::chrono::milliseconds limit);

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<DMSmartPtrT<IDMTask>> m_incoming;
    bool m_bWake = false;
    bool m_bDone = false;
    bool m_bEnded = false;
    // Read by the worker and by posting threads without the lock.
    std::atomic<bool> m_bStop{false};
    std::atomic<DWORD> m_dwThreadId{0};
    std::atomic<int> m_nWaitMs{-1};
    std::thread m_thread;
};

}  // namespace DM
