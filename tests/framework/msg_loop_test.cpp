// Framework windows and the message loop on the headless driver: binding native windows to
// their objects, the final message, filters, idle processing, Run and centring.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "DMApp.h"
#include "DMCWnd.h"
#include "DMMsgLoop.h"
#include "TempDir.h"
#include "plat/headless.h"
#include "plat/input.h"
#include "plat/messages.h"
#include "plat/owner_draw.h"
#include "plat/window.h"
#include "plat/window_styles.h"

using namespace DM;
using namespace std::chrono_literals;

namespace {

constexpr UINT kDestroyYourself = plat::WM_USER + 1;

class TestWnd : public DMCWnd {
public:
    DM_BEGIN_MSG_MAP(TestWnd)
    DM_MESSAGE_HANDLER(kDestroyYourself, OnDestroyYourself)
    DM_MESSAGE_HANDLER(plat::WM_CHAR, OnChar)
    DM_MESSAGE_HANDLER(plat::WM_KEYDOWN, OnKeyDown)
    DM_END_MSG_MAP()

    LRESULT OnDestroyYourself(UINT, WPARAM, LPARAM) {
        DestroyWindow();
        finalBeforeReturn = finalMessages;
        return 0;
    }
    LRESULT OnChar(UINT, WPARAM, LPARAM) {
        ++chars;
        return 0;
    }
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM) {
        ++keyDowns;
        SetMsgHandled(false);
        return 0;
    }
    void OnFinalMessage(HWND) override { ++finalMessages; }

    HWND Create(const RECT& rect, HWND owner = nullptr) {
        return CreateWindowEx(plat::MAKEINTATOM(DMApp::GetObjPtr()->GetClassAtom()), L"test",
                              plat::WS_POPUP, 0, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, owner, nullptr);
    }

    int finalMessages = 0;
    int finalBeforeReturn = -1;
    int chars = 0;
    int keyDowns = 0;
};

class MsgLoop : public ::testing::Test {
protected:
    void SetUp() override { plat::headless::Use(); }
    DMApp app;
};

TEST_F(MsgLoop, WindowsReachTheirObjectAndTheFinalMessageWaitsForTheOutermostReturn) {
    TestWnd window;
    HWND handle = window.Create({10, 10, 110, 60});
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(window.m_hWnd, handle);
    plat::SendMessageW(handle, kDestroyYourself, 0, 0);
    EXPECT_EQ(window.finalBeforeReturn, 0) << "not while the outer message runs";
    EXPECT_EQ(window.finalMessages, 1);
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_FALSE(plat::IsWindow(handle));
}

TEST_F(MsgLoop, ASecondLoopForTheThreadIsRefused) {
    vael::test::TempDir folder;
    setenv("DM_LOG_FILE", (folder / "log.txt").c_str(), 1);
    DMMsgLoop first;
    DMMsgLoop second;
    DMMsgLoopTool& tool = app.GetMsgLoopTool();
    EXPECT_TRUE(tool.AddMessageLoop(&first));
    EXPECT_FALSE(tool.AddMessageLoop(&second));
    EXPECT_FALSE(tool.AddMessageLoop(nullptr));
    EXPECT_EQ(tool.GetMessageLoop(plat::GetCurrentThreadId()), &first);
    EXPECT_TRUE(tool.RemoveMessageLoop());
    unsetenv("DM_LOG_FILE");
    std::string log = vael::test::ReadFile(folder / "log.txt");
    EXPECT_EQ(log.rfind("[SECCLI:Lumeno][DMLOG_ERR][DM::DMMsgLoopTool::AddMessageLoop][line:", 0),
              0u);
    EXPECT_NE(log.find("][mid]当前线程消息loop对象已存在\n[SECCLI:Lumeno]"), std::string::npos);
    EXPECT_NE(log.find("][mid]loop对象指针为空\n"), std::string::npos);
}

// Swallows key downs, so they are neither translated nor dispatched.
class KeyEater : public IDMMessageFilter {
public:
    bool PreTranslateMessage(plat::MSG* message) override {
        return message->message == plat::WM_KEYDOWN;
    }
};

TEST_F(MsgLoop, AConsumingFilterStopsTranslationAndDispatch) {
    TestWnd window;
    HWND handle = window.Create({10, 10, 110, 60});
    plat::ShowWindow(handle, plat::SW_SHOW);
    plat::SetFocus(handle);
    KeyEater eater;
    DMMsgLoop loop;
    loop.AddMessageFilter(&eater);
    EXPECT_FALSE(loop.AddMessageFilter(&eater));
    plat::PostMessageW(handle, plat::WM_KEYDOWN, 'A', 0);
    plat::PostQuitMessage(0);
    loop.Run();
    EXPECT_EQ(window.keyDowns, 0);
    EXPECT_EQ(window.chars, 0);

    loop.RemoveMessageFilter(&eater);
    plat::PostMessageW(handle, plat::WM_KEYDOWN, 'A', 0);
    plat::PostQuitMessage(7);
    EXPECT_EQ(loop.Run(), 7);
    EXPECT_EQ(window.keyDowns, 1);
    EXPECT_EQ(window.chars, 1) << "translated into a character";
    window.DestroyWindow();
}

class IdleCounter : public IDMIdleHandler {
public:
    bool OnIdle(int) override {
        ++calls;
        return false;
    }
    std::atomic<int> calls{0};
};

// Another thread feeds one message at a time, each after the loop has gone quiet.
TEST_F(MsgLoop, IdleRunsOnceAfterEachActivity) {
    DMMsgLoop loop;
    IdleCounter idle;
    loop.AddIdleHandler(&idle);
    DWORD ui = plat::GetCurrentThreadId();
    std::vector<int> afterEach;
    std::thread feeder([&] {
        for (UINT message : {plat::WM_MOUSEMOVE, plat::WM_PAINT, plat::WM_NCMOUSEMOVE,
                             plat::WM_KEYDOWN, plat::WM_USER}) {
            std::this_thread::sleep_for(60ms);
            plat::PostThreadMessageW(ui, message, 0, 0);
            std::this_thread::sleep_for(60ms);
            afterEach.push_back(idle.calls);
        }
        plat::PostThreadMessageW(ui, plat::WM_QUIT, 0, 0);
    });
    loop.Run();
    feeder.join();
    EXPECT_EQ(afterEach, (std::vector<int>{1, 1, 1, 2, 3}));
}

// Counts what it is asked; on WM_USER it removes itself and the filter after it, as a host
// destroyed inside a filter does. As an idle handler it removes itself and does its work.
class Remover : public IDMMessageFilter, public IDMIdleHandler {
public:
    bool PreTranslateMessage(plat::MSG* message) override {
        ++asked;
        if (message->message == plat::WM_USER && loop) {
            loop->RemoveMessageFilter(this);
            loop->RemoveMessageFilter(next);
        }
        return false;
    }
    bool OnIdle(int) override {
        ++idle;
        loop->RemoveIdleHandler(this);
        work();
        return true;
    }
    DMMsgLoop* loop = nullptr;
    std::function<void()> work;
    IDMMessageFilter* next = nullptr;
    int asked = 0;
    int idle = 0;
};

TEST_F(MsgLoop, FiltersAndIdleHandlersMayRemoveThemselvesAndOthers) {
    DMMsgLoop loop;
    Remover after;
    Remover first;
    first.loop = &loop;
    first.next = &after;
    loop.AddMessageFilter(&first);
    loop.AddMessageFilter(&after);
    loop.AddIdleHandler(&first);
    first.work = [] {
        DWORD self = plat::GetCurrentThreadId();
        plat::PostThreadMessageW(self, plat::WM_USER + 1, 0, 0);
        plat::PostThreadMessageW(self, plat::WM_USER, 0, 0);
        plat::PostThreadMessageW(self, plat::WM_USER + 2, 0, 0);
        plat::PostQuitMessage(3);
    };
    EXPECT_EQ(loop.Run(), 3);
    EXPECT_EQ(first.asked, 2);
    EXPECT_EQ(after.asked, 1) << "removed before its turn";
    EXPECT_EQ(first.idle, 1);
}

// Reflects what concerns a child window to that child.
class Reflector : public TestWnd {
public:
    bool ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD) override {
        bool handled = false;
        result = ReflectNotifications(message, wParam, lParam, handled);
        return handled;
    }
};

// Records the reflected messages it gets.
class ReflectionRecorder : public DMCWnd {
public:
    bool ProcessWindowMessage(HWND, UINT message, WPARAM, LPARAM, LRESULT& result, DWORD) override {
        if (message < 0x2000) {
            return false;
        }
        reflected.push_back(message);
        result = 0;
        return true;
    }
    std::vector<UINT> reflected;
};

TEST_F(MsgLoop, OwnerDrawnAndCommandMessagesAreReflectedToTheirControl) {
    Reflector parent;
    HWND parentWindow = parent.Create({0, 0, 100, 100});
    ReflectionRecorder child;
    HWND control = child.CreateWindowEx(plat::MAKEINTATOM(app.GetClassAtom()), L"control",
                                        plat::WS_CHILD, 0, 0, 0, 10, 10, parentWindow, nullptr);
    ASSERT_NE(control, nullptr);
    plat::SetWindowLongPtrW(control, plat::GWLP_ID, 7);
    auto send = [&](UINT message, WPARAM wParam, const void* record) {
        plat::SendMessageW(parentWindow, message, wParam, reinterpret_cast<LPARAM>(record));
    };
    plat::DRAWITEMSTRUCT draw{.CtlID = 7, .hwndItem = control};
    plat::MEASUREITEMSTRUCT measure{.CtlID = 7};
    plat::DELETEITEMSTRUCT removed{.CtlID = 7, .hwndItem = control};
    plat::COMPAREITEMSTRUCT compare{.CtlID = 7, .hwndItem = control};
    send(plat::WM_DRAWITEM, 7, &draw);
    send(plat::WM_MEASUREITEM, 7, &measure);
    send(plat::WM_DELETEITEM, 7, &removed);
    send(plat::WM_COMPAREITEM, 7, &compare);
    send(plat::WM_COMMAND, 7, control);
    send(plat::WM_DRAWITEM, 0, &draw);
    send(plat::WM_MEASUREITEM, 0, &measure);
    send(plat::WM_COMMAND, 5, nullptr);
    send(plat::WM_COMMAND, 5, reinterpret_cast<const void*>(0x4242));
    EXPECT_EQ(child.reflected,
              (std::vector<UINT>{0x2000 + plat::WM_DRAWITEM, 0x2000 + plat::WM_MEASUREITEM,
                                 0x2000 + plat::WM_DELETEITEM, 0x2000 + plat::WM_COMPAREITEM,
                                 0x2000 + plat::WM_COMMAND}))
        << "menus, accelerators and senders that are no window are not reflected";
    plat::DestroyWindow(parentWindow);
}

// Calls its hook for WM_USER.
class HookWnd : public TestWnd {
public:
    DM_BEGIN_MSG_MAP(HookWnd)
    DM_MESSAGE_HANDLER(plat::WM_USER, OnUser)
    DM_CHAIN_MSG_MAP(TestWnd)
    DM_END_MSG_MAP()

    LRESULT OnUser(UINT, WPARAM, LPARAM) {
        hook();
        return 0;
    }
    std::function<void()> hook;
};

TEST_F(MsgLoop, NestedRunSharesTheLoop) {
    HookWnd outer;
    HookWnd inner;
    HWND outerHandle = outer.Create({0, 0, 100, 100});
    HWND innerHandle = inner.Create({0, 0, 50, 50}, outerHandle);
    int useCountInside = 0;
    bool bothRunning = false;
    inner.hook = [&] {
        useCountInside =
            app.GetMsgLoopTool().GetMessageLoop(plat::GetCurrentThreadId())->m_nUseCount;
        bothRunning =
            app.IsRun(outerHandle) == DM_ECODE_OK && app.IsRun(innerHandle) == DM_ECODE_OK;
        plat::PostQuitMessage(0);
    };
    outer.hook = [&] {
        plat::PostMessageW(innerHandle, plat::WM_USER, 0, 0);
        app.Run(innerHandle);
        EXPECT_EQ(app.IsRun(innerHandle), DM_ECODE_FAIL);
        EXPECT_NE(app.GetMsgLoopTool().GetMessageLoop(plat::GetCurrentThreadId()), nullptr)
            << "the outer Run still holds the loop";
        plat::PostQuitMessage(0);
    };
    plat::PostMessageW(outerHandle, plat::WM_USER, 0, 0);
    EXPECT_EQ(app.Run(outerHandle), DM_ECODE_OK);
    EXPECT_EQ(useCountInside, 2);
    EXPECT_TRUE(bothRunning);
    EXPECT_FALSE(plat::IsWindow(outerHandle)) << "Run destroys its window";
    EXPECT_EQ(app.GetMsgLoopTool().GetMessageLoop(plat::GetCurrentThreadId()), nullptr);
}

TEST_F(MsgLoop, CenterWindowStaysInsideTheWorkArea) {
    TestWnd alone;
    HWND handle = alone.Create({0, 0, 800, 600});
    EXPECT_TRUE(alone.CenterWindow());
    RECT rect{};
    alone.GetWindowRect(&rect);
    EXPECT_EQ(rect.left, 560);
    EXPECT_EQ(rect.top, 220);

    TestWnd owner;
    HWND ownerHandle = owner.Create({1800, 900, 2000, 1000});
    plat::ShowWindow(ownerHandle, plat::SW_SHOWNOACTIVATE);
    TestWnd owned;
    owned.Create({0, 0, 800, 600}, ownerHandle);
    EXPECT_TRUE(owned.CenterWindow());
    owned.GetWindowRect(&rect);
    EXPECT_EQ(rect.left, 1120) << "clamped to the right edge of the work area";
    EXPECT_EQ(rect.top, 440) << "clamped above the task bar";
    EXPECT_EQ(rect.right - rect.left, 800);
    plat::DestroyWindow(handle);
    plat::DestroyWindow(ownerHandle);
}

}  // namespace
