// Host windows on the headless driver: built from layouts of a folder pack, their non-client
// answers, input routed to the widgets, widget timers, and the end of the message loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DMApp.h"
#include "DMHWnd.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/headless.h"
#include "plat/message_queue.h"
#include "plat/messages.h"
#include "plat/show_commands.h"
#include "plat/timer.h"
#include "plat/window_styles.h"

using namespace DM;
namespace fs = std::filesystem;

namespace {

// Every layout the tests open, with the pack's index.
constexpr const char* kLayouts[][2] = {
    {"host",
     R"xml(<dm initsize="300,200" bresize="1" clrbg="pbgra(10,20,30,ff)">
          <root>
            <button name="ok" id="1" pos="10,10,@80,@30" clrbg="pbgra(00,00,ff,ff)"/>
            <window name="drag" bdrag="1" pos="0,100,-0,-0"/>
            <window name="behind" pos="200,10,@50,@50"/>
          </root>
        </dm>)xml"},
    {"glass",
     R"xml(<dm initsize="120,80" btranslucent="1">
          <root><window name="blob" pos="20,20,@40,@40" clrbg="pbgra(00,80,00,80)"/></root>
        </dm>)xml"},
    {"wrongnames", R"xml(<dm resizable="1" translucent="1"><root/></dm>)xml"},
    {"badsizes", R"xml(<dm minsize="300,300" maxsize="200,400"><root/></dm>)xml"},
    {"notdm", R"xml(<layout><root/></layout>)xml"},
};

class HostWindow : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        std::string index = "<resource><layout>";
        for (const auto& [name, xml] : kLayouts) {
            index += std::string("<file name=\"") + name + "\" path=\"layout\\" + name + ".xml\"/>";
            vael::test::WriteFile(folder.path() / "layout" / (std::string(name) + ".xml"), xml);
        }
        vael::test::WriteFile(folder.path() / "layout/dmindex.xml", index + "</layout></resource>");
        vael::test::WriteFile(folder.path() / "themes/dmindex.xml", "<resource/>");
        std::wstring root = plat::WindowsPathFromHostW(folder.path());
        ASSERT_EQ(app.LoadResPack(reinterpret_cast<WPARAM>(root.c_str()), 0, nullptr), DM_ECODE_OK);
    }

    static void Pump() {
        plat::MSG message{};
        while (plat::PeekMessageW(&message, nullptr, 0, 0, plat::PM_REMOVE)) {
            plat::TranslateMessage(&message);
            plat::DispatchMessageW(&message);
        }
    }

    vael::test::TempDir folder;
    DMApp app;
};

// Records the events that reach the host's handler, and the system commands.
class RecordingHost : public DMHWnd {
public:
    DMCode HandleEvent(DMEventArgs& event) override {
        if (event.GetEventID() == DMEventCmdArgs::EventID) {
            clicks.push_back(event.m_szNameFrom);
        }
        return DM_ECODE_OK;
    }
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId = 0) override {
        if (message == plat::WM_SYSCOMMAND) {
            commands.push_back(wParam);
        }
        return DMHWnd::ProcessWindowMessage(window, message, wParam, lParam, result, mapId);
    }
    using DMHWnd::ProcessWindowMessage;

    std::vector<DMStringT> clicks;
    std::vector<WPARAM> commands;
};

// Counts the mouse messages one widget receives.
class CountingWidget : public DUIWindow {
public:
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        received.push_back(message);
        return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
    }
    int Count(UINT message) const {
        return static_cast<int>(std::ranges::count(received, message));
    }
    std::vector<UINT> received;
};

RECT ScreenRect(HWND window) {
    RECT rect{};
    plat::GetWindowRect(window, &rect);
    return rect;
}

TEST_F(HostWindow, OpensAtItsInitialSizeWithResizeStyles) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"host");
    ASSERT_NE(window, nullptr);
    RECT rect = ScreenRect(window);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(rect.bottom - rect.top, 200);
    EXPECT_EQ(host->m_rcWindow.right, 300);
    EXPECT_TRUE(host->DMCWndBase::GetStyle() & plat::WS_THICKFRAME);
    EXPECT_EQ(host->DM_CreateWindow(L"host"), window) << "an existing window is answered";
    EXPECT_TRUE(host->IsClass(L"HWND") && host->IsClass(L"window"));
    host->DestroyWindow();
}

TEST_F(HostWindow, WrongAttributeNamesLeaveTheHostOpaqueAndFixed) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    ASSERT_NE(host->DM_CreateWindow(L"wrongnames"), nullptr);
    EXPECT_FALSE(host->OnIsTranslucent());
    EXPECT_FALSE(host->GetExStyle() & plat::WS_EX_LAYERED);
    EXPECT_FALSE(host->DMCWndBase::GetStyle() & plat::WS_THICKFRAME);
    host->DestroyWindow();
}

TEST_F(HostWindow, LayoutFailuresAndBadSizes) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    EXPECT_EQ(host->DM_CreateWindow(nullptr), nullptr);
    EXPECT_EQ(host->LoadDMData(L"nosuchlayout"), DM_ECODE_FAIL);
    EXPECT_EQ(host->LoadDMData(L"notdm"), DM_ECODE_FAIL);
    EXPECT_EQ(host->HostXmlInfo().SetAttribute(L"minsize", L"300,300", true), DMATTR_OK);
    EXPECT_EQ(host->HostXmlInfo().SetAttribute(L"maxsize", L"200,400", true), DMATTR_FAIL);
    EXPECT_EQ(host->HostXmlInfo().m_szMax.cx, 200) << "kept although refused";
    EXPECT_EQ(host->HostXmlInfo().SetAttribute(L"h", L"181", true), DMATTR_FAIL);
    EXPECT_EQ(host->HostXmlInfo().m_nH, 0);
    EXPECT_EQ(host->HostXmlInfo().SetAttribute(L"s", L"200", true), DMATTR_OK);
}

TEST_F(HostWindow, NonClientHitTestFollowsTheResizeFlag) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"host", 100, 100);
    RECT rect = ScreenRect(window);
    auto hit = [&](LONG x, LONG y) {
        return plat::SendMessageW(window, plat::WM_NCHITTEST, 0,
                                  plat::PointToLParam({rect.left + x, rect.top + y}));
    };
    EXPECT_EQ(hit(297, 197), plat::HTBOTTOMRIGHT);
    EXPECT_EQ(hit(2, 2), plat::HTTOPLEFT);
    EXPECT_EQ(hit(150, 198), plat::HTBOTTOM);
    EXPECT_EQ(hit(150, 100), plat::HTCLIENT);
    host->HostXmlInfo().SetAttribute(L"bresize", L"0", false);
    EXPECT_EQ(hit(297, 197), plat::HTCLIENT);
    EXPECT_FALSE(host->DMCWndBase::GetStyle() & plat::WS_THICKFRAME);
    host->DestroyWindow();
}

TEST_F(HostWindow, PaintsTheCanvasIntoAnOpaqueWindow) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"host");
    host->ShowWindow(plat::SW_SHOW);
    Pump();
    auto picture = plat::headless::PresentedPicture(window);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->At(150, 60), 0xFF302010u) << "the background";
    EXPECT_EQ(picture->At(20, 20), 0xFFFF0000u) << "the button";
    host->DestroyWindow();
}

TEST_F(HostWindow, TranslucentHostKeepsItsTransparentPixels) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"glass");
    ASSERT_TRUE(host->OnIsTranslucent());
    EXPECT_TRUE(host->GetExStyle() & plat::WS_EX_LAYERED);
    host->ShowWindow(plat::SW_SHOWNOACTIVATE);
    Pump();
    auto picture = plat::headless::PresentedPicture(window);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 120);
    EXPECT_EQ(picture->At(5, 5), 0u) << "transparent stays transparent";
    EXPECT_EQ(picture->At(30, 30) >> 24, 0x80u) << "half-transparent";
    EXPECT_NE(picture->At(30, 30) & 0xFF00, 0u) << "green";
    host->DestroyWindow();
}

TEST_F(HostWindow, ClickReachesTheHostOnceAndCaptureHolds) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"host", 100, 100);
    host->ShowWindow(plat::SW_SHOW);
    Pump();
    DUIWindow* ok = host->FindChildByName(L"ok");
    auto* counter = new CountingWidget;
    host->InsertChild(counter);
    counter->SetAttribute(L"pos", L"200,10,@50,@50", false);
    host->UpdateChildLayout();

    plat::headless::MoveMouse(100 + 220, 100 + 20);
    Pump();
    EXPECT_EQ(counter->Count(plat::WM_MOUSEHOVER), 1);
    plat::headless::MoveMouse(100 + 20, 100 + 20);
    Pump();
    EXPECT_EQ(counter->Count(plat::WM_MOUSELEAVE), 1);
    EXPECT_TRUE(ok->GetState() & DUIWNDSTATE_Hover);

    plat::headless::PressButton();
    Pump();
    EXPECT_EQ(host->OnGetCapture(), ok->GetDUIWnd());
    EXPECT_EQ(plat::headless::PointerGrab(), window);
    plat::headless::MoveMouse(100 + 220, 100 + 20);
    Pump();
    EXPECT_EQ(counter->Count(plat::WM_MOUSEMOVE), 1) << "only the hover move before the press";
    EXPECT_FALSE(ok->GetState() & DUIWNDSTATE_Hover);
    plat::headless::MoveMouse(100 + 20, 100 + 20);
    plat::headless::ReleaseButton();
    Pump();
    EXPECT_EQ(host->clicks, std::vector<DMStringT>{L"ok"});
    EXPECT_EQ(host->OnGetCapture(), 0u);

    plat::headless::PressButton();
    plat::headless::MoveMouse(100 + 220, 100 + 20);
    plat::headless::ReleaseButton();
    Pump();
    EXPECT_EQ(host->clicks.size(), 1u) << "a release outside is no click";
    host->DestroyWindow();
}

TEST_F(HostWindow, DragBackgroundMovesTheWindow) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"host", 100, 100);
    host->ShowWindow(plat::SW_SHOW);
    Pump();
    // The move runs its own loop until the release, so the input comes before it.
    plat::headless::MoveMouse(100 + 150, 100 + 150);
    plat::headless::PressButton();
    plat::headless::MoveMouse(100 + 180, 100 + 170);
    plat::headless::ReleaseButton();
    Pump();
    ASSERT_FALSE(host->commands.empty());
    EXPECT_EQ(host->commands.front() & 0xFFF0, 0xF010u);
    EXPECT_TRUE(host->clicks.empty());
    RECT rect = ScreenRect(window);
    EXPECT_EQ(rect.left, 130);
    EXPECT_EQ(rect.top, 120);
    host->DestroyWindow();
}

// A widget timer fires as WM_TIMER with its own id, and one of a destroyed widget is killed.
TEST_F(HostWindow, WidgetTimersReachTheirWidgetOrDie) {
    plat::headless::StartVirtualClock();
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"host");
    auto* counter = new CountingWidget;
    host->InsertChild(counter);
    ASSERT_EQ(counter->SetTimer(5, 100), DM_ECODE_OK);
    plat::headless::AdvanceClock(100);
    Pump();
    EXPECT_EQ(counter->Count(plat::WM_TIMER), 1);
    plat::UINT_PTR id = DUIWindow::HostTimerId(counter->GetDUIWnd(), 5);
    host->DestroyChild(counter);
    plat::headless::AdvanceClock(100);
    Pump();
    EXPECT_FALSE(plat::KillTimer(window, id)) << "killed at its tick";
    host->DestroyWindow();
    plat::headless::StopVirtualClock();
}

TEST_F(HostWindow, DestroyingTheRunWindowEndsTheLoopWithOne) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"host");
    plat::PostMessageW(window, plat::WM_CLOSE, 0, 0);
    EXPECT_EQ(app.Run(window), DM_ECODE_OK);
    EXPECT_EQ(app.IsRun(window), DM_ECODE_FAIL);
    EXPECT_FALSE(plat::IsWindow(window));
}

}  // namespace
