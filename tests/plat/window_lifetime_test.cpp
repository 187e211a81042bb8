#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plat/headless.h"
#include "plat/input.h"
#include "plat/window.h"

#include <thread>
#include "window_test_support.h"

namespace plat::test {
namespace {

using ::testing::ElementsAre;
using WindowLifetime = WindowSystemTest;

std::vector<UINT> kLifecycle() {
    return {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_DESTROY, WM_NCDESTROY};
}

TEST_F(WindowLifetime, CreationAndDestructionSendTheirMessagesInOrder) {
    HWND parent = CreateRecordingWindow(WS_POPUP, {10, 10, 110, 60});
    HWND child = CreateRecordingWindow(WS_CHILD, {5, 5, 25, 25}, parent);
    ASSERT_TRUE(parent && child);

    EXPECT_TRUE(DestroyWindow(parent));

    EXPECT_EQ(MessagesOf(parent, kLifecycle()), kLifecycle());
    EXPECT_EQ(MessagesOf(child, kLifecycle()), kLifecycle());
    // WM_DESTROY goes to the parent first, WM_NCDESTROY to the child first.
    std::vector<std::pair<HWND, UINT>> teardown;
    for (const Delivered& delivered : Log()) {
        if (delivered.message == WM_DESTROY || delivered.message == WM_NCDESTROY) {
            teardown.emplace_back(delivered.window, delivered.message);
        }
    }
    EXPECT_THAT(teardown,
                ElementsAre(std::pair{parent, WM_DESTROY}, std::pair{child, WM_DESTROY},
                            std::pair{child, WM_NCDESTROY}, std::pair{parent, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowLifetime, CreationEndsWhenTheWindowRefusesIt) {
    struct Case {
        UINT refused;
        LRESULT answer;
        std::vector<UINT> expected;
    };
    const Case cases[] = {
        {WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
        {WM_CREATE, -1, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
    };
    for (const Case& c : cases) {
        Log().clear();
        React([&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            return message == c.refused ? std::optional<LRESULT>(c.answer) : std::nullopt;
        });
        EXPECT_EQ(CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10}), nullptr);
        ASSERT_FALSE(Log().empty());
        EXPECT_EQ(MessagesOf(Log().front().window, kLifecycle()), c.expected);
        EXPECT_FALSE(IsWindow(Log().front().window));
    }
}

TEST_F(WindowLifetime, OwnedWindowsAreDestroyedBeforeTheirOwner) {
    HWND owner = CreateShownWindow({0, 0, 100, 100});
    HWND owned = CreateShownWindow({20, 20, 50, 50}, owner);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    EXPECT_EQ(GetParent(owned), owner);

    DestroyWindow(owner);

    std::vector<HWND> destroyed;
    for (const Delivered& delivered : Log()) {
        if (delivered.message == WM_NCDESTROY) {
            destroyed.push_back(delivered.window);
        }
    }
    EXPECT_THAT(destroyed, ElementsAre(owned, owner));
}

TEST_F(WindowLifetime, AMessageOnlyWindowHasNoSurfaceButTakesMessages) {
    HWND window = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, {0, 0, 10, 10}, HWND_MESSAGE);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(headless::Surface(window));
    EXPECT_EQ(GetParent(window), nullptr);
    PostMessageW(window, WM_USER, 0, 0);
    Pump();
    EXPECT_EQ(Received(window, WM_USER).size(), 1u);
}

TEST_F(WindowLifetime, OnlyTheCreatingThreadDestroysAWindow) {
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    BOOL destroyedElsewhere = TRUE;
    std::thread([&] { destroyedElsewhere = DestroyWindow(window); }).join();
    EXPECT_FALSE(destroyedElsewhere);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowLifetime, ClassesAreFoundByNameInAnyCaseOrByAtomAndStayWhileInUse) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"DMClass_1_2";
    ATOM atom = RegisterClassExW(&windowClass);
    ASSERT_NE(atom, 0);
    windowClass.lpszClassName = L"dmclass_1_2";
    EXPECT_EQ(RegisterClassExW(&windowClass), 0);

    HWND byAtom = CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND byName = CreateWindowExW(0, L"DMCLASS_1_2", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  nullptr, nullptr);
    EXPECT_TRUE(byAtom && byName);
    EXPECT_EQ(CreateWindowExW(0, L"Unknown", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);

    EXPECT_FALSE(UnregisterClassW(L"DMClass_1_2", nullptr));
    DestroyWindow(byAtom);
    DestroyWindow(byName);
    EXPECT_TRUE(UnregisterClassW(L"DMClass_1_2", nullptr));
}

LRESULT CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static int count = 0;
    if (message == WM_USER) {
        return ++count;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(WindowLifetime, WindowLongsReplaceTheProcedureAndKeepValues) {
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10});
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProcedure)));
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 1);
    EXPECT_EQ(CallWindowProcW(previous, window, WM_USER + 1, 0, 0), 0);
    EXPECT_EQ(Received(window, WM_USER + 1).size(), 1u);

    SetWindowLongPtrW(window, GWLP_USERDATA, 0x1234);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0x1234);
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), GetCurrentThreadId());
}

TEST_F(WindowLifetime, WindowTextGoesThroughMessagesAndShowsAsTheTitle) {
    HWND window = CreateRecordingWindow(WS_POPUP, {0, 0, 10, 10}, nullptr, 0, CS_DBLCLKS, L"初始");
    wchar_t text[4];
    EXPECT_EQ(GetWindowTextW(window, text, 4), 2);
    EXPECT_STREQ(text, L"初始");

    EXPECT_TRUE(SetWindowTextW(window, L"Vael 下载器"));
    EXPECT_EQ(GetWindowTextLengthW(window), 8);
    EXPECT_EQ(GetWindowTextW(window, text, 4), 3);
    EXPECT_STREQ(text, L"Vae");
    EXPECT_EQ(headless::Surface(window)->title, L"Vael 下载器");
    EXPECT_EQ(Received(window, WM_SETTEXT).size(), 1u);
}

TEST_F(WindowLifetime, EnablingSendsWmEnableAndDisablingTakesTheFocus) {
    HWND window = CreateShownWindow({0, 0, 10, 10});
    SetFocus(window);
    EXPECT_FALSE(EnableWindow(window, FALSE));
    EXPECT_FALSE(IsWindowEnabled(window));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(EnableWindow(window, TRUE));
    EXPECT_EQ(MessagesOf(window, {WM_ENABLE}).size(), 2u);
}

}  // namespace
}  // namespace plat::test
