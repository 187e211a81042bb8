#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plat/headless.h"
#include "plat/input.h"
#include "plat/monitor.h"
#include "window_test_support.h"

namespace plat::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ShowState = WindowSystemTest;

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(ShowState, MovingAndSizingTellTheWindowAndItsSurface) {
    HWND window = CreateShownWindow({10, 20, 110, 70});
    HWND child = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, {5, 6, 15, 16}, window);
    Log().clear();

    EXPECT_TRUE(MoveWindow(window, 30, 40, 200, 100, TRUE));
    EXPECT_THAT(MessagesOf(window, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE}),
                ElementsAre(WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE));
    EXPECT_EQ(Received(window, WM_SIZE)[0].lParam, MAKELPARAM(200, 100));
    EXPECT_TRUE(SameRect(headless::Surface(window)->bounds, {30, 40, 230, 140}));

    Log().clear();
    SetWindowPos(window, nullptr, 0, 0, 300, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_THAT(MessagesOf(window, {WM_SIZE, WM_MOVE}), ElementsAre(WM_SIZE));

    RECT client{};
    GetClientRect(window, &client);
    EXPECT_TRUE(SameRect(client, {0, 0, 300, 100}));
    EXPECT_TRUE(SameRect(WindowRect(child), {35, 46, 45, 56}));
    POINT point{1, 2};
    ClientToScreen(child, &point);
    EXPECT_EQ(point.x, 36);
    ScreenToClient(window, &point);
    EXPECT_EQ(point.y, 8);
}

TEST_F(ShowState, OwnedWindowsHideWithAMinimisedOwnerAndComeBackOnRestore) {
    HWND owner = CreateShownWindow({0, 0, 400, 300});
    HWND owned = CreateShownWindow({50, 50, 150, 150}, owner);
    HWND hiddenOwned = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10}, owner);
    Log().clear();

    ShowWindow(owner, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(owner));
    EXPECT_FALSE(IsWindowVisible(owned));
    EXPECT_FALSE(headless::Surface(owner)->visible);
    EXPECT_FALSE(headless::Surface(owned)->visible);
    EXPECT_EQ(Received(owned, WM_SHOWWINDOW).at(0).lParam, SW_PARENTCLOSING);
    EXPECT_EQ(Received(owner, WM_SIZE).at(0).wParam, SIZE_MINIMIZED);

    ShowWindow(owner, SW_RESTORE);
    EXPECT_FALSE(IsIconic(owner));
    EXPECT_TRUE(IsWindowVisible(owned));
    EXPECT_TRUE(headless::Surface(owned)->visible);
    EXPECT_EQ(Received(owned, WM_SHOWWINDOW).at(1).lParam, SW_PARENTOPENING);
    // A window hidden before stays hidden.
    EXPECT_FALSE(IsWindowVisible(hiddenOwned));
    EXPECT_THAT(MessagesOf(hiddenOwned, {WM_SHOWWINDOW}), IsEmpty());
}

TEST_F(ShowState, ShowCommandsSetTheStateBitsAndActivation) {
    struct Case {
        int command;
        DWORD stateBits;  // of WS_VISIBLE, WS_MINIMIZE, WS_MAXIMIZE
        bool active;
    };
    const Case cases[] = {
        {SW_SHOWNA, WS_VISIBLE, false},
        {SW_SHOW, WS_VISIBLE, true},
        {SW_SHOWMAXIMIZED, WS_VISIBLE | WS_MAXIMIZE, true},
        {SW_SHOWMINNOACTIVE, WS_VISIBLE | WS_MINIMIZE, false},
        {SW_SHOWNORMAL, WS_VISIBLE, true},
        {SW_HIDE, 0, false},
    };
    for (const Case& c : cases) {
        HWND window = CreateRecordingWindow(WS_POPUP, {100, 100, 200, 150});
        SetActiveWindow(nullptr);
        ShowWindow(window, c.command);
        DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
        EXPECT_EQ(style & (WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE), c.stateBits) << c.command;
        EXPECT_EQ(GetActiveWindow() == window, c.active) << c.command;
        DestroyWindow(window);
    }
}

TEST_F(ShowState, MaximisingFillsTheWorkAreaAndRestoringReturns) {
    HWND window = CreateShownWindow({100, 100, 200, 150});
    ShowWindow(window, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_TRUE(SameRect(WindowRect(window), {0, 0, 1920, 1040}));
    EXPECT_EQ(Received(window, WM_SIZE).back().wParam, SIZE_MAXIMIZED);
    ShowWindow(window, SW_RESTORE);
    EXPECT_TRUE(SameRect(WindowRect(window), {100, 100, 200, 150}));
}

TEST_F(ShowState, TheScreenIsOneMonitorWithATaskBarAtTheBottom) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_TRUE(SameRect(work, {0, 0, 1920, 1040}));

    HWND onScreen = CreateRecordingWindow(WS_POPUP, {1800, 1000, 2000, 1100});
    HWND offScreen = CreateRecordingWindow(WS_POPUP, {3000, 0, 3100, 100});
    HMONITOR monitor = MonitorFromWindow(onScreen, MONITOR_DEFAULTTONULL);
    ASSERT_NE(monitor, nullptr);
    EXPECT_EQ(MonitorFromWindow(offScreen, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromWindow(offScreen, MONITOR_DEFAULTTONEAREST), monitor);
    EXPECT_EQ(MonitorFromPoint({-5, -5}, MONITOR_DEFAULTTOPRIMARY), monitor);

    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetMonitorInfoW(monitor, &info));
    EXPECT_TRUE(SameRect(info.rcMonitor, {0, 0, 1920, 1080}));
    EXPECT_TRUE(SameRect(info.rcWork, {0, 0, 1920, 1040}));
    EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
    info.cbSize = 4;
    EXPECT_FALSE(GetMonitorInfoW(monitor, &info));
}

}  // namespace
}  // namespace plat::test
