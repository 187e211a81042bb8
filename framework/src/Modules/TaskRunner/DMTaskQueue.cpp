#include "DMTaskQueue.h"

#include <cstdlib>

#include "DMApp.h"
#include "plat/debug_output.h"
#include "plat/messages.h"

namespace DM {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kStopWait{1000};
constexpr milliseconds kDrainWait{3000};
constexpr milliseconds kSettle{100};
constexpr milliseconds kEndWait{5000};

}  // namespace

bool DMUITaskHandler::Create() {
    m_dwThreadId = plat::GetCurrentThreadId();
    m_hTaskWnd = CreateWindowEx(plat::MAKEINTATOM(DMApp::GetObjPtr()->GetClassAtom()), L"", 0, 0, 0,
                                0, 0, 0, plat::HWND_MESSAGE, nullptr);
    if (!m_hTaskWnd) {
        return false;
    }
    m_self = shared_from_this();
    return true;
}

void DMUITaskHandler::OnFinalMessage(HWND) {
    m_self.reset();
}

bool DMUITaskHandler::Post(UINT message, IDMTask* task) {
    std::lock_guard<std::mutex> guard(m_postLock);
    if (m_bClosed || !plat::PostMessageW(m_hTaskWnd, message, 0, reinterpret_cast<LPARAM>(task))) {
        task->Release();
        return false;
    }
    return true;
}

LRESULT DMUITaskHandler::OnTask(UINT, WPARAM, LPARAM lParam) {
    auto* task = reinterpret_cast<IDMTask*>(lParam);
    task->Run();
    task->Release();
    return 0;
}

// No task is queued once the window closes; those already queued are released unrun.
LRESULT DMUITaskHandler::OnDestroy(UINT, WPARAM, LPARAM) {
    {
        std::lock_guard<std::mutex> guard(m_postLock);
        m_bClosed = true;
    }
    plat::MSG queued{};
    while (
        plat::PeekMessageW(&queued, m_hTaskWnd, DMMSG_SLOTTASK, DMMSG_POSTTASK, plat::PM_REMOVE)) {
        reinterpret_cast<IDMTask*>(queued.lParam)->Release();
    }
    SetMsgHandled(false);
    return 0;
}

// From another thread the window is asked to close, and given a second to do so.
void DMUITaskHandler::Destroy() {
    HWND window = m_hTaskWnd;
    if (plat::GetCurrentThreadId() == m_dwThreadId) {
        plat::DestroyWindow(window);
        return;
    }
    plat::PostMessageW(window, plat::WM_CLOSE, 0, 0);
    Clock::time_point until = Clock::now() + kStopWait;
    while (plat::IsWindow(window) && Clock::now() < until) {
        std::this_thread::sleep_for(milliseconds(10));
    }
}

DMWorkTaskHandler::~DMWorkTaskHandler() {
    Stop();
}

bool DMWorkTaskHandler::Start() {
    m_thread = std::thread(&DMWorkTaskHandler::Loop, this);
    return m_thread.joinable();
}

bool DMWorkTaskHandler::IsWorkerThread() const {
    return m_dwThreadId != 0 && m_dwThreadId == plat::GetCurrentThreadId();
}

void DMWorkTaskHandler::Post(IDMTask* task) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_incoming.push_back(DMSmartPtrT<IDMTask>::Adopt(task));
    if (!IsWorkerThread()) {
        m_bWake = true;
        m_changed.notify_all();
    }
}

bool DMWorkTaskHandler::DrainMessages() {
    plat::MSG message{};
    while (plat::PeekMessageW(&message, nullptr, 0, 0, plat::PM_REMOVE)) {
        if (message.message == plat::WM_QUIT) {
            return false;
        }
        plat::TranslateMessage(&message);
        plat::DispatchMessageW(&message);
    }
    return true;
}

void DMWorkTaskHandler::RunPending() {
    std::deque<DMSmartPtrT<IDMTask>> work;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        work.swap(m_incoming);
    }
    for (DMSmartPtrT<IDMTask>& task : work) {
        task->Run();
        task.Release();
    }
    std::lock_guard<std::mutex> guard(m_lock);
    m_bDone = true;
    m_changed.notify_all();
}

bool DMWorkTaskHandler::WaitForWake(milliseconds limit) {
    std::unique_lock<std::mutex> lock(m_lock);
    auto woken = [this] { return m_bWake || m_bStop || !m_incoming.empty(); };
    if (limit.count() < 0) {
        m_changed.wait(lock, woken);
    } else {
        m_changed.wait_for(lock, limit, woken);
    }
    m_bWake = false;
    return true;
}

void DMWorkTaskHandler::Loop() {
    m_dwThreadId = plat::GetCurrentThreadId();
    while (DrainMessages()) {
        RunPending();
        if (m_bStop) {
            break;
        }
        WaitForWake(milliseconds(m_nWaitMs));
    }
    std::lock_guard<std::mutex> guard(m_lock);
    m_incoming.clear();
    m_bDone = true;
    m_dwThreadId = 0;
    m_bEnded = true;
    m_changed.notify_all();
}

// Waits for what is queued and for the thread; a worker that does not finish in time takes
// the process down, since its tasks may hold anything.
void DMWorkTaskHandler::Stop() {
    if (IsWorkerThread() || !IsRunning()) {
        return;
    }
    std::unique_lock<std::mutex> lock(m_lock);
    m_bStop = true;
    if (m_dwThreadId != 0) {
        plat::PostThreadMessageW(m_dwThreadId, plat::WM_QUIT, 0, 0);
    }
    m_nWaitMs = static_cast<int>(kStopWait.count());
    bool failed = false;
    if (!m_incoming.empty()) {
        m_bDone = false;
        m_bWake = true;
        m_changed.notify_all();
        failed = !m_changed.wait_for(lock, kDrainWait, [this] { return m_bDone; });
    }
    m_bWake = true;
    m_bDone = true;
    m_changed.notify_all();
    lock.unlock();
    std::this_thread::sleep_for(kSettle);
    lock.lock();
    bool ended = m_changed.wait_for(lock, kEndWait, [this] { return m_bEnded; });
    lock.unlock();
    if (failed || !ended) {
        plat::OutputDebugStringW(L"[DM][StopTasks]强制退出\n");
        std::_Exit(1);
    }
    m_thread.join();
}

}  // namespace DM
