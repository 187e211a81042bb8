// Host windows on the headless driver: built from layouts of a folder pack, their non-client
// answers, input routed to the widgets, widget timers, and the end of the message loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Common/ActiveX/IDUIRealWnd.h"
#include "Core/DMPluginsTool.h"
#include "DMApp.h"
#include "DMCWnd.h"
#include "DMHWnd.h"
#include "IDMRender.h"
#include "LayoutFolder.h"
#include "MessagePump.h"
#include "TempDir.h"
#include "plat/cursor.h"
#include "plat/headless.h"
#include "plat/keyboard.h"
#include "plat/message_queue.h"
#include "plat/messages.h"
#include "plat/paint.h"
#include "plat/show_commands.h"
#include "plat/timer.h"
#include "plat/window.h"
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
    {"empty", R"xml(<dm initsize="200,100"><root/></dm>)xml"},
    {"tips",
     R"xml(<dm initsize="300,200">
          <root>
            <window name="tipped" pos="10,10,@100,@50" tiptext="hello" tipdelay="200"/>
            <window name="plain" pos="150,10,@100,@50"/>
            <window name="off" pos="10,100,@100,@50" tiptext="never" bdisable="1"/>
          </root>
        </dm>)xml"},
    {"real",
     R"xml(<dm initsize="200,100">
          <root><popupreal name="web" pos="10,10,@100,@50"/></root>
        </dm>)xml"},
    {"grey", R"xml(<dm initsize="60,40" s="0" clrbg="pbgra(00,00,ff,ff)"><root/></dm>)xml"},
    {"faded", R"xml(<dm initsize="60,40" alpha="128" clrbg="pbgra(00,00,ff,ff)"><root/></dm>)xml"},
    {"cursors",
     R"xml(<dm initsize="300,100">
          <root>
            <window name="hand" pos="10,10,@50,@50" cursor="hand"/>
            <window name="plain" pos="100,10,@50,@50"/>
            <window name="offhand" pos="200,10,@50,@50" cursor="hand" bdisable="1"/>
          </root>
        </dm>)xml"},
};

class HostWindow : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        std::wstring root = vael::test::WriteLayoutFolder(folder.path(), kLayouts);
        ASSERT_EQ(app.LoadResPack(reinterpret_cast<WPARAM>(root.c_str()), 0, nullptr), DM_ECODE_OK);
    }

    // As the thread's loop runs: its filters (the tool tips) see each message first.
    void Pump() {
        DMMsgLoop* loop = app.GetMsgLoopTool().GetMessageLoop(plat::GetCurrentThreadId());
        vael::test::PumpMessages(
            [loop](plat::MSG& message) { return loop && loop->PreTranslateMessage(&message); });
    }
    void MoveTo(LONG x, LONG y) {
        plat::headless::MoveMouse(x, y);
        Pump();
    }
    void Wait(DWORD milliseconds) {
        plat::headless::AdvanceClock(milliseconds);
        Pump();
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

// As the window system records it, from any thread.
bool Visible(HWND window) {
    return plat::IsWindowVisible(window) != plat::FALSE;
}

bool Shown(HWND window) {
    std::optional<plat::headless::SurfaceState> surface = plat::headless::Surface(window);
    return surface && surface->visible;
}

// The tool-tip object is its own tip window.
HWND TipWindow(const DMHWnd& host) {
    auto* window = dynamic_cast<DMCWnd*>(host.GetToolTip());
    return window ? window->m_hWnd : nullptr;
}

// The windows that `owner` owns: handles grow, so they lie between the owner's and a new one's.
std::vector<HWND> OwnedWindows(HWND owner) {
    HWND probe =
        plat::CreateWindowExW(0, plat::MAKEINTATOM(DMApp::GetObjPtr()->GetClassAtom()), L"probe",
                              plat::WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    std::vector<HWND> owned;
    for (auto at = reinterpret_cast<std::uintptr_t>(owner) + 1;
         at < reinterpret_cast<std::uintptr_t>(probe); ++at) {
        auto window = reinterpret_cast<HWND>(at);
        if (plat::IsWindow(window) && plat::GetWindow(window, plat::GW_OWNER) == owner) {
            owned.push_back(window);
        }
    }
    plat::DestroyWindow(probe);
    return owned;
}

// The host's own canvas, before any colour adjustment.
std::uint32_t CanvasPixel(DMHWnd& host, LONG x, LONG y) {
    IDMDraw* draw = nullptr;
    host.OnGetDraw(&draw);
    auto owned = DMSmartPtrT<IDMDraw>::Adopt(draw);
    IDMCanvas* canvas = nullptr;
    owned->GetCanvas(&canvas);
    auto held = DMSmartPtrT<IDMCanvas>::Adopt(canvas);
    SIZE size{};
    held->GetSize(size);
    return held->GetPixelBits(nullptr)[y * size.cx + x];
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
    EXPECT_EQ(picture->At(30, 30), 0x80008000u) << "the premultiplied colour as given";
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

// Records what the plug-in tool asks of it.
class RecordingPlugin : public IDMPlugin {
public:
    const wchar_t* GetName() const override { return L"recording"; }
    void Install() override { calls.push_back(L"install"); }
    void Uninstall() override { calls.push_back(L"uninstall"); }
    void Start() override { calls.push_back(L"start"); }
    void Stop() override { calls.push_back(L"stop"); }
    std::vector<std::wstring> calls;
};

// The first host window starts the plug-ins; later ones start at once and are stopped before
// they are uninstalled.
TEST_F(HostWindow, TheFirstHostStartsThePlugins) {
    DMPluginsTool& tool = app.GetPluginsTool();
    RecordingPlugin early;
    ASSERT_TRUE(tool.InstallPlugin(&early));
    EXPECT_FALSE(tool.InstallPlugin(&early)) << "installed once";
    EXPECT_FALSE(tool.IsStarted());
    auto first = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    first->DM_CreateWindow(L"host");
    auto second = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    second->DM_CreateWindow(L"host");
    EXPECT_TRUE(tool.IsStarted());
    EXPECT_EQ(early.calls, (std::vector<std::wstring>{L"install", L"start"}));

    RecordingPlugin late;
    tool.InstallPlugin(&late);
    EXPECT_EQ(late.calls, (std::vector<std::wstring>{L"install", L"start"}));
    tool.UninstallPlugin(&late);
    tool.UninstallPlugin(&early);
    EXPECT_EQ(early.calls,
              (std::vector<std::wstring>{L"install", L"start", L"stop", L"uninstall"}));
    first->DestroyWindow();
    second->DestroyWindow();
}

// A shown opaque popup of 120 × 80 at the screen's corner, to print into.
class TestTarget : public DMCWnd {
public:
    HWND Create() {
        HWND window = CreateWindowEx(plat::MAKEINTATOM(DMApp::GetObjPtr()->GetClassAtom()),
                                     L"target", plat::WS_POPUP, 0, 0, 0, 120, 80, nullptr, nullptr);
        plat::ShowWindow(window, plat::SW_SHOWNOACTIVATE);
        return window;
    }
};

// Closes the window a trigger message is for, then reads the exit code of the quit message
// the destruction posted, leaving it queued for the loop.
class CloseAndReadQuitCode : public IDMMessageFilter {
public:
    static constexpr UINT kTrigger = plat::WM_USER + 77;
    bool PreTranslateMessage(plat::MSG* message) override {
        if (message->message != kTrigger) {
            return false;
        }
        plat::SendMessageW(message->hwnd, plat::WM_CLOSE, 0, 0);
        plat::MSG quit{};
        if (plat::PeekMessageW(&quit, nullptr, plat::WM_QUIT, plat::WM_QUIT, plat::PM_NOREMOVE)) {
            exitCode = static_cast<int>(quit.wParam);
        }
        return true;
    }
    std::optional<int> exitCode;
};

TEST_F(HostWindow, DestroyingTheRunWindowEndsTheLoopWithOne) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"host");
    DMMsgLoop* loop = app.GetMsgLoopTool().GetMessageLoop(plat::GetCurrentThreadId());
    ASSERT_NE(loop, nullptr);
    CloseAndReadQuitCode reader;
    loop->AddMessageFilter(&reader);
    plat::PostMessageW(window, CloseAndReadQuitCode::kTrigger, 0, 0);
    EXPECT_EQ(app.Run(window), DM_ECODE_OK);
    EXPECT_EQ(reader.exitCode, 1);
    EXPECT_EQ(app.IsRun(window), DM_ECODE_FAIL);
    EXPECT_FALSE(plat::IsWindow(window));
}

// The tip follows the widget under the pointer: shown once the pointer rests for the widget's
// delay, hidden on another widget and by a press; a disabled widget shows none.
TEST_F(HostWindow, ToolTipOfTheWidgetUnderThePointer) {
    plat::headless::StartVirtualClock();
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"tips", 100, 100);
    host->ShowWindow(plat::SW_SHOW);
    Pump();
    auto restOn = [&](LONG x, LONG y) {
        MoveTo(100 + x, 100 + y);
        MoveTo(100 + x + 1, 100 + y);
    };

    restOn(20, 20);
    HWND tip = TipWindow(*host);
    ASSERT_NE(tip, nullptr);
    ASSERT_NE(tip, window);
    Wait(199);
    EXPECT_FALSE(Shown(tip)) << "before the widget's delay";
    Wait(1);
    ASSERT_TRUE(Shown(tip));
    EXPECT_EQ(plat::headless::Surface(tip)->bounds.top, 100 + 20 + 24);

    MoveTo(100 + 160, 100 + 20);
    EXPECT_FALSE(Shown(tip)) << "a widget without a tip";

    restOn(20, 20);
    Wait(200);
    ASSERT_TRUE(Shown(tip));
    plat::headless::PressButton();
    Pump();
    EXPECT_FALSE(Shown(tip)) << "a press";
    plat::headless::ReleaseButton();
    Pump();

    restOn(20, 110);
    Wait(1000);
    EXPECT_FALSE(Shown(tip)) << "a disabled widget";
    host->DestroyWindow();
    EXPECT_FALSE(plat::IsWindow(tip)) << "goes with the host";
    plat::headless::StopVirtualClock();
}

// The screen shows the adjusted copy; the canvas keeps its colours.
TEST_F(HostWindow, ColourAdjustmentChangesWhatTheScreenShows) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"grey");
    host->ShowWindow(plat::SW_SHOW);
    Pump();
    auto shown = [&] { return plat::headless::PresentedPicture(window)->At(30, 20); };
    auto channels = [](std::uint32_t pixel) {
        return std::vector<std::uint32_t>{pixel & 0xFF, (pixel >> 8) & 0xFF, (pixel >> 16) & 0xFF};
    };
    std::vector<std::uint32_t> grey = channels(shown());
    EXPECT_TRUE(grey[0] == grey[1] && grey[1] == grey[2]) << std::hex << shown();
    EXPECT_EQ(CanvasPixel(*host, 30, 20), 0xFFFF0000u);

    DMHWnd_XmlInfo& info = host->HostXmlInfo();
    EXPECT_EQ(info.SetAttribute(L"s", L"100", false), DMATTR_OK);
    Pump();
    EXPECT_EQ(shown(), 0xFFFF0000u) << "no adjustment";
    EXPECT_EQ(info.SetAttribute(L"h", L"120", false), DMATTR_OK);
    Pump();
    std::vector<std::uint32_t> turned = channels(shown());
    EXPECT_GT(turned[1], turned[2]) << "red turned to green: " << std::hex << shown();
    EXPECT_EQ(info.SetAttribute(L"h", L"0", false), DMATTR_OK);
    EXPECT_EQ(info.SetAttribute(L"l", L"0", false), DMATTR_OK);
    Pump();
    EXPECT_EQ(shown() & 0xFFFFFF, 0u) << "no lightness is black";

    struct Refused {
        const wchar_t* name;
        const wchar_t* value;
    };
    for (auto [name, value] : {Refused{L"h", L"-181"}, Refused{L"h", L"181"}, Refused{L"s", L"-1"},
                               Refused{L"s", L"201"}, Refused{L"l", L"201"}, Refused{L"l", L"x"}}) {
        EXPECT_EQ(info.SetAttribute(name, value, false), DMATTR_FAIL) << name << "=" << value;
    }
    EXPECT_EQ(info.m_nH, 0);
    EXPECT_EQ(info.m_nS, 100);
    EXPECT_EQ(info.m_nL, 0);
    host->DestroyWindow();
}

TEST_F(HostWindow, OpaqueHostWithAlphaIsLayeredWithThatConstantAlpha) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"faded");
    host->ShowWindow(plat::SW_SHOW);
    Pump();
    EXPECT_TRUE(host->GetExStyle() & plat::WS_EX_LAYERED);
    EXPECT_EQ(plat::headless::Surface(window)->constantAlpha, 128);
    EXPECT_EQ(plat::headless::PresentedPicture(window)->At(30, 20), 0xFFFF0000u)
        << "the painted picture, under the constant alpha";

    host->HostXmlInfo().SetAttribute(L"alpha", L"64", false);
    EXPECT_EQ(plat::headless::Surface(window)->constantAlpha, 64);
    host->HostXmlInfo().SetAttribute(L"alpha", L"255", false);
    Pump();
    EXPECT_FALSE(host->GetExStyle() & plat::WS_EX_LAYERED);
    EXPECT_EQ(plat::headless::Surface(window)->constantAlpha, 255);
    EXPECT_EQ(plat::headless::PresentedPicture(window)->At(30, 20), 0xFFFF0000u);
    host->DestroyWindow();
}

// Switched on, the dummy window takes the repaints and the picture goes out per pixel;
// switched off, the dummy goes, the host paints itself again and keeps its constant alpha.
TEST_F(HostWindow, TranslucencySwitchedByCode) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"empty");
    host->ShowWindow(plat::SW_SHOW);
    Pump();
    EXPECT_TRUE(OwnedWindows(window).empty());
    auto* blob = new DUIWindow;
    host->InsertChild(blob);
    blob->SetAttribute(L"pos", L"10,10,@20,@20", false);
    blob->SetAttribute(L"clrbg", L"pbgra(00,ff,00,ff)", false);
    host->UpdateChildLayout();
    Pump();
    auto picture = [&] { return *plat::headless::PresentedPicture(window); };

    host->HostXmlInfo().SetAttribute(L"btranslucent", L"1", false);
    Pump();
    EXPECT_TRUE(host->OnIsTranslucent());
    EXPECT_TRUE(host->GetExStyle() & plat::WS_EX_LAYERED);
    EXPECT_EQ(OwnedWindows(window).size(), 1u) << "the dummy window";
    EXPECT_EQ(picture().At(15, 15), 0xFF00FF00u);
    EXPECT_EQ(picture().At(100, 50), 0u) << "transparent";
    blob->SetAttribute(L"clrbg", L"pbgra(ff,00,00,ff)", false);
    Pump();
    EXPECT_EQ(picture().At(15, 15), 0xFF0000FFu) << "a widget's repaint reaches the screen";

    host->HostXmlInfo().SetAttribute(L"alpha", L"128", false);
    Pump();
    EXPECT_EQ(plat::headless::Surface(window)->constantAlpha, 128);

    host->HostXmlInfo().SetAttribute(L"btranslucent", L"0", false);
    Pump();
    EXPECT_FALSE(host->OnIsTranslucent());
    EXPECT_TRUE(host->GetExStyle() & plat::WS_EX_LAYERED) << "for the alpha";
    EXPECT_EQ(plat::headless::Surface(window)->constantAlpha, 128);
    EXPECT_TRUE(OwnedWindows(window).empty());
    blob->SetAttribute(L"clrbg", L"pbgra(00,00,ff,ff)", false);
    Pump();
    EXPECT_EQ(picture().At(15, 15), 0xFFFF0000u);
    host->DestroyWindow();
}

// From code the window is grown or shrunk at once, its top-left corner kept; the platform's
// size limits come from the work area, the inset and the maximum size.
TEST_F(HostWindow, SizeLimitsByCodeAndTheMinMaxAnswer) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"host", 100, 100);
    DMHWnd_XmlInfo& info = host->HostXmlInfo();
    EXPECT_EQ(info.SetAttribute(L"minsize", L"400,150", false), DMATTR_OK);
    RECT rect = ScreenRect(window);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right - rect.left, 400);
    EXPECT_EQ(rect.bottom - rect.top, 200);
    EXPECT_EQ(host->m_rcWindow.right, 400) << "the root widget follows";
    EXPECT_EQ(info.SetAttribute(L"maxsize", L"500,120", false), DMATTR_FAIL);
    EXPECT_EQ(info.SetAttribute(L"minsize", L"0,0", false), DMATTR_OK);
    EXPECT_EQ(info.SetAttribute(L"maxsize", L"250,120", false), DMATTR_OK);
    rect = ScreenRect(window);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.right - rect.left, 250);
    EXPECT_EQ(rect.bottom - rect.top, 120);

    info.SetAttribute(L"minsize", L"50,60", false);
    info.SetAttribute(L"maxinset", L"2,3,4,5", false);
    info.SetAttribute(L"maxsize", L"-1,700", false);
    plat::MINMAXINFO limits{};
    plat::SendMessageW(window, plat::WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    constexpr LONG kWorkHeight = plat::headless::kScreenHeight - plat::headless::kTaskBarHeight;
    EXPECT_EQ(limits.ptMaxPosition.x, 1);
    EXPECT_EQ(limits.ptMaxPosition.y, 2);
    EXPECT_EQ(limits.ptMaxSize.x, plat::headless::kScreenWidth - 2 - 4 + 2);
    EXPECT_EQ(limits.ptMaxSize.y, kWorkHeight - 3 - 5 + 2);
    EXPECT_EQ(limits.ptMinTrackSize.x, 50);
    EXPECT_EQ(limits.ptMinTrackSize.y, 60);
    EXPECT_EQ(limits.ptMaxTrackSize.x, limits.ptMaxSize.x) << "no maximum width";
    EXPECT_EQ(limits.ptMaxTrackSize.y, 700);
    host->DestroyWindow();
}

// Right after creation, before anything was painted: the animation shows the rendered picture,
// with its colour adjustment.
TEST_F(HostWindow, TranslucentHostAnimatesItsPicture) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"glass");
    host->HostXmlInfo().SetAttribute(L"s", L"0", false);
    constexpr DWORD kBlend = 0x80000;
    constexpr DWORD kHide = 0x10000;
    EXPECT_EQ(host->DM_AnimateWindow(10, kBlend), DM_ECODE_FAIL) << "fewer than two steps";
    EXPECT_FALSE(Shown(window));

    EXPECT_EQ(host->DM_AnimateWindow(100, kBlend), DM_ECODE_OK);
    EXPECT_TRUE(Shown(window));
    auto picture = plat::headless::PresentedPicture(window);
    std::uint32_t blob = picture->At(30, 30);
    EXPECT_EQ(blob >> 24, 0x80u) << "the whole picture at the end";
    EXPECT_TRUE((blob & 0xFF) == ((blob >> 8) & 0xFF) && (blob & 0xFF) == ((blob >> 16) & 0xFF))
        << "grey: " << std::hex << blob;
    EXPECT_EQ(picture->At(5, 5), 0u);
    EXPECT_EQ(plat::headless::Surface(window)->constantAlpha, 255);

    EXPECT_EQ(host->DM_AnimateWindow(100, kBlend | kHide), DM_ECODE_OK);
    EXPECT_FALSE(Shown(window));
    host->DestroyWindow();
}

// An opaque host uses the platform's window animation, which takes its time.
TEST_F(HostWindow, OpaqueHostAnimationTakesItsTime) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"host");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(host->DM_AnimateWindow(100, plat::AW_BLEND), DM_ECODE_OK);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_TRUE(Shown(window));
    EXPECT_EQ(host->DM_AnimateWindow(100, plat::AW_BLEND), DM_ECODE_FAIL) << "shown already";
    EXPECT_EQ(host->DM_AnimateWindow(50, plat::AW_BLEND | plat::AW_HIDE), DM_ECODE_OK);
    EXPECT_FALSE(Shown(window));
    host->DestroyWindow();
}

// A real-window widget whose native window is a popup owned by the host: it stays on the
// screen when only the host hides.
class PopupRealWnd : public IDUIRealWnd {
    DMDECLARE_CLASS_NAME(PopupRealWnd, IDUIRealWnd, L"popupreal", L"window", DMREG_Window)
public:
    HWND OnCreateRealWnd(const wchar_t*, HWND host) override {
        return plat::CreateWindowExW(0, plat::MAKEINTATOM(DMApp::GetObjPtr()->GetClassAtom()),
                                     L"popup", plat::WS_POPUP, 0, 0, 100, 50, host, nullptr,
                                     nullptr, nullptr);
    }
    int OnDestroyRealWnd() override { return 1; }
    int OnShowRealWnd(bool, LPARAM) override { return 1; }
    int OnHostMove() override { return 0; }
    int OnMoveRealWnd(const RECT&) override { return 1; }
};

// An opaque host hides the popups of its real-window widgets before it animates itself away,
// and shows them again with it.
TEST_F(HostWindow, OpaqueHostAnimationTakesTheRealWindowsAlong) {
    app.Register(DMRegHelperT<PopupRealWnd>(), true);
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"real");
    EXPECT_EQ(host->DM_AnimateWindow(50, plat::AW_BLEND), DM_ECODE_OK);
    auto* widget = dynamic_cast<PopupRealWnd*>(host->FindChildByName(L"web"));
    ASSERT_NE(widget, nullptr);
    HWND popup = widget->GetRealHWnd();
    EXPECT_TRUE(Visible(popup));

    std::atomic<bool> done{false};
    std::atomic<bool> popupOverHiddenHost{false};
    std::atomic<bool> popupGoneFirst{false};
    std::thread watcher([&] {
        while (!done) {
            popupOverHiddenHost = popupOverHiddenHost || (!Visible(window) && Visible(popup));
            popupGoneFirst = popupGoneFirst || (Visible(window) && !Visible(popup));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    EXPECT_EQ(host->DM_AnimateWindow(100, plat::AW_BLEND | plat::AW_HIDE), DM_ECODE_OK);
    done = true;
    watcher.join();
    EXPECT_TRUE(popupGoneFirst);
    EXPECT_FALSE(popupOverHiddenHost);
    EXPECT_FALSE(Visible(popup));

    EXPECT_EQ(host->DM_AnimateWindow(50, plat::AW_BLEND), DM_ECODE_OK);
    EXPECT_TRUE(Visible(popup)) << "back with the host";
    widget->SetVisible(false, true);
    EXPECT_EQ(host->DM_AnimateWindow(50, plat::AW_BLEND | plat::AW_HIDE), DM_ECODE_OK);
    EXPECT_EQ(host->DM_AnimateWindow(50, plat::AW_BLEND), DM_ECODE_OK);
    EXPECT_FALSE(Visible(popup)) << "its widget is hidden";
    host->DestroyWindow();
}

// Sliding in from the left, the picture moves with the growing part: the blob, 20 pixels from
// the left edge of the finished picture, passes the window's first columns on its way.
TEST_F(HostWindow, TranslucentSlideMovesThePicture) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"glass");
    std::atomic<bool> done{false};
    std::atomic<bool> blobAtTheEdge{false};
    std::thread watcher([&] {
        while (!done) {
            auto picture = plat::headless::PresentedPicture(window);
            if (picture && picture->width > 5 && picture->At(5, 30) != 0) {
                blobAtTheEdge = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    EXPECT_EQ(host->DM_AnimateWindow(400, plat::AW_SLIDE | plat::AW_HOR_POSITIVE), DM_ECODE_OK);
    done = true;
    watcher.join();
    EXPECT_TRUE(blobAtTheEdge);
    auto final = plat::headless::PresentedPicture(window);
    EXPECT_EQ(final->At(5, 30), 0u);
    EXPECT_NE(final->At(30, 30), 0u) << "in its place at the end";
    host->DestroyWindow();
}

// Printing renders the whole picture into the given context, a translucent host's too, and
// presents nothing of its own.
TEST_F(HostWindow, PrintingATranslucentHostFillsTheGivenContext) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND glass = host->DM_CreateWindow(L"glass");
    TestTarget target;
    HWND window = target.Create();
    plat::SendMessageW(glass, plat::WM_PRINT, reinterpret_cast<WPARAM>(plat::GetDC(window)), 0);
    auto printed = plat::headless::PresentedPicture(window);
    ASSERT_TRUE(printed);
    EXPECT_NE(printed->At(30, 30), 0u) << "the blob";
    auto own = plat::headless::PresentedPicture(glass);
    EXPECT_TRUE(!own || own->At(30, 30) == 0u) << "nothing presented on the host";
    target.DestroyWindow();
    host->DestroyWindow();
}

// Tab goes through the focus manager; other keys and characters reach the focused widget.
TEST_F(HostWindow, KeysMoveTheFocusAndReachTheFocusedWidget) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    host->DM_CreateWindow(L"empty");
    auto* first = new CountingWidget;
    auto* second = new CountingWidget;
    for (CountingWidget* widget : {first, second}) {
        host->InsertChild(widget);
        widget->SetAttribute(L"bfocusable", L"1", false);
    }
    host->ShowWindow(plat::SW_SHOW);
    Pump();

    plat::headless::TapKey(plat::VK_TAB);
    Pump();
    EXPECT_EQ(host->OnGetFocusWnd(), first->GetDUIWnd());
    plat::headless::TapKey(plat::VK_TAB);
    Pump();
    EXPECT_EQ(host->OnGetFocusWnd(), second->GetDUIWnd());
    EXPECT_EQ(second->Count(plat::WM_KEYDOWN), 0) << "Tab is the focus manager's";

    int firstChars = first->Count(plat::WM_CHAR);
    int secondChars = second->Count(plat::WM_CHAR);
    plat::headless::TypeText(L"x");
    plat::headless::TapKey(plat::VK_HOME);
    Pump();
    EXPECT_EQ(second->Count(plat::WM_CHAR), secondChars + 1);
    EXPECT_EQ(second->Count(plat::WM_KEYDOWN), 1);
    EXPECT_EQ(first->Count(plat::WM_CHAR), firstChars);
    EXPECT_EQ(first->Count(plat::WM_KEYDOWN), 0);

    plat::headless::PressKey(plat::VK_SHIFT);
    plat::headless::TapKey(plat::VK_TAB);
    plat::headless::ReleaseKey(plat::VK_SHIFT);
    Pump();
    EXPECT_EQ(host->OnGetFocusWnd(), first->GetDUIWnd()) << "Shift+Tab goes back";
    host->DestroyWindow();
}

// The hover widget's style cursor, else the arrow; a disabled widget has no say.
TEST_F(HostWindow, CursorOfTheHoverWidget) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"cursors", 100, 100);
    host->ShowWindow(plat::SW_SHOW);
    Pump();
    // The platform asks for the cursor before the move that changes the hover widget.
    auto cursorAt = [&](LONG x) {
        MoveTo(100 + x, 100 + 20);
        MoveTo(100 + x + 1, 100 + 20);
        return plat::headless::Surface(window)->cursorId;
    };
    EXPECT_EQ(cursorAt(20), plat::IDC_HAND);
    EXPECT_EQ(cursorAt(120), plat::IDC_ARROW) << "a widget without a cursor";
    EXPECT_EQ(cursorAt(20), plat::IDC_HAND);
    EXPECT_EQ(cursorAt(220), plat::IDC_ARROW) << "a disabled widget";
    EXPECT_EQ(cursorAt(20), plat::IDC_HAND);
    EXPECT_EQ(cursorAt(80), plat::IDC_ARROW) << "the host itself";
    host->DestroyWindow();
}

// A widget's canvas on the host: it starts with the current picture, and what is drawn into it
// reaches the host's canvas and the screen at its release, unless the copying is turned off.
TEST_F(HostWindow, WidgetCanvasComesFromAndGoesBackToTheHost) {
    auto host = DMSmartPtrT<RecordingHost>::Adopt(new RecordingHost);
    HWND window = host->DM_CreateWindow(L"host");
    host->ShowWindow(plat::SW_SHOW);
    Pump();
    const RECT area{5, 5, 25, 25};
    const DMColor green(0, 0xFF, 0, 0xFF);
    auto shown = [&](LONG x, LONG y) { return plat::headless::PresentedPicture(window)->At(x, y); };

    IDMCanvas* canvas = nullptr;
    ASSERT_EQ(host->OnGetCanvas(area, 0, &canvas), DM_ECODE_OK);
    SIZE size{};
    canvas->GetSize(size);
    EXPECT_EQ(size.cx, 20);
    EXPECT_EQ(size.cy, 20);
    std::uint32_t* bits = canvas->GetPixelBits(nullptr);
    EXPECT_EQ(bits[0], 0xFF302010u) << "the background at (5, 5)";
    EXPECT_EQ(bits[10 * 20 + 10], 0xFFFF0000u) << "the button at (15, 15)";
    canvas->FillSolidRect({5, 5, 15, 15}, green);
    EXPECT_EQ(host->OnReleaseCanvas(area, 0, canvas), DM_ECODE_OK);
    EXPECT_EQ(CanvasPixel(*host, 7, 7), 0xFF00FF00u);
    EXPECT_EQ(shown(7, 7), 0xFF00FF00u) << "on screen without a paint";
    EXPECT_EQ(shown(20, 20), 0xFFFF0000u);

    ASSERT_EQ(host->OnGetCanvas(area, DMCANVAS_NOCOPY, &canvas), DM_ECODE_OK);
    EXPECT_EQ(canvas->GetPixelBits(nullptr)[10 * 20 + 10], 0u) << "left empty";
    canvas->FillSolidRect({15, 15, 25, 25}, green);
    EXPECT_EQ(host->OnReleaseCanvas(area, DMCANVAS_NOCOPY, canvas), DM_ECODE_OK);
    EXPECT_EQ(CanvasPixel(*host, 20, 20), 0xFFFF0000u);
    EXPECT_EQ(shown(20, 20), 0xFFFF0000u);
    host->DestroyWindow();
}

}  // namespace
