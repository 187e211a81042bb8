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

#include <algorithm>
#include <chrono>
#include <cstdio>
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
#include "WaitUntil.h"
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
    HRESULT NewWindow3(DUIWND, plat::IDispatch**, plat::VARIANT_BOOL* cancel, DWORD, const wchar_t*,
                       const wchar_t* url) override {
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
        ASSERT_TRUE(LoadLauncherSkin(*app));
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

    // The web widget in a popup of its own at 100, 100, 400 × 300, not shown yet.
    DUIIE* CreateWebWindow() {
        host = DMSmartPtrT<DMHWnd>::Adopt(new DMHWnd);
        HWND window = host->DM_CreateWindow(L"dui_ie");
        if (!window) {
            return nullptr;
        }
        plat::SetWindowPos(window, nullptr, 100, 100, 400, 300, plat::SWP_NOZORDER);
        auto* web = dynamic_cast<DUIIE*>(host->FindChildByName(L"IeWnd"));
        if (web) {
            web->SetEvtHandler(&handler);
        }
        return web;
    }
    DUIIE* OpenWebWindow() {
        DUIIE* web = CreateWebWindow();
        if (web) {
            host->ShowWindow(plat::SW_SHOW);
            Settle(300ms);
        }
        return web;
    }

    // Dispatches messages as the thread's loop does, until `done` holds; false after 10 s.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = 10s) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            DMMsgLoop* loop = app->GetMsgLoopTool().GetMessageLoop(plat::GetCurrentThreadId());
            vael::test::PumpMessages(
                [loop](plat::MSG& message) { return loop && loop->PreTranslateMessage(&message); });
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
    std::string file = ServePage("title",
                                 "<html><head><title>Vael news</title></head>"
                                 "<body>hello</body></html>");
    DUIIE* web = OpenWebWindow();
    ASSERT_NE(web, nullptr);
    ASSERT_TRUE(Load(web, file));
    EXPECT_TRUE(PumpUntil([&] { return handler.HasTitle(L"Vael news"); }));
    EXPECT_EQ(handler.completed.back(), Wide(vael::test::NginxUrl("/" + file)));
    EXPECT_GE(vael::test::NginxRequestsFor(file).size(), 1u);
}

// WebKit starts only once the window has shown its first picture: a page asked for earlier is
// kept until then.
TEST_F(WebOnScreen, APageAskedForBeforeTheWindowShowsLoadsAfterItsFirstPicture) {
    std::string file = ServePage("early", "<html><body>early</body></html>");
    DUIIE* web = CreateWebWindow();
    ASSERT_NE(web, nullptr);
    web->OpenUrl(Wide(vael::test::NginxUrl("/" + file)).c_str());
    Settle(500ms);
    EXPECT_TRUE(vael::test::NginxRequestsFor(file).empty());
    EXPECT_TRUE(handler.completed.empty());

    host->ShowWindow(plat::SW_SHOW);
    std::wstring url = Wide(vael::test::NginxUrl("/" + file));
    EXPECT_TRUE(PumpUntil([&] {
        return std::find(handler.completed.begin(), handler.completed.end(), url) !=
               handler.completed.end();
    }));
}

// The number of GTK's top-level windows that show.
int ShownTopLevels() {
    int shown = 0;
    GList* windows = gtk_window_list_toplevels();
    for (GList* at = windows; at; at = at->next) {
        shown += gtk_widget_get_visible(GTK_WIDGET(at->data)) ? 1 : 0;
    }
    g_list_free(windows);
    return shown;
}

TEST_F(WebOnScreen, ALinkForANewWindowReachesTheHandlerAndOpensNoWindow) {
    std::string file =
        ServePage("link",
                  "<html><body style='margin:0'><a id='go' href='popup.html' target='_blank' "
                  "style='display:block;width:400px;height:300px;font-size:60px'>open</a>"
                  "</body></html>");
    DUIIE* web = OpenWebWindow();
    ASSERT_NE(web, nullptr);
    ASSERT_TRUE(Load(web, file));
    int windows = ShownTopLevels();

    ASSERT_EQ(std::system("xdotool mousemove 250 250 click 1"), 0);
    ASSERT_TRUE(PumpUntil([&] { return !handler.newWindows.empty(); }));
    EXPECT_EQ(handler.newWindows.back(), Wide(vael::test::NginxUrl("/popup.html")));
    Settle(500ms);
    EXPECT_EQ(ShownTopLevels(), windows) << "no second window";
    wchar_t url[256] = {};
    web->GetUrl(url, 256);
    EXPECT_EQ(std::wstring(url), Wide(vael::test::NginxUrl("/" + file))) << "the page stays";
}

// An alert blocks the page's script until it is answered; in silent mode it is answered at once
// without showing, so the script goes on.
TEST_F(WebOnScreen, SilentPagesScriptsAndWindowExternal) {
    std::string file = ServePage("script",
                                 "<html><head><title>start</title><script>"
                                 "function join(a, b) { return a + '+' + b; }"
                                 "missingFunction();"
                                 "</script></head><body><script>"
                                 "alert('boom'); document.title = 'after-alert';"
                                 "window.external.Ping('x');"
                                 "</script></body></html>");
    DUIIE* web = OpenWebWindow();
    ASSERT_NE(web, nullptr);
    int windows = ShownTopLevels();
    EXPECT_EQ(web->SetSilent(true), plat::S_OK);
    ASSERT_TRUE(Load(web, file));
    EXPECT_TRUE(PumpUntil([&] { return handler.HasTitle(L"after-alert"); }));
    EXPECT_EQ(ShownTopLevels(), windows) << "no dialog";
    EXPECT_TRUE(PumpUntil([&] { return handler.external.size() >= 2; }));
    EXPECT_EQ(handler.external, (std::vector<std::wstring>{L"Ping", L"x"}));

    EXPECT_EQ(web->ExecScript(L"document.title = 'changed by host'"), plat::S_OK);
    EXPECT_TRUE(PumpUntil([&] { return handler.HasTitle(L"changed by host"); }));
    wchar_t result[64] = {};
    EXPECT_EQ(web->CallScript(L"join", {L"left", L"right"}, result, 64), plat::S_OK);
    EXPECT_STREQ(result, L"left+right");
    EXPECT_TRUE(plat::FAILED(web->CallScript(L"noSuchFunction", {}, result, 64)));
}

TEST_F(WebOnScreen, F5ReloadsThePage) {
    std::string file = ServePage("reload", "<html><body>reload me</body></html>");
    DUIIE* web = OpenWebWindow();
    ASSERT_NE(web, nullptr);
    ASSERT_TRUE(Load(web, file));
    // nginx writes its log line after the response, which the page may have finished before.
    ASSERT_TRUE(PumpUntil([&] { return vael::test::NginxRequestsFor(file).size() == 1; }));

    ASSERT_EQ(std::system("xdotool mousemove 250 250 click 1 key F5"), 0);
    EXPECT_TRUE(PumpUntil([&] { return vael::test::NginxRequestsFor(file).size() == 2; }));
}

// The screen's pixel as 0xRRGGBB.
unsigned ScreenPixel(GdkPixbuf* screen, int x, int y) {
    const guchar* at = gdk_pixbuf_get_pixels(screen) + y * gdk_pixbuf_get_rowstride(screen) +
                       x * gdk_pixbuf_get_n_channels(screen);
    return at[0] << 16 | at[1] << 8 | at[2];
}

// The whole screen; also written next to the test program, to be looked at.
GdkPixbuf* Screenshot(const char* name) {
    GdkWindow* root = gdk_get_default_root_window();
    GdkPixbuf* screen = gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root),
                                                   gdk_window_get_height(root));
    if (screen) {
        gdk_pixbuf_save(screen, name, "png", nullptr, nullptr);
    }
    return screen;
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    plat::GetWindowRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The splash area of the layout "main", in the main window's client coordinates.
constexpr RECT kSplash{250, 120, 640, 343};

TEST_F(WebOnScreen, NewsPopupSitsOverTheSplashAreaAndFollowsTheMainWindow) {
    std::string file =
        ServePage("splash", "<html><body style='margin:0;background:#ff0000'></body></html>");
    host = DMSmartPtrT<DMHWnd>::Adopt(new DMHWnd);
    HWND window = host->DM_CreateWindow(L"main", 100, 100);
    ASSERT_NE(window, nullptr);
    host->ShowWindow(plat::SW_SHOW);
    auto* realWnd = dynamic_cast<IERealWnd*>(host->FindChildByName(L"ieobj"));
    ASSERT_NE(realWnd, nullptr);
    ASSERT_NE(realWnd->GetIEWnd(), nullptr);
    HWND popup = realWnd->GetIEWnd()->m_hWnd;
    auto* web = dynamic_cast<DUIIE*>(realWnd->GetIEWnd()->FindChildByName(L"IeWnd"));
    ASSERT_NE(web, nullptr);
    web->SetEvtHandler(&handler);
    ASSERT_TRUE(Load(web, file));
    Settle(500ms);

    RECT expected{100 + kSplash.left, 100 + kSplash.top, 100 + kSplash.right, 100 + kSplash.bottom};
    EXPECT_TRUE(SameRect(ScreenRect(popup), expected));
    GdkPixbuf* screen = Screenshot("news_popup_screen.png");
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(ScreenPixel(screen, expected.left + 5, expected.top + 5), 0xFF0000u);
    EXPECT_EQ(ScreenPixel(screen, expected.right - 5, expected.bottom - 5), 0xFF0000u);
    EXPECT_NE(ScreenPixel(screen, expected.left - 5, expected.top + 5), 0xFF0000u);
    EXPECT_NE(ScreenPixel(screen, expected.right + 5, expected.bottom - 5), 0xFF0000u);
    g_object_unref(screen);

    plat::SetWindowPos(window, nullptr, 300, 200, 0, 0,
                       plat::SWP_NOSIZE | plat::SWP_NOZORDER | plat::SWP_NOACTIVATE);
    RECT moved{300 + kSplash.left, 200 + kSplash.top, 300 + kSplash.right, 200 + kSplash.bottom};
    EXPECT_TRUE(PumpUntil([&] { return SameRect(ScreenRect(popup), moved); }));
    Settle(500ms);
    screen = Screenshot("news_popup_moved.png");
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(ScreenPixel(screen, moved.left + 5, moved.top + 5), 0xFF0000u);
    EXPECT_NE(ScreenPixel(screen, expected.left + 5, expected.top + 5), 0xFF0000u);
    g_object_unref(screen);

    int windows = ShownTopLevels();
    host->ShowWindow(plat::SW_MINIMIZE);
    EXPECT_TRUE(PumpUntil([&] { return !plat::IsWindowVisible(popup); }));
    EXPECT_LT(ShownTopLevels(), windows);

    host->DestroyWindow();
    Settle(200ms);
    EXPECT_FALSE(plat::IsWindow(popup));
    EXPECT_EQ(ShownTopLevels(), 0);
}

// The processes whose parent is `parent`, and theirs.
std::vector<pid_t> Descendants(pid_t parent) {
    std::vector<pid_t> found;
    std::vector<pid_t> parents{parent};
    while (!parents.empty()) {
        pid_t of = parents.back();
        parents.pop_back();
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            std::string name = entry.path().filename();
            if (name.find_first_not_of("0123456789") != std::string::npos) {
                continue;
            }
            std::ifstream stat(entry.path() / "stat");
            std::string line;
            std::getline(stat, line);
            std::size_t close = line.rfind(')');
            if (close == std::string::npos) {
                continue;
            }
            char state = 0;
            int ppid = 0;
            if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == of) {
                found.push_back(std::stoi(name));
                parents.push_back(std::stoi(name));
            }
        }
    }
    return found;
}

bool Running(pid_t process) {
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return false;
    }
    std::size_t close = line.rfind(')');
    return close != std::string::npos && line.size() > close + 2 && line[close + 2] != 'Z';
}

// A program that shows a page, destroys its window and ends: WebKit's processes end with it.
TEST(WebProcesses, EndWithTheProgram) {
    plat::test::XvfbDisplay display;
    ASSERT_TRUE(display.Running());
    std::string file = ServePage("processes", "<html><body>bye</body></html>");
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    pid_t program = fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        close(channel[0]);
        setenv("DM_DRIVER", "gtk", 1);
        setenv("NO_AT_BRIDGE", "1", 1);
        plat::OleInitialize(nullptr);
        int loaded = 0;
        {
            DMApp app;
            Handler handler;
            if (LoadLauncherSkin(app)) {
                auto host = DMSmartPtrT<DMHWnd>::Adopt(new DMHWnd);
                host->DM_CreateWindow(L"dui_ie");
                plat::SetWindowPos(host->m_hWnd, nullptr, 0, 0, 200, 200, plat::SWP_NOZORDER);
                host->ShowWindow(plat::SW_SHOW);
                auto* web = dynamic_cast<DUIIE*>(host->FindChildByName(L"IeWnd"));
                if (web) {
                    web->SetEvtHandler(&handler);
                    web->OpenUrl(Wide(vael::test::NginxUrl("/" + file)).c_str());
                    auto deadline = std::chrono::steady_clock::now() + 10s;
                    while (handler.completed.empty() &&
                           std::chrono::steady_clock::now() < deadline) {
                        vael::test::PumpMessages();
                        std::this_thread::sleep_for(5ms);
                    }
                    loaded = handler.completed.empty() ? 0 : 1;
                }
                std::vector<pid_t> helpers = Descendants(getpid());
                (void)!write(channel[1], &loaded, sizeof(loaded));
                for (pid_t helper : helpers) {
                    (void)!write(channel[1], &helper, sizeof(helper));
                }
                host->DestroyWindow();
            }
        }
        close(channel[1]);
        _exit(0);
    }
    close(channel[1]);
    int loaded = 0;
    ASSERT_EQ(read(channel[0], &loaded, sizeof(loaded)), static_cast<ssize_t>(sizeof(loaded)));
    EXPECT_EQ(loaded, 1);
    std::vector<pid_t> helpers;
    pid_t helper = 0;
    while (read(channel[0], &helper, sizeof(helper)) == static_cast<ssize_t>(sizeof(helper))) {
        helpers.push_back(helper);
    }
    close(channel[0]);
    int status = 0;
    ASSERT_EQ(waitpid(program, &status, 0), program);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(helpers.empty()) << "WebKit runs processes of its own";
    bool ended = vael::test::WaitUntil(
        [&] { return std::none_of(helpers.begin(), helpers.end(), Running); }, 10s);
    EXPECT_TRUE(ended) << "a WebKit process outlived the program";
}

}  // namespace
