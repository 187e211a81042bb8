// Where queued tasks run: the UI thread, through a message-only window, or the worker thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "DMCWnd.h"
#include "DMSmartPtrT.h"
#include "IDMTaskRunner.h"

namespace DM {

constexpr UINT DMMSG_SLOTTASK = 2792;
constexpr UINT DMMSG_POSTTASK = 2793;

// A message-only window of the UI thread: each of its two messages carries one task, which
// it runs and releases. While its window exists the handler holds a reference to itself, so a
// teardown from another thread never frees it under a task the UI thread is running.
class DMUITaskHandler : public DMCWnd, public std::enable_shared_from_this<DMUITaskHandler> {
public:
    DM_BEGIN_MSG_MAP(DMUITaskHandler)
    DM_MESSAGE_HANDLER(DMMSG_SLOTTASK, OnTask)
    DM_MESSAGE_HANDLER(DMMSG_POSTTASK, OnTask)
    DM_MESSAGE_HANDLER(plat::WM_DESTROY, OnDestroy)
    DM_END_MSG_MAP()

    // Only through make_shared.
    bool Create();
    // False, with the task released, when the window is closing or gone.
    bool Post(UINT message, IDMTask* task);
    // Closes the window: at once on its own thread, else by asking the UI thread and waiting a
    // while; the window lets go of the handler when it is really gone.
    void Destroy();
    void OnFinalMessage(HWND window) override;

    DWORD m_dwThreadId = 0;

private:
    LRESULT OnTask(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam);

    // The window as created; other threads post to it while the UI thread may destroy it.
    HWND m_hTaskWnd = nullptr;
    std::mutex m_postLock;
    bool m_bClosed = false;
    std::shared_ptr<DMUITaskHandler> m_self;
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
