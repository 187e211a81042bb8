#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

#include "plat/headless.h"
#include "plat/input.h"
#include "plat/keyboard.h"
#include "plat/message_queue.h"
#include "plat/paint.h"
#include "window_test_support.h"

namespace plat::test {
namespace {

using ::testing::ElementsAre;
using MessageQueue = WindowSystemTest;

TEST_F(MessageQueue, PostedMessagesComeInOrderAndTheQuitMessageAfterThem) {
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    PostMessageW(window, WM_USER, 1, 0);
    PostQuitMessage(7);
    PostMessageW(window, WM_USER, 2, 0);
    PostMessageW(nullptr, WM_USER, 3, 0);

    std::vector<WPARAM> taken;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0)) {
        taken.push_back(message.wParam);
        EXPECT_EQ(message.hwnd, message.wParam == 3 ? nullptr : window);
    }
    EXPECT_THAT(taken, ElementsAre(1, 2, 3));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, PeekWithoutRemovingAndFiltersLeaveOtherMessagesQueued) {
    HWND first = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    HWND second = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    PostMessageW(first, WM_USER, 0, 0);
    PostMessageW(second, WM_USER + 5, 0, 0);

    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageW(&message, second, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_USER + 5u);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_USER + 1, WM_USER + 9, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, first);
    EXPECT_EQ(PostMessageW(reinterpret_cast<HWND>(0x4242), WM_USER, 0, 0), FALSE);
}

TEST_F(MessageQueue, PostingFromThreeThreadsAtOnceLosesNothing) {
    constexpr int kPerThread = 2000;
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    std::vector<std::thread> posters;
    for (int thread = 0; thread < 3; ++thread) {
        posters.emplace_back([=] {
            for (int sequence = 0; sequence < kPerThread; ++sequence) {
                PostMessageW(window, WM_USER, thread, sequence);
            }
        });
    }

    std::map<WPARAM, LPARAM> nextExpected;
    MSG message;
    for (int received = 0; received < 3 * kPerThread; ++received) {
        ASSERT_TRUE(GetMessageW(&message, nullptr, 0, 0));
        ASSERT_EQ(message.message, WM_USER);
        // Each thread's messages keep their order.
        EXPECT_EQ(message.lParam, nextExpected[message.wParam]++);
    }
    for (std::thread& poster : posters) {
        poster.join();
    }
    EXPECT_THAT(nextExpected, ElementsAre(std::pair<const WPARAM, LPARAM>{0, kPerThread},
                                          std::pair<const WPARAM, LPARAM>{1, kPerThread},
                                          std::pair<const WPARAM, LPARAM>{2, kPerThread}));
}

TEST_F(MessageQueue, PostThreadMessageReachesAThreadWithAQueue) {
    DWORD worker = 0;
    std::atomic<bool> ready = false;
    std::thread thread([&] {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
        worker = GetCurrentThreadId();
        ready = true;
        GetMessageW(&message, nullptr, 0, 0);
        EXPECT_EQ(message.message, WM_USER + 1);
        EXPECT_EQ(message.hwnd, nullptr);
    });
    while (!ready) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(PostThreadMessageW(worker, WM_USER + 1, 0, 0));
    thread.join();
    EXPECT_FALSE(PostThreadMessageW(worker, WM_USER + 1, 0, 0));
}

// The window's thread runs the procedure while the sender waits; a sender still serves what
// is sent to its own windows, so two threads sending to each other do not block.
TEST_F(MessageQueue, SendMessageAcrossThreadsRunsOnTheWindowsThread) {
    HWND mainWindow = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    DWORD mainThread = GetCurrentThreadId();
    std::atomic<HWND> workerWindow = nullptr;
    std::atomic<DWORD> servedOn = 0;
    React([&](HWND window, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER && window == mainWindow) {
            servedOn = GetCurrentThreadId();
            return SendMessageW(workerWindow, WM_USER + 1, wParam, 0) + 1;
        }
        if (message == WM_USER + 1) {
            return static_cast<LRESULT>(wParam * 10);
        }
        return std::nullopt;
    });
    LRESULT answer = 0;
    std::thread worker([&] {
        workerWindow = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
        answer = SendMessageW(mainWindow, WM_USER, 4, 0);
        PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    });
    MSG message;
    while (IsWindow(mainWindow) && GetMessageW(&message, nullptr, 0, 0)) {
        DispatchMessageW(&message);
    }
    worker.join();
    EXPECT_EQ(answer, 41);
    EXPECT_EQ(servedOn, mainThread);
}

// A message sent to a thread that ends without taking it, or that has ended, is answered 0 at
// once instead of keeping its sender waiting.
TEST_F(MessageQueue, SendingToAThreadThatEndedAnswersAtOnce) {
    std::atomic<HWND> window = nullptr;
    std::atomic<bool> end = false;
    std::thread owner([&] {
        window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
        while (!end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    while (!window) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::atomic<bool> returned = false;
    std::atomic<LRESULT> answer = -1;
    std::thread sender([&] {
        answer = SendMessageW(window, WM_USER, 0, 0);
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    end = true;
    owner.join();
    for (int waited = 0; !returned && waited < 5000; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!returned) {
        sender.detach();
        FAIL() << "the sender still waits";
    }
    sender.join();
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 0);
}

TEST_F(MessageQueue, PaintComesOnlyWhenTheQueueIsEmptyAndOnlyForInvalidShownWindows) {
    HWND shown = CreateShownWindow({0, 0, 100, 100});
    HWND hidden = CreateRecordingWindow(WS_POPUP, {0, 0, 100, 100});
    Pump();  // the first paint after showing
    Log().clear();

    RECT first{10, 10, 20, 20};
    RECT second{50, 40, 60, 70};
    InvalidateRect(shown, &first, FALSE);
    InvalidateRect(shown, &second, FALSE);
    InvalidateRect(hidden, nullptr, FALSE);
    PostMessageW(shown, WM_USER, 0, 0);
    RECT painted{};
    React([&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_PAINT) {
            return std::nullopt;
        }
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        painted = paint.rcPaint;
        EndPaint(window, &paint);
        return 0;
    });
    Pump();

    EXPECT_THAT(MessagesOf(shown, {WM_USER, WM_PAINT}), ElementsAre(WM_USER, WM_PAINT));
    EXPECT_EQ(painted.left, 10);
    EXPECT_EQ(painted.top, 10);
    EXPECT_EQ(painted.right, 60);
    EXPECT_EQ(painted.bottom, 70);
    EXPECT_TRUE(MessagesOf(hidden, {WM_PAINT}).empty());
    EXPECT_TRUE(GetUpdateRect(hidden, nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(shown, nullptr, FALSE));
}

TEST_F(MessageQueue, TranslateMessageTurnsKeyPressesIntoCharacters) {
    struct Case {
        std::vector<UINT> held;
        UINT key;
        WPARAM character;  // 0: no WM_CHAR
    };
    const Case cases[] = {
        {{}, 'A', L'a'},  {{VK_SHIFT}, 'A', L'A'}, {{VK_SHIFT}, '1', L'!'},  {{}, VK_RETURN, L'\r'},
        {{}, VK_LEFT, 0}, {{VK_CONTROL}, 'C', 3},  {{VK_SHIFT}, 0xBA, L':'},
    };
    HWND window = CreateShownWindow({0, 0, 10, 10});
    SetFocus(window);
    for (const Case& c : cases) {
        for (UINT key : c.held) {
            headless::PressKey(key);
        }
        headless::TapKey(c.key);
        for (UINT key : c.held) {
            headless::ReleaseKey(key);
        }
        Log().clear();
        Pump();
        std::vector<Delivered> characters = Received(window, WM_CHAR);
        ASSERT_EQ(characters.size(), c.character ? 1u : 0u) << "key " << c.key;
        if (c.character) {
            EXPECT_EQ(characters[0].wParam, c.character);
        }
        EXPECT_EQ(MessagesOf(window, {WM_KEYDOWN, WM_CHAR}).front(), WM_KEYDOWN);
    }
}

}  // namespace
}  // namespace plat::test
