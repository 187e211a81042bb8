#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plat/headless.h"
#include "plat/input.h"
#include "plat/keyboard.h"
#include "plat/layered.h"
#include "window_test_support.h"

namespace plat::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Input = WindowSystemTest;

constexpr UINT kPressMessages[] = {WM_NCHITTEST,   WM_MOUSEACTIVATE, WM_SETCURSOR,
                                   WM_LBUTTONDOWN, WM_LBUTTONUP,     WM_LBUTTONDBLCLK};

std::vector<UINT> PressMessagesOf(HWND window) {
    return MessagesOf(window, {std::begin(kPressMessages), std::end(kPressMessages)});
}

TEST_F(Input, APressIsHitTestedAndGoesToTheWindowUnderThePointInClientCoordinates) {
    HWND back = CreateShownWindow({0, 0, 300, 300});
    HWND front = CreateShownWindow({100, 100, 200, 200});
    HWND child = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, {50, 50, 90, 90}, front);
    SetActiveWindow(back);
    SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    headless::MoveMouse(160, 170);
    Pump();
    Log().clear();

    headless::PressButton();
    headless::ReleaseButton();
    Pump();

    EXPECT_THAT(PressMessagesOf(child),
                ElementsAre(WM_NCHITTEST, WM_MOUSEACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN,
                            WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONUP));
    Delivered press = Received(child, WM_LBUTTONDOWN).at(0);
    EXPECT_EQ(press.wParam, MK_LBUTTON);
    EXPECT_EQ(GET_X_LPARAM(press.lParam), 10);
    EXPECT_EQ(GET_Y_LPARAM(press.lParam), 20);
    EXPECT_EQ(GetActiveWindow(), front);  // the press activated the window it landed on
    EXPECT_THAT(PressMessagesOf(back), IsEmpty());
}

TEST_F(Input, HitTestAnswersDecideBetweenClientAndNonClientMessages) {
    HWND window = CreateShownWindow({0, 0, 100, 100});
    React([](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_NCHITTEST && GET_Y_LPARAM(lParam) < 10) {
            return HTCAPTION;
        }
        if (message == WM_NCLBUTTONDOWN) {
            return 0;  // no caption drag here
        }
        return std::nullopt;
    });
    headless::MoveMouse(50, 5);
    headless::MoveMouse(50, 50);
    Pump();

    std::vector<Delivered> nonClient = Received(window, WM_NCMOUSEMOVE);
    ASSERT_EQ(nonClient.size(), 1u);
    EXPECT_EQ(nonClient[0].wParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(GET_Y_LPARAM(nonClient[0].lParam), 5);  // screen coordinates
    EXPECT_EQ(Received(window, WM_MOUSEMOVE).size(), 1u);
}

TEST_F(Input, DoubleClicksNeedAClassThatAsksForThem) {
    struct Case {
        UINT classStyle;
        std::vector<UINT> expected;
    };
    const Case cases[] = {
        {CS_DBLCLKS, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}},
        {0, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
    };
    for (const Case& c : cases) {
        HWND window =
            CreateRecordingWindow(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50}, nullptr, 0, c.classStyle);
        Pump();
        Log().clear();
        headless::DoubleClick(10, 10);
        Pump();
        EXPECT_EQ(MessagesOf(window, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}), c.expected);
        DestroyWindow(window);
    }
}

TEST_F(Input, TheWheelReportsItsDeltaAndTheScreenPoint) {
    HWND window = CreateShownWindow({100, 100, 200, 200});
    headless::MoveMouse(150, 160);
    headless::TurnWheel(-WHEEL_DELTA);
    Pump();
    std::vector<Delivered> wheel = Received(window, WM_MOUSEWHEEL);
    ASSERT_EQ(wheel.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -WHEEL_DELTA);
    EXPECT_EQ(GET_X_LPARAM(wheel[0].lParam), 150);
}

// The pointer passes through what a layered window does not show: the pixels of its picture
// whose alpha is 0, and the whole window at a constant alpha of 0.
TEST_F(Input, ThePointerPassesThroughWhatALayeredWindowDoesNotShow) {
    HWND back = CreateShownWindow({0, 0, 300, 300}, nullptr, WS_EX_NOACTIVATE);  // stays behind
    HWND layered =
        CreateRecordingWindow(WS_POPUP | WS_VISIBLE, {100, 100, 104, 104}, nullptr, WS_EX_LAYERED);
    HWND invisible =
        CreateRecordingWindow(WS_POPUP | WS_VISIBLE, {0, 0, 10, 10}, nullptr, WS_EX_LAYERED);
    std::vector<std::uint32_t> pixels(16, 0xFF0000FF);
    pixels[0] = 0;           // fully transparent
    pixels[1] = 0x01000000;  // barely visible, still there
    PixelBuffer picture{reinterpret_cast<const BYTE*>(pixels.data()), 4, 4, 16};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(layered, nullptr, nullptr, picture, nullptr, &blend, ULW_ALPHA,
                                    nullptr));
    ASSERT_TRUE(SetLayeredWindowAttributes(invisible, 0, 0, LWA_ALPHA));
    struct Case {
        POINT point;
        HWND reached;
    } cases[] = {{{100, 100}, back},
                 {{101, 100}, layered},
                 {{103, 103}, layered},
                 {{0, 0}, back},
                 {{9, 9}, back}};
    for (const Case& test : cases) {
        Log().clear();
        headless::Click(test.point.x, test.point.y);
        Pump();
        EXPECT_EQ(Received(test.reached, WM_LBUTTONDOWN).size(), 1u)
            << test.point.x << "," << test.point.y;
    }

    // A later picture of a part changes what lets the pointer through there.
    pixels[0] = 0xFF0000FF;
    RECT corner{0, 0, 1, 1};
    ASSERT_TRUE(UpdateLayeredWindow(layered, nullptr, nullptr, picture, nullptr, &blend, ULW_ALPHA,
                                    &corner));
    Log().clear();
    headless::Click(100, 100);
    Pump();
    EXPECT_EQ(Received(layered, WM_LBUTTONDOWN).size(), 1u);
}

TEST_F(Input, DisabledWindowsGetNoMouseInput) {
    HWND window = CreateShownWindow({0, 0, 50, 50});
    EnableWindow(window, FALSE);
    Log().clear();
    headless::Click(10, 10);
    Pump();
    EXPECT_THAT(PressMessagesOf(window), IsEmpty());
}

TEST_F(Input, TheCaptureTakesEveryMouseMessageAndHearsWhenItIsTaken) {
    HWND holder = CreateShownWindow({0, 0, 100, 100});
    HWND other = CreateShownWindow({200, 200, 300, 300});
    Pump();
    Log().clear();

    EXPECT_EQ(SetCapture(holder), nullptr);
    EXPECT_EQ(headless::PointerGrab(), holder);
    headless::MoveMouse(250, 240);
    Pump();
    std::vector<Delivered> moves = Received(holder, WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 250);
    EXPECT_THAT(MessagesOf(holder, {WM_NCHITTEST}), IsEmpty());
    EXPECT_THAT(MessagesOf(other, {WM_MOUSEMOVE, WM_NCHITTEST}), IsEmpty());

    EXPECT_EQ(SetCapture(other), holder);
    ASSERT_EQ(Received(holder, WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(Received(holder, WM_CAPTURECHANGED)[0].lParam, reinterpret_cast<LPARAM>(other));
    ReleaseCapture();
    EXPECT_EQ(Received(other, WM_CAPTURECHANGED).at(0).lParam, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(headless::PointerGrab(), nullptr);
}

TEST_F(Input, FocusAndActivationMoveWithTheirMessages) {
    HWND first = CreateRecordingWindow(WS_POPUP, {0, 0, 100, 100});
    HWND edit = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, {0, 0, 50, 20}, first);
    HWND second = CreateRecordingWindow(WS_POPUP, {0, 0, 100, 100});

    // Focusing a child of an inactive window activates that window first.
    EXPECT_EQ(SetFocus(edit), nullptr);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Received(first, WM_ACTIVATE).at(0).wParam, WA_ACTIVE);
    EXPECT_EQ(Received(edit, WM_SETFOCUS).size(), 1u);

    Log().clear();
    EXPECT_EQ(SetActiveWindow(second), first);
    EXPECT_THAT(MessagesOf(first, {WM_NCACTIVATE, WM_ACTIVATE}),
                ElementsAre(WM_NCACTIVATE, WM_ACTIVATE));
    EXPECT_EQ(Received(first, WM_ACTIVATE)[0].wParam, WA_INACTIVE);
    EXPECT_EQ(Received(first, WM_ACTIVATE)[0].lParam, reinterpret_cast<LPARAM>(second));
    EXPECT_EQ(Received(edit, WM_KILLFOCUS).size(), 1u);
    // The default handling of WM_ACTIVATE gives the focus to the activated window.
    EXPECT_EQ(Received(second, WM_SETFOCUS).size(), 1u);
    EXPECT_EQ(GetFocus(), second);
    EXPECT_EQ(GetForegroundWindow(), second);
}

TEST_F(Input, KeysGoToTheFocusAndTheirStateFollowsTheTakenMessages) {
    HWND window = CreateShownWindow({0, 0, 100, 100});
    SetFocus(window);
    headless::PressKey(VK_SHIFT);
    EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    Pump();
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    headless::ReleaseKey(VK_SHIFT);
    headless::TypeText(L"下载");
    Pump();

    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    std::vector<Delivered> characters = Received(window, WM_CHAR);
    ASSERT_EQ(characters.size(), 2u);
    EXPECT_EQ(characters[0].wParam, static_cast<WPARAM>(L'下'));
    Delivered release = Received(window, WM_KEYUP).at(0);
    EXPECT_EQ(release.wParam, VK_SHIFT);
    EXPECT_TRUE(static_cast<DWORD>(release.lParam) & (1u << 31));
}

TEST_F(Input, MouseLeaveIsPostedOnceWhenThePointerLeavesATrackedWindow) {
    HWND window = CreateShownWindow({0, 0, 100, 100});
    HWND neighbour = CreateShownWindow({100, 0, 200, 100});
    headless::MoveMouse(50, 50);
    Pump();
    TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
    ASSERT_TRUE(TrackMouseEvent(&request));
    headless::MoveMouse(60, 50);
    Pump();
    EXPECT_THAT(MessagesOf(window, {WM_MOUSELEAVE}), IsEmpty());

    headless::MoveMouse(150, 50);
    headless::MoveMouse(500, 500);
    Pump();
    EXPECT_EQ(MessagesOf(window, {WM_MOUSELEAVE}).size(), 1u);

    // Asking while the pointer is elsewhere answers at once.
    TRACKMOUSEEVENT elsewhere{sizeof(TRACKMOUSEEVENT), TME_LEAVE, neighbour, 0};
    TrackMouseEvent(&elsewhere);
    Pump();
    EXPECT_EQ(MessagesOf(neighbour, {WM_MOUSELEAVE}).size(), 1u);
}

}  // namespace
}  // namespace plat::test
