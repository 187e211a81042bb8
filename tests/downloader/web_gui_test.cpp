// The web widget and the news popup with the gtk driver on an X server of the test's own, over
// pages that nginx serves on loopback: loading, titles, new windows, silent mode, scripts,
// window.external, the refresh key, the popup over the splash area, and WebKit's processes
// ending with the program.
#include <gtest/gtest.h>

#include "plat/types.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtk/gtk.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Common/ActiveX/DUIIE.h"
#include "DMApp.h"
#include "DMHWnd.h"
#include "HttpServers.h"
#include "IERealWnd.h"
#include "LauncherWindow.h"
#include "MessagePump.h"
#include "TempDir.h"
#include "plat/com_classes.h"
#include "plat/show_commands.h"
#include "plat/text.h"
#include "plat/window.h"
#include "xvfb_display.h"

using namespace DM;
using namespace std::chrono_literals;

namespace {

// Records what reaches the handler; new windows are cancelled, as the launcher does.
class Handler : public IDMWebEvent {
public:
    HRESULT TitleChange(DUIWND, const wchar_t* text) override {
        titles.push_back(text);
        return plat::S_OK;
    }
    HRESULT DocumentComplete(DUIWND, plat::IDispatch*, const wchar_t* url) override {
        completed.push_back(url);
        return plat::S_OK;
    }
    HRESULT NewWindow3(DUIWND, plat::IDispatch**, plat::VARIANT_BOOL* cancel, DWORD,
                       const wchar_t*, const wchar_t* url) override {
        newWindows.push_back(url);
        if (cancel) {
            *cancel = plat::VARIANT_TRUE;
        }
        return plat::S_OK;
    }
    HRESULT ExternalGetIDsOfNames(DUIWND, plat::REFIID, const wchar_t** names, UINT count,
                                  plat::LCID, plat::DISPID* ids) override {
        if (count) {
            external.push_back(names[0]);
            ids[0] = 1;
        }
        return plat::S_OK;
    }
    HRESULT ExternalInvoke(DUIWND, plat::DISPID, plat::REFIID, plat::LCID, plat::WORD,
                           plat::DISPPARAMS* parameters, plat::VARIANT* result, plat::EXCEPINFO*,
                           UINT*) override {
        for (UINT i = 0; i < parameters->cArgs; ++i) {
            external.push_back(parameters->rgvarg[parameters->cArgs - 1 - i].bstrVal);
        }
        *result = plat::TextVariant(L"pong");
        return plat::S_OK;
    }

    bool HasTitle(const std::wstring& title) const {
        return std::find(titles.begin(), titles.end(), title) != titles.end();
    }

    std::vector<std::wstring> titles;
    std::vector<std::wstring> completed;
    std::vector<std::wstring> newWindows;
    std::vector<std::wstring> external;
};

std::wstring Wide(const std::string& text) {
    return plat::Utf8ToWide(text);
}

// A page of nginx's folder under a name of this test's own; its address.
std::string ServePage(const std::string& name, const std::string& html) {
    std::string file = vael::test::UniqueFileName(name + ".html");
    std::ofstream(vael::test::ServedFolder() / file) << html;
    return file;
}

class WebOnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Running()) << "Xvfb did not start";
        setenv("DM_DRIVER", "gtk", 1);
        setenv("NO_AT_BRIDGE", "1", 1);
        setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 1);
        plat::OleInitialize(nullptr);
        app = std::make_unique<DMApp>();
        ASSERT_TRUE(vael::test::LoadLauncherSkin(*app));
        app->Register(DMRegHelperT<IERealWnd>(), true);
    }
    void TearDown() override {
        if (host && host->IsWindow()) {
            host->DestroyWindow();
        }
        host.Release();
        app.reset();
        plat::OleUninitialize();
    }

    // The web widget in a popup of its own at 100, 100, 400 × 300.
    DUIIE* OpenWebWindow() {
        host = DMSmartPtrT<DMHWnd>::Adopt(new DMHWnd);
        HWND window = host->DM_CreateWindow(L"dui_ie", 100, 100, 400, 300);
        if (!window) {
            return nullptr;
        }
        plat::SetWindowPos(window, nullptr, 100, 100, 400, 300, plat::SWP_NOZORDER);
        host->ShowWindow(plat::SW_SHOW);
        auto* web = dynamic_cast<DUIIE*>(host->FindChildByName(L"IeWnd"));
        if (web) {
            web->SetEvtHandler(&handler);
        }
        Settle(300ms);
        return web;
    }

    // Dispatches messages as the thread's loop does, until `done` holds; false after 10 s.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = 10s) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            DMMsgLoop* loop = app->GetMsgLoopTool().GetMessageLoop(plat::GetCurrentThreadId());
            vael::test::PumpMessages([loop](plat::MSG& message) {
                return loop && loop->PreTranslateMessage(&message);
            });
            if (done()) {
                return true;
            }
            std::this_thread::sleep_for(5ms);
        }
        return false;
    }
    void Settle(std::chrono::milliseconds time) {
        auto until = std::chrono::steady_clock::now() + time;
        PumpUntil([until] { return std::chrono::steady_clock::now() >= until; });
    }
    bool Load(DUIIE* web, const std::string& file) {
        std::size_t before = handler.completed.size();
        web->OpenUrl(Wide(vael::test::NginxUrl("/" + file)).c_str());
        return PumpUntil([&] { return handler.completed.size() > before; });
    }

    plat::test::XvfbDisplay display;
    std::unique_ptr<DMApp> app;
    DMSmartPtrT<DMHWnd> host;
    Handler handler;
};

TEST_F(WebOnScreen, PageLoadsAndItsTitleReachesTheHandler) {
    std::string file = ServePage("title", "<html><head><title>Vael news</title></head>"
                                          "<body>hello</body></html>");
    DUIIE* web = OpenWebWindow();
    ASSERT_NE(web, nullptr);
    ASSERT_TRUE(Load(web, file));
    EXPECT_TRUE(PumpUntil([&] { return handler.HasTitle(L"Vael news"); }));
    EXPECT_EQ(handler.completed.back(), Wide(vael::test::NginxUrl("/" + file)));
    EXPECT_GE(vael::test::NginxRequestsFor(file).size(), 1u);
}

}  // namespace
