// The gtk driver under a window manager (openbox), each test on an X server of its own: what
// the window manager does to a window (moves, minimise and restore, close, activation) reaches
// the window system as the messages Windows would send.
#include <gtest/gtest.h>

#include "plat/types.h"

#include <gdk/gdk.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "MessagePump.h"
#include "plat/input.h"
#include "plat/layered.h"
#include "plat/resources.h"
#include "plat/show_commands.h"
#include "window_test_support.h"
#include "xvfb_display.h"

namespace plat::test {
namespace {

using vael::test::PumpUntil;
using vael::test::Settle;

using namespace std::chrono_literals;

// The executable's icon, for the windows with a task-bar entry.
constexpr char kIcon[] = R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16">)"
                         R"(<rect width="16" height="16" fill="#3a4d78"/></svg>)";

bool RunCommand(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

class WindowManager : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_display.Running()) << "Xvfb did not start";
        ASSERT_TRUE(m_display.Start({"openbox"}));
        auto deadline = std::chrono::steady_clock::now() + 5s;
        while (!RunCommand("wmctrl -m >/dev/null 2>&1")) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "openbox did not start";
            std::this_thread::sleep_for(50ms);
        }
        setenv("DM_DRIVER", "gtk", 1);
        setenv("NO_AT_BRIDGE", "1", 1);
        RegisterModuleResource(L"ICON", 1, kIcon, sizeof kIcon - 1);
        ASSERT_STREQ(CurrentDriver().Name(), "gtk");
    }

    // A visible, opaque window with a title the window manager's tools find it by; an owned one
    // shows without taking the activation, as a popup does.
    HWND ShowWindowTitled(const wchar_t* title, RECT rect, HWND owner = nullptr) {
        HWND window =
            CreateRecordingWindow(WS_POPUP, rect, owner, WS_EX_LAYERED, CS_DBLCLKS, title);
        m_pixels.emplace_back((rect.right - rect.left) * (rect.bottom - rect.top), 0xFF4060A0);
        PixelBuffer picture{reinterpret_cast<const BYTE*>(m_pixels.back().data()),
                            rect.right - rect.left, rect.bottom - rect.top,
                            (rect.right - rect.left) * 4};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        EXPECT_TRUE(UpdateLayeredWindow(window, nullptr, nullptr, picture, nullptr, &blend,
                                        ULW_ALPHA, nullptr));
        ShowWindow(window, owner ? SW_SHOWNA : SW_SHOW);
        Settle(300ms);
        return window;
    }

    XvfbDisplay m_display;
    std::vector<std::vector<std::uint32_t>> m_pixels;
};

TEST_F(WindowManager, AMoveByTheWindowManagerMovesTheWindow) {
    HWND window = ShowWindowTitled(L"Mover", {100, 100, 300, 200});
    Log().clear();
    ASSERT_TRUE(RunCommand("wmctrl -r Mover -e 0,400,300,-1,-1"));
    RECT rect{};
    ASSERT_TRUE(PumpUntil([&] {
        GetWindowRect(window, &rect);
        return rect.left == 400 && rect.top == 300;
    })) << rect.left
        << "," << rect.top;
    EXPECT_EQ(rect.right - rect.left, 200);
    std::vector<Delivered> moves = Received(window, WM_MOVE);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(GET_X_LPARAM(moves.back().lParam), 400);
    EXPECT_EQ(GET_Y_LPARAM(moves.back().lParam), 300);
    EXPECT_FALSE(Received(window, WM_WINDOWPOSCHANGED).empty());
}

TEST_F(WindowManager, MinimisingAndRestoringSendTheSizeMessages) {
    HWND window = ShowWindowTitled(L"Shrinker", {100, 100, 300, 200});
    Log().clear();
    ASSERT_TRUE(RunCommand("xdotool search --name Shrinker windowminimize"));
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(window); }));
    ASSERT_TRUE(RunCommand("wmctrl -a Shrinker"));
    ASSERT_TRUE(PumpUntil([&] { return !IsIconic(window); }));
    std::vector<WPARAM> kinds;
    for (const Delivered& size : Received(window, WM_SIZE)) {
        kinds.push_back(size.wParam);
    }
    EXPECT_EQ(kinds, (std::vector<WPARAM>{SIZE_MINIMIZED, SIZE_RESTORED}));
}

TEST_F(WindowManager, ClosingByTheWindowManagerDestroysTheWindowAndEndsTheLoop) {
    React([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_DESTROY) {
            PostQuitMessage(1);
        }
        return std::nullopt;
    });
    HWND window = ShowWindowTitled(L"Closer", {100, 100, 300, 200});
    Log().clear();
    ASSERT_TRUE(RunCommand("wmctrl -c Closer"));
    MSG message;
    int result = 0;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(message.wParam, 1u);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(MessagesOf(window, {WM_CLOSE, WM_DESTROY}),
              (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
    React(nullptr);
}

TEST_F(WindowManager, ActivationFollowsTheWindowManager) {
    HWND first = ShowWindowTitled(L"First", {100, 100, 300, 200});
    HWND second = ShowWindowTitled(L"Second", {400, 100, 600, 200});
    ASSERT_TRUE(RunCommand("wmctrl -a First"));
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == first; }));

    Log().clear();
    ASSERT_TRUE(RunCommand("wmctrl -a Second"));
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == second; }));
    EXPECT_EQ(MessagesOf(first, {WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP}),
              (std::vector<UINT>{WM_NCACTIVATE, WM_ACTIVATE}));
    EXPECT_EQ(LOWORD(Received(first, WM_ACTIVATE).at(0).wParam), WA_INACTIVE);

    // A window of another program takes the focus: the whole program is deactivated.
    GdkWindowAttr attributes{};
    attributes.title = const_cast<char*>("Other program");
    attributes.x = 700;
    attributes.y = 400;
    attributes.width = 100;
    attributes.height = 100;
    attributes.wclass = GDK_INPUT_OUTPUT;
    attributes.window_type = GDK_WINDOW_TOPLEVEL;
    GdkWindow* other = gdk_window_new(nullptr, &attributes, GDK_WA_TITLE | GDK_WA_X | GDK_WA_Y);
    Log().clear();
    gdk_window_show(other);
    RunCommand("wmctrl -a 'Other program'");
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == nullptr; }));
    EXPECT_EQ(MessagesOf(second, {WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP}),
              (std::vector<UINT>{WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP}));
    EXPECT_EQ(Received(second, WM_ACTIVATEAPP).at(0).wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(Received(first, WM_ACTIVATEAPP).size(), 1u);

    Log().clear();
    ASSERT_TRUE(RunCommand("wmctrl -a First"));
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == first; }));
    EXPECT_EQ(MessagesOf(first, {WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP}),
              (std::vector<UINT>{WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE}));
    gdk_window_destroy(other);
}

// The main window has a task-bar entry with the executable's icon and a class named after the
// executable; an owned popup has no entry and no icon, and the window manager does not give it
// the focus of its owner.
TEST_F(WindowManager, OwnedPopupsStayOffTheTaskBarAndLeaveTheFocusWithTheOwner) {
    HWND main = ShowWindowTitled(L"Main", {100, 100, 300, 200});
    HWND popup = ShowWindowTitled(L"Popup", {150, 150, 250, 180}, main);
    ASSERT_TRUE(RunCommand("wmctrl -a Main"));
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == main; }));
    RunCommand("wmctrl -a Popup");
    Settle(300ms);
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_TRUE(RunCommand("wmctrl -l | grep -q ' Main$'"));
    EXPECT_FALSE(RunCommand("xprop -name Main _NET_WM_STATE | grep -q SKIP_TASKBAR"));
    EXPECT_TRUE(RunCommand("xprop -name Popup _NET_WM_STATE | grep -q SKIP_TASKBAR"));
    EXPECT_TRUE(RunCommand("xprop -name Main _NET_WM_ICON | grep -q 'Icon (128 x 128)'"));
    EXPECT_TRUE(RunCommand("xprop -name Main WM_CLASS | grep -q '\"plat_gtk_desktop_tests\"'"));
    EXPECT_FALSE(RunCommand("xprop -name Popup _NET_WM_ICON | grep -q Icon"));
}

}  // namespace
}  // namespace plat::test
