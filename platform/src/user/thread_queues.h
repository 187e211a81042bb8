// The message queue of each thread: posted messages, messages sent from other threads, input
// waiting to be turned into messages, the quit request and the thread's timers.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "plat/driver.h"
#include "plat/messages.h"
#include "plat/timer.h"
#include "user/window_records.h"

namespace plat::user {

struct ThreadQueue;

struct SentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;
    std::shared_ptr<ThreadQueue> sender;
};

// Input keeps its raw form until the thread takes it, because the window it reaches and the
// message it becomes depend on the hit test and the capture at that moment.
struct QueuedInput {
    InputEvent event;
    HWND target;
    WPARAM keyFlags;  // MK_* at the time of the input
    LPARAM keyData;   // the second parameter of a key message: repeat count and state bits
    DWORD time;
    std::optional<MSG> message;  // once turned into a message
};

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT period;
    ULONGLONG due;
    TIMERPROC callback;
    std::uint64_t order;  // breaks ties between timers due at the same tick
};

struct ThreadQueue {
    DWORD threadId;
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<SentMessage>> sent;
    std::deque<QueuedInput> input;
    std::deque<SurfaceEvent> surfaceEvents;  // what the window manager did, not yet followed
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    std::condition_variable wake;
    std::uint64_t wakeups = 0;  // counts WakeQueue calls, so a waiter sees what it missed
    MSG lastTaken{};
    wchar_t lastKeyCharacter = 0;  // the layout's character of lastTaken when it is a key-down
};

// These need the window-system lock.
// The calling thread's queue, made on first use.
ThreadQueue& CurrentQueue();
std::shared_ptr<ThreadQueue> CurrentQueuePointer();
std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId);
void WakeQueue(ThreadQueue& queue);
void WakeAllQueues();
// Runs the procedures of the messages other threads sent to this one; releases the lock
// around each call.
void ServeSentMessages(Guard& lock, ThreadQueue& queue);
// Waits until something is queued or woken, or until the tick `until` when given.
void WaitForActivity(Guard& lock, ThreadQueue& queue, std::optional<ULONGLONG> until);
// On the driver's native event thread: handles the native events that are pending, without
// waiting, so that input reaches the queue before it is looked at. Releases the lock meanwhile.
void RunPendingNativeEvents(Guard& lock, ThreadQueue& queue);

// Calls the window's procedure on this thread, releasing the lock around the call.
LRESULT CallProcedureUnlocked(Guard& lock, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace plat::user
