#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "plat/headless.h"
#include "plat/message_queue.h"
#include "plat/tick.h"
#include "plat/timer.h"
#include "window_test_support.h"

namespace plat::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Timers = WindowSystemTest;

struct Fired {
    DWORD tick;
    WPARAM id;
    bool operator==(const Fired&) const = default;
};

// Advances the virtual clock in steps, pumping after each, and lists the WM_TIMERs.
std::vector<Fired> RunClock(HWND window, DWORD step, int steps) {
    std::vector<Fired> fired;
    for (int i = 0; i < steps; ++i) {
        headless::AdvanceClock(step);
        Log().clear();
        Pump();
        for (const Delivered& timer : Received(window, WM_TIMER)) {
            fired.push_back({GetTickCount(), timer.wParam});
        }
    }
    return fired;
}

TEST_F(Timers, FireInOrderOfDueTimeUnderTheVirtualClock) {
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    SetTimer(window, 1, 30, nullptr);
    SetTimer(window, 2, 10, nullptr);
    SetTimer(window, 3, 20, nullptr);

    EXPECT_THAT(RunClock(window, 10, 4),
                ElementsAre(Fired{1010, 2}, Fired{1020, 2}, Fired{1020, 3}, Fired{1030, 1},
                            Fired{1030, 2}, Fired{1040, 2}, Fired{1040, 3}));
}

TEST_F(Timers, AKilledTimerNeverFires) {
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    SetTimer(window, 1, 10, nullptr);
    SetTimer(window, 2, 10, nullptr);
    // The first timer's handler kills the second, which is due at the same moment.
    React([](HWND window, UINT message, WPARAM id, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER && id == 1) {
            KillTimer(window, 2);
        }
        return std::nullopt;
    });
    EXPECT_THAT(RunClock(window, 10, 3),
                ElementsAre(Fired{1010, 1}, Fired{1020, 1}, Fired{1030, 1}));

    headless::AdvanceClock(10);
    KillTimer(window, 1);  // due again at 1040, killed before it is taken
    EXPECT_THAT(RunClock(window, 10, 2), IsEmpty());
    EXPECT_FALSE(KillTimer(window, 1));
}

TEST_F(Timers, ALateTimerMakesOneMessageNotAPile) {
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    SetTimer(window, 1, 10, nullptr);
    EXPECT_THAT(RunClock(window, 100, 1), ElementsAre(Fired{1100, 1}));
    // The next period starts when the message was taken.
    EXPECT_THAT(RunClock(window, 5, 3), ElementsAre(Fired{1110, 1}));
}

TEST_F(Timers, SettingATimerAgainRestartsItAndDestroyingTheWindowEndsIt) {
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    SetTimer(window, 1, 20, nullptr);
    headless::AdvanceClock(15);
    SetTimer(window, 1, 20, nullptr);
    EXPECT_THAT(RunClock(window, 10, 2), ElementsAre(Fired{1035, 1}));
    DestroyWindow(window);
    EXPECT_FALSE(KillTimer(window, 1));
}

std::vector<std::pair<UINT_PTR, DWORD>> callbackCalls;

void TimerCallback(HWND window, UINT message, UINT_PTR id, DWORD time) {
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(message, WM_TIMER);
    callbackCalls.emplace_back(id, time);
}

TEST_F(Timers, ThreadTimersCallTheirCallbackWithTheClockTime) {
    UINT_PTR id = SetTimer(nullptr, 0, 50, TimerCallback);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(SetTimer(nullptr, id, 25, TimerCallback), id);  // the same timer, restarted

    headless::AdvanceClock(25);
    Pump();
    EXPECT_THAT(callbackCalls, ElementsAre(std::pair<UINT_PTR, DWORD>{id, 1025}));
    EXPECT_EQ(GetMessageTime(), 1025);
    EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(Timers, AWaitingThreadWakesWhenTheClockReachesItsTimer) {
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    SetTimer(window, 9, 10, nullptr);
    std::thread clock([] { headless::AdvanceClock(10); });
    MSG message;
    ASSERT_TRUE(GetMessageW(&message, nullptr, 0, 0));
    clock.join();
    EXPECT_EQ(message.message, WM_TIMER);
    EXPECT_EQ(message.wParam, 9u);
}

}  // namespace
}  // namespace plat::test
