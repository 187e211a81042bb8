// A window class whose procedure records every message, and the helpers the window-system
// tests share.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "plat/headless.h"
#include "plat/message_queue.h"
#include "plat/window.h"

namespace plat::test {

struct Delivered {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Every message the recording procedure received, oldest first.
std::vector<Delivered>& Log();
// The message numbers the window received, in order; with `only`, just those numbers.
std::vector<UINT> MessagesOf(HWND window, const std::vector<UINT>& only = {});
std::vector<Delivered> Received(HWND window, UINT message);

// Answers a message in place of the default procedure; none answers: DefWindowProcW.
using Reaction = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
void React(Reaction reaction);

// Registers "Recording" (with `classStyle`) on first use and creates a window of it.
HWND CreateRecordingWindow(DWORD style, RECT rect, HWND parent = nullptr, DWORD exStyle = 0,
                           UINT classStyle = CS_DBLCLKS, const wchar_t* title = L"");
// A visible popup window at `rect`.
HWND CreateShownWindow(RECT rect, HWND owner = nullptr, DWORD exStyle = 0);

// Takes and dispatches messages until the queue has nothing to give.
void Pump();

// The headless driver with its virtual clock running, a fresh message log per test.
class WindowSystemTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace plat::test
