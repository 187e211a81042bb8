#include "user/thread_queues.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <unordered_map>

#include "kernel/virtual_clock.h"
#include "plat/message_queue.h"
#include "plat/tick.h"

namespace plat::user {
namespace {

std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>>& Queues() {
    static auto* queues = new std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>>;
    return *queues;
}

// Forgets the thread's queue when the thread ends; what other threads sent to it and it did
// not serve is answered 0, so that their senders go on.
struct QueueOwnership {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueOwnership() {
        if (!queue) {
            return;
        }
        std::lock_guard<std::mutex> guard(WindowSystemLock());
        Queues().erase(queue->threadId);
        for (const std::shared_ptr<SentMessage>& sent : queue->sent) {
            sent->done = true;
            WakeQueue(*sent->sender);
        }
        queue->sent.clear();
    }
};

thread_local QueueOwnership ownership;

bool WaitsForNativeEvents(const ThreadQueue& queue) {
    return CurrentDriver().NativeEventThread() == queue.threadId;
}

int MillisecondsUntil(std::optional<ULONGLONG> until) {
    if (!until || kernel::VirtualClockRunning()) {
        return -1;  // the virtual clock moves only with a wake-up
    }
    ULONGLONG now = GetTickCount64();
    return *until > now ? static_cast<int>(*until - now) : 0;
}

}  // namespace

ThreadQueue& CurrentQueue() {
    return *CurrentQueuePointer();
}

std::shared_ptr<ThreadQueue> CurrentQueuePointer() {
    if (!ownership.queue) {
        ownership.queue = std::make_shared<ThreadQueue>();
        ownership.queue->threadId = GetCurrentThreadId();
        Queues()[ownership.queue->threadId] = ownership.queue;
    }
    return ownership.queue;
}

std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId) {
    auto found = Queues().find(threadId);
    return found == Queues().end() ? nullptr : found->second;
}

void WakeQueue(ThreadQueue& queue) {
    ++queue.wakeups;
    queue.wake.notify_all();
    if (WaitsForNativeEvents(queue)) {
        CurrentDriver().Wake();
    }
}

void WakeAllQueues() {
    for (auto& [threadId, queue] : Queues()) {
        WakeQueue(*queue);
    }
}

void ServeSentMessages(Guard& lock, ThreadQueue& queue) {
    while (!queue.sent.empty()) {
        std::shared_ptr<SentMessage> sent = queue.sent.front();
        queue.sent.pop_front();
        LRESULT result =
            CallProcedureUnlocked(lock, sent->window, sent->message, sent->wParam, sent->lParam);
        sent->result = result;
        sent->done = true;
        WakeQueue(*sent->sender);
    }
}

void WaitForActivity(Guard& lock, ThreadQueue& queue, std::optional<ULONGLONG> until) {
    int timeout = MillisecondsUntil(until);
    if (timeout == 0) {
        return;
    }
    if (WaitsForNativeEvents(queue)) {
        lock.unlock();
        CurrentDriver().RunNativeEvents(timeout);
        lock.lock();
    } else if (timeout < 0) {
        queue.wake.wait(lock);
    } else {
        queue.wake.wait_for(lock, std::chrono::milliseconds(timeout));
    }
}

void RunPendingNativeEvents(Guard& lock, ThreadQueue& queue) {
    if (WaitsForNativeEvents(queue)) {
        lock.unlock();
        CurrentDriver().RunNativeEvents(0);
        lock.lock();
    }
}

LRESULT CallProcedureUnlocked(Guard& lock, HWND window, UINT message, WPARAM wParam,
                              LPARAM lParam) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record || !record->procedure) {
        return 0;
    }
    WNDPROC procedure = record->procedure;
    lock.unlock();
    LRESULT result = procedure(window, message, wParam, lParam);
    lock.lock();
    return result;
}

}  // namespace plat::user

namespace plat {

DWORD GetCurrentThreadId() {
    static thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
    return id;
}

}  // namespace plat
