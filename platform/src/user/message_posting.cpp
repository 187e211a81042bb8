// Posting and sending messages.
#include "plat/cursor.h"
#include "plat/input.h"
#include "plat/message_queue.h"
#include "plat/tick.h"
#include "user/thread_queues.h"

namespace plat {
namespace {

using user::Guard;

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG posted{window, message, wParam, lParam, GetTickCount(), {}};
    GetCursorPos(&posted.pt);
    return posted;
}

BOOL PostToQueue(Guard& lock, DWORD threadId, const MSG& message) {
    std::shared_ptr<user::ThreadQueue> queue = user::QueueOf(threadId);
    if (!queue) {
        return FALSE;
    }
    queue->posted.push_back(message);
    user::WakeQueue(*queue);
    lock.unlock();
    return TRUE;
}

LRESULT SendToOtherThread(Guard& lock, std::shared_ptr<user::ThreadQueue> target,
                          const user::SentMessage& message) {
    auto sent = std::make_shared<user::SentMessage>(message);
    sent->sender = user::CurrentQueuePointer();
    target->sent.push_back(sent);
    user::WakeQueue(*target);
    while (!sent->done) {
        user::ServeSentMessages(lock, *sent->sender);
        if (!sent->done) {
            user::WaitForActivity(lock, *sent->sender, std::nullopt);
        }
    }
    return sent->result;
}

}  // namespace

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG posted = MakeMessage(window, message, wParam, lParam);
    Guard lock(user::WindowSystemLock());
    if (!window) {
        return PostToQueue(lock, user::CurrentQueue().threadId, posted);
    }
    user::WindowRecord* record = user::FindWindowRecord(window);
    return record ? PostToQueue(lock, record->threadId, posted) : FALSE;
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG posted = MakeMessage(nullptr, message, wParam, lParam);
    Guard lock(user::WindowSystemLock());
    return PostToQueue(lock, threadId, posted);
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return 0;
    }
    if (record->threadId == GetCurrentThreadId()) {
        return user::CallProcedureUnlocked(lock, window, message, wParam, lParam);
    }
    std::shared_ptr<user::ThreadQueue> target = user::QueueOf(record->threadId);
    if (!target) {
        return 0;
    }
    user::SentMessage sent{window, message, wParam, lParam, 0, false, nullptr};
    return SendToOtherThread(lock, target, sent);
}

void PostQuitMessage(int exitCode) {
    Guard lock(user::WindowSystemLock());
    user::ThreadQueue& queue = user::CurrentQueue();
    queue.quitPosted = true;
    queue.quitCode = exitCode;
    user::WakeQueue(queue);
}

}  // namespace plat
