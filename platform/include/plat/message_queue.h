// Per-thread message queues: posted and sent messages, the quit message, retrieval with the
// paint and timer messages made when nothing else waits, keyboard translation and dispatch.
//
// Retrieval takes, in this order: messages sent from other threads (delivered straight to
// their window procedures), posted messages in the order they were posted, input, the quit
// message, WM_PAINT for a visible window of the thread with an invalid area, and WM_TIMER for
// the earliest due timer of the thread.
#pragma once

#include "plat/messages.h"
#include "plat/types.h"

namespace plat {

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

DWORD GetCurrentThreadId();

// Appends the message to the queue of the window's thread and wakes that thread. A null
// window posts to the calling thread. FALSE for a window that does not exist.
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// FALSE when the thread has no queue yet (it has created no window and retrieved nothing).
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window procedure and answers its result. For a window of another thread the
// caller waits until that thread has processed the message, serving messages sent to itself
// in the meantime. 0 for a window that does not exist.
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Makes the calling thread's retrieval answer WM_QUIT with `exitCode` once its posted messages
// and input are taken.
void PostQuitMessage(int exitCode);

// `window` (null: any) and the range first..last (both 0: any) select the messages taken.
// GetMessageW blocks until one arrives and answers 0 for WM_QUIT, -1 for an invalid window
// filter, otherwise non-zero.
BOOL GetMessageW(MSG* message, HWND window, UINT first, UINT last);
BOOL PeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT removal);

// For WM_KEYDOWN of a key with a character, posts WM_CHAR with that character (shift, caps
// lock and control applied) to be taken next. Answers whether the message was a key message.
BOOL TranslateMessage(const MSG* message);
// Calls the window procedure (or the callback of a WM_TIMER) and answers its result.
LRESULT DispatchMessageW(const MSG* message);

// Time and cursor position of the last message the calling thread retrieved.
LONG GetMessageTime();
DWORD GetMessagePos();

}  // namespace plat
