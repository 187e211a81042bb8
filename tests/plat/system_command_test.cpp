#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plat/headless.h"
#include "plat/input.h"
#include "window_test_support.h"

namespace plat::test {
namespace {

using ::testing::ElementsAre;
using SystemCommands = WindowSystemTest;

TEST_F(SystemCommands, MinimiseCommandMinimisesTheWindow) {
    HWND window = CreateShownWindow({0, 0, 100, 100});
    SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_NE(GetActiveWindow(), window);
    SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(window));
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(window));
}

// Two ways to start dragging a window by the pointer: the window sends the caption-drag
// command when pressed, or it answers HTCAPTION and the default handling starts the move.
TEST_F(SystemCommands, ACaptionDragMovesTheWindowWithThePointerUntilRelease) {
    const Reaction starts[] = {
        [](HWND window, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_LBUTTONDOWN) {
                SendMessageW(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
                return 0;
            }
            return std::nullopt;
        },
        [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            return message == WM_NCHITTEST ? std::optional<LRESULT>(HTCAPTION) : std::nullopt;
        },
    };
    for (const Reaction& start : starts) {
        HWND window = CreateShownWindow({100, 100, 300, 200});
        Pump();
        React(start);
        Log().clear();
        headless::MoveMouse(110, 110);
        headless::PressButton();
        headless::MoveMouse(150, 130);
        headless::MoveMouse(200, 160);
        headless::ReleaseButton();
        headless::MoveMouse(210, 170);
        Pump();

        RECT rect{};
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, 190);
        EXPECT_EQ(rect.top, 150);
        EXPECT_EQ(rect.right - rect.left, 200);
        EXPECT_EQ(headless::Surface(window)->bounds.left, 190);
        EXPECT_THAT(MessagesOf(window, {WM_ENTERSIZEMOVE, WM_CAPTURECHANGED, WM_EXITSIZEMOVE}),
                    ElementsAre(WM_ENTERSIZEMOVE, WM_CAPTURECHANGED, WM_EXITSIZEMOVE));
        EXPECT_EQ(MessagesOf(window, {WM_MOVE}).size(), 2u);
        EXPECT_EQ(GetCapture(), nullptr);
        // The moves before the press and after the release reach the window; those between
        // only move it.
        std::vector<UINT> moves =
            MessagesOf(window, {WM_EXITSIZEMOVE, WM_MOUSEMOVE, WM_NCMOUSEMOVE});
        ASSERT_EQ(moves.size(), 3u);
        EXPECT_EQ(moves[1], WM_EXITSIZEMOVE);
        React(nullptr);
        DestroyWindow(window);
    }
}

TEST_F(SystemCommands, DraggingAFrameEdgeSizesTheWindowWithinItsLimits) {
    HWND window = CreateShownWindow({100, 100, 300, 200});
    React([](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_NCHITTEST) {
            return HTBOTTOMRIGHT;
        }
        if (message == WM_GETMINMAXINFO) {
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {150, 80};
            return 0;
        }
        return std::nullopt;
    });
    headless::MoveMouse(295, 195);
    headless::PressButton();
    headless::MoveMouse(325, 125);
    headless::ReleaseButton();
    Pump();

    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.right, 330);
    EXPECT_EQ(rect.bottom, 180);  // held at the minimum height
}

}  // namespace
}  // namespace plat::test
