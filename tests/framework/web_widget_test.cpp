// The web widget on the headless driver: when the browser is made, what it is asked to load,
// the refresh key, the events that reach the handler and the host's answers to the browser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Common/ActiveX/DUIIE.h"
#include "DMApp.h"
#include "DMHWnd.h"
#include "LayoutFolder.h"
#include "MessagePump.h"
#include "TempDir.h"
#include "plat/com_classes.h"
#include "plat/headless.h"
#include "plat/keyboard.h"
#include "plat/show_commands.h"
#include "plat/web_browser.h"

using namespace DM;

namespace {

constexpr const char* kLayouts[][2] = {
    {"web",
     R"xml(<dm initsize="400,300"><root>
          <ie name="page" pos="10,20,-10,-30" url="http://news.test/index.html"/>
        </root></dm>)xml"},
    {"glassweb",
     R"xml(<dm initsize="400,300" btranslucent="1"><root>
          <ie name="page" pos="0,0,-0,-0" url="http://news.test/index.html"/>
        </root></dm>)xml"},
    {"hiddenweb",
     R"xml(<dm initsize="400,300"><root>
          <ie name="page" pos="0,0,-0,-0" bvisible="0" url="http://news.test/first.html"/>
        </root></dm>)xml"},
    {"blankweb",
     R"xml(<dm initsize="400,300"><root>
          <ie name="page" pos="0,0,-0,-0" url="About:Blank"/>
        </root></dm>)xml"},
};

// Records the events and window.external calls that reach it.
class RecordingHandler : public IDMWebEvent {
public:
    HRESULT TitleChange(DUIWND widget, const wchar_t* text) override {
        calls.push_back(L"TitleChange " + std::wstring(text));
        owner = widget;
        return plat::S_OK;
    }
    HRESULT DocumentComplete(DUIWND, plat::IDispatch*, const wchar_t* url) override {
        calls.push_back(L"DocumentComplete " + std::wstring(url));
        return plat::S_OK;
    }
    HRESULT BeforeNavigate2(DUIWND, plat::IDispatch*, const wchar_t* url, int, const wchar_t*,
                            plat::VARIANT*, const wchar_t*, plat::VARIANT_BOOL* cancel) override {
        calls.push_back(L"BeforeNavigate2 " + std::wstring(url));
        if (cancelNavigation && cancel) {
            *cancel = plat::VARIANT_TRUE;
        }
        return plat::S_OK;
    }
    HRESULT NewWindow3(DUIWND, plat::IDispatch**, plat::VARIANT_BOOL* cancel, DWORD,
                       const wchar_t* context, const wchar_t* url) override {
        calls.push_back(L"NewWindow3 " + std::wstring(context) + L" " + url);
        if (cancelNewWindow && cancel) {
            *cancel = plat::VARIANT_TRUE;
        }
        return plat::S_OK;
    }
    HRESULT ExternalGetIDsOfNames(DUIWND, plat::REFIID, const wchar_t** names, UINT count,
                                  plat::LCID, plat::DISPID* ids) override {
        calls.push_back(L"External " + std::wstring(count ? names[0] : L""));
        ids[0] = 7;
        return plat::S_OK;
    }
    HRESULT ExternalInvoke(DUIWND, plat::DISPID member, plat::REFIID, plat::LCID, plat::WORD,
                           plat::DISPPARAMS* parameters, plat::VARIANT* result, plat::EXCEPINFO*,
                           UINT*) override {
        std::wstring text = L"Invoke " + std::to_wstring(member);
        for (UINT i = 0; i < parameters->cArgs; ++i) {
            text += L" " + parameters->rgvarg[parameters->cArgs - 1 - i].bstrVal;
        }
        calls.push_back(text);
        *result = plat::TextVariant(L"pong");
        return plat::S_OK;
    }

    std::vector<std::wstring> calls;
    DUIWND owner = 0;
    bool cancelNavigation = false;
    bool cancelNewWindow = false;
};

class WebWidget : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        plat::OleInitialize(nullptr);
        std::wstring root = vael::test::WriteLayoutFolder(folder.path(), kLayouts);
        ASSERT_EQ(app.LoadResPack(reinterpret_cast<WPARAM>(root.c_str()), 0, nullptr), DM_ECODE_OK);
    }
    void TearDown() override {
        if (host->IsWindow()) {
            host->DestroyWindow();
        }
        plat::OleUninitialize();
    }

    DUIIE* Open(const wchar_t* layout) {
        host->DM_CreateWindow(layout, 100, 100);
        host->ShowWindow(plat::SW_SHOW);
        Pump();
        return dynamic_cast<DUIIE*>(host->FindChildByName(L"page"));
    }
    // As the thread's loop runs: its filters see each message first.
    void Pump() {
        DMMsgLoop* loop = app.GetMsgLoopTool().GetMessageLoop(plat::GetCurrentThreadId());
        vael::test::PumpMessages(
            [loop](plat::MSG& message) { return loop && loop->PreTranslateMessage(&message); });
    }
    static plat::headless::WebViewState* View() {
        std::vector<plat::headless::WebViewState*> views = plat::headless::WebViews();
        return views.size() == 1 ? views.front() : nullptr;
    }

    vael::test::TempDir folder;
    DMApp app;
    DMSmartPtrT<DMHWnd> host = DMSmartPtrT<DMHWnd>::Adopt(new DMHWnd);
};

TEST_F(WebWidget, IsNotCreatedInATranslucentHost) {
    EXPECT_EQ(Open(L"glassweb"), nullptr);
    EXPECT_TRUE(plat::headless::WebViews().empty());
}

// The browser opens the layout's address once it is active, placed over the widget.
TEST_F(WebWidget, OpaqueHostShowsThePageAtTheWidgetsRectangle) {
    DUIIE* web = Open(L"web");
    ASSERT_NE(web, nullptr);
    EXPECT_TRUE(web->IsCreated());
    plat::headless::WebViewState* view = View();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->host, host->m_hWnd);
    EXPECT_EQ(view->rect.left, 10);
    EXPECT_EQ(view->rect.top, 20);
    EXPECT_EQ(view->rect.right, 390);
    EXPECT_EQ(view->rect.bottom, 270);
    EXPECT_TRUE(view->visible);
    ASSERT_EQ(view->navigations.size(), 1u);
    EXPECT_EQ(view->navigations[0].url, L"http://news.test/index.html");
    EXPECT_FALSE(view->navigations[0].bypassCache) << "the layout's address has no extras";
    EXPECT_FALSE(view->scrollBars) << "no scroll bars by default";
    EXPECT_FALSE(view->silent);
    ASSERT_NE(web->GetWebHwnd(), nullptr);
    EXPECT_EQ(plat::GetParent(web->GetWebHwnd()), host->m_hWnd);
}

TEST_F(WebWidget, LayoutAddressOpensOnlyOnceActiveAndALaterOneAtOnce) {
    DUIIE* web = Open(L"hiddenweb");
    ASSERT_NE(web, nullptr);
    EXPECT_FALSE(web->IsCreated()) << "an invisible widget waits";
    EXPECT_TRUE(plat::headless::WebViews().empty());

    web->SetVisible(true, true);
    ASSERT_NE(View(), nullptr);
    ASSERT_EQ(View()->navigations.size(), 1u);
    EXPECT_EQ(View()->navigations[0].url, L"http://news.test/first.html");

    EXPECT_EQ(web->SetAttribute(L"url", L"http://news.test/second.html", false), DMATTR_OK);
    ASSERT_EQ(View()->navigations.size(), 2u);
    EXPECT_EQ(View()->navigations[1].url, L"http://news.test/second.html");
    EXPECT_TRUE(View()->navigations[1].bypassCache) << "OpenUrl's default flags";
}

TEST_F(WebWidget, OpenUrlPassesItsExtrasAndRefusesAnEmptyAddress) {
    DUIIE* web = Open(L"web");
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->OpenUrl(L""), plat::E_FAIL);
    const char body[] = "a=1&b=2";
    EXPECT_EQ(web->OpenUrl(L"http://news.test/form", 0, nullptr, L"X-Test: 1\r\n", body, 7),
              plat::S_OK);
    const plat::WebRequest& request = View()->navigations.back();
    EXPECT_EQ(request.url, L"http://news.test/form");
    EXPECT_EQ(request.headers, L"X-Test: 1\r\n");
    EXPECT_EQ(std::string(request.postData.begin(), request.postData.end()), "a=1&b=2");
    EXPECT_FALSE(request.bypassCache);
    wchar_t url[64] = {};
    EXPECT_EQ(web->GetUrl(url, 64), plat::S_OK);
    EXPECT_STREQ(url, L"http://news.test/form");
    wchar_t tiny[4] = {};
    EXPECT_TRUE(plat::FAILED(web->GetUrl(tiny, 4))) << "a buffer too small is no success";
}

TEST_F(WebWidget, RefreshOnABlankPageIsRefused) {
    DUIIE* web = Open(L"blankweb");
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->Refresh(), plat::E_FAIL);
    EXPECT_EQ(web->RefreshLevel(plat::REFRESH_COMPLETELY), plat::E_FAIL);
    EXPECT_TRUE(View()->reloads.empty());

    web->OpenUrl(L"http://news.test/index.html");
    EXPECT_EQ(web->RefreshLevel(plat::REFRESH_COMPLETELY), plat::S_OK);
    EXPECT_EQ(View()->reloads, std::vector<bool>{true});
}

// The refresh key fires with exactly its modifier down; two modifiers never fire.
TEST_F(WebWidget, RefreshKeyNeedsItsModifier) {
    struct Case {
        const wchar_t* key;
        std::vector<UINT> held;
        UINT pressed;
        bool reloads;
    } cases[] = {
        {L"f5", {}, plat::VK_F5, true},
        {L"f5", {plat::VK_CONTROL}, plat::VK_F5, false},
        {L"ctrl+r", {plat::VK_CONTROL}, 'R', true},
        {L"ctrl+r", {}, 'R', false},
        {L"ctrl+r", {plat::VK_SHIFT}, 'R', false},
        {L"ctrl+shift+r", {plat::VK_CONTROL, plat::VK_SHIFT}, 'R', false},
    };
    DUIIE* web = Open(L"web");
    ASSERT_NE(web, nullptr);
    for (const Case& c : cases) {
        web->SetAttribute(L"refreshkey", c.key, false);
        std::size_t before = View()->reloads.size();
        for (UINT key : c.held) {
            plat::headless::PressKey(key);
        }
        plat::headless::TapKey(c.pressed);
        for (UINT key : c.held) {
            plat::headless::ReleaseKey(key);
        }
        Pump();
        EXPECT_EQ(View()->reloads.size(), before + (c.reloads ? 1 : 0))
            << std::string(c.key, c.key + wcslen(c.key)) << " with " << c.held.size()
            << " modifiers";
    }
}

TEST_F(WebWidget, EventsWithoutAHandlerCallNothing) {
    DUIIE* web = Open(L"web");
    ASSERT_NE(web, nullptr);
    RecordingHandler handler;
    plat::WebViewClient* client = View()->client;
    client->OnTitleChanged(L"before");
    EXPECT_TRUE(handler.calls.empty());

    web->SetEvtHandler(&handler);
    client->OnTitleChanged(L"News");
    client->OnLoadFinished(L"http://news.test/index.html");
    EXPECT_EQ(handler.calls,
              (std::vector<std::wstring>{L"TitleChange News",
                                         L"DocumentComplete http://news.test/index.html"}));
    EXPECT_EQ(handler.owner, web->GetDUIWnd());

    web->SetEvtHandler(nullptr);
    client->OnTitleChanged(L"after");
    EXPECT_EQ(handler.calls.size(), 2u);
}

TEST_F(WebWidget, NewWindowReachesTheHandlerAndItsCancelOpensNothing) {
    DUIIE* web = Open(L"web");
    ASSERT_NE(web, nullptr);
    RecordingHandler handler;
    web->SetEvtHandler(&handler);
    plat::WebViewClient* client = View()->client;

    handler.cancelNewWindow = true;
    client->OnNewWindowRequested(L"http://news.test/popup.html", L"http://news.test/index.html");
    EXPECT_EQ(handler.calls, std::vector<std::wstring>{L"NewWindow3 http://news.test/index.html "
                                                       L"http://news.test/popup.html"});
    EXPECT_EQ(View()->navigations.size(), 1u) << "cancelled: nothing opens";

    handler.cancelNewWindow = false;
    client->OnNewWindowRequested(L"http://news.test/other.html", L"http://news.test/index.html");
    EXPECT_EQ(View()->navigations.back().url, L"http://news.test/other.html")
        << "not cancelled: the page opens in the control itself";
}

TEST_F(WebWidget, BeforeNavigateCancelsAndCommandStatesAreKept) {
    DUIIE* web = Open(L"web");
    ASSERT_NE(web, nullptr);
    RecordingHandler handler;
    web->SetEvtHandler(&handler);
    plat::WebViewClient* client = View()->client;
    EXPECT_TRUE(client->OnNavigationStarting(L"http://news.test/a.html"));
    handler.cancelNavigation = true;
    EXPECT_FALSE(client->OnNavigationStarting(L"http://news.test/b.html"));

    EXPECT_FALSE(web->CanGoBack());
    client->OnHistoryChanged(true, false);
    EXPECT_TRUE(web->CanGoBack());
    EXPECT_FALSE(web->CanGoForward());
}

TEST_F(WebWidget, HostAnswersScrollBarsContextMenuAndSilence) {
    DUIIE* web = Open(L"web");
    ASSERT_NE(web, nullptr);
    plat::WebViewClient* client = View()->client;
    EXPECT_TRUE(client->OnContextMenu()) << "the browser's own menu by default";
    web->SetAttribute(L"bshowcontext", L"0", false);
    EXPECT_FALSE(client->OnContextMenu());

    web->SetAttribute(L"bshowscroll", L"1", false);
    EXPECT_TRUE(View()->scrollBars) << "the page was refreshed with scroll bars";
    EXPECT_EQ(View()->reloads.size(), 2u);

    web->SetAttribute(L"bdisablescriptwarn", L"1", false);
    EXPECT_TRUE(View()->silent);
    web->SetSilent(false);
    EXPECT_FALSE(View()->silent);
}

TEST_F(WebWidget, PageScriptAndWindowExternal) {
    DUIIE* web = Open(L"web");
    ASSERT_NE(web, nullptr);
    RecordingHandler handler;
    web->SetEvtHandler(&handler);
    View()->functions[L"greet"] = L"hello there";

    EXPECT_EQ(web->ExecScript(L"document.title = 'x'"), plat::S_OK);
    EXPECT_EQ(View()->scripts, std::vector<std::wstring>{L"document.title = 'x'"});
    wchar_t result[32] = {};
    EXPECT_EQ(web->CallScript(L"greet", {L"a", L"b"}, result, 32), plat::S_OK);
    EXPECT_STREQ(result, L"hello there");
    EXPECT_EQ(View()->calls.back(), L"greet(a,b)");
    EXPECT_TRUE(plat::FAILED(web->CallScript(L"missing", {}, result, 32)));

    EXPECT_EQ(View()->client->OnExternalCall(L"Ping", {L"x"}), L"pong");
    EXPECT_EQ(handler.calls, (std::vector<std::wstring>{L"External Ping", L"Invoke 7 x"}));
}

TEST_F(WebWidget, WithoutABrowserTheOperationsFail) {
    DUIIE* web = Open(L"hiddenweb");
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->OpenUrl(L"http://news.test/later.html"), plat::E_FAIL);
    EXPECT_EQ(web->ExecScript(L"1"), plat::E_FAIL);
    EXPECT_EQ(web->GoBack(), plat::E_FAIL);
    EXPECT_FALSE(web->IsBusy());
    web->SetVisible(true, true);
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ(View()->navigations.back().url, L"http://news.test/later.html")
        << "the address asked for last opens once the browser is there";
}

TEST_F(WebWidget, DestroyingTheHostEndsThePage) {
    Open(L"web");
    ASSERT_NE(View(), nullptr);
    host->DestroyWindow();
    EXPECT_TRUE(plat::headless::WebViews().empty());
}

TEST(ClassIds, FromStringAndProgramId) {
    plat::CLSID clsid{};
    EXPECT_EQ(plat::CLSIDFromString(L"{8856F961-340A-11D0-A96B-00C04FD705A2}", &clsid), plat::S_OK);
    EXPECT_EQ(clsid, plat::CLSID_WebBrowser);
    EXPECT_EQ(plat::CLSIDFromString(L"{8856F961-340A-11D0-A96B00C04FD705A2}", &clsid),
              plat::CO_E_CLASSSTRING);
    clsid = {};
    EXPECT_EQ(plat::CLSIDFromProgID(L"shell.explorer.2", &clsid), plat::S_OK);
    EXPECT_EQ(clsid, plat::CLSID_WebBrowser);
    EXPECT_EQ(plat::CLSIDFromProgID(L"No.Such.Class", &clsid), plat::CO_E_CLASSSTRING);
    void* object = nullptr;
    EXPECT_EQ(plat::CoCreateInstance(plat::CLSID_WebBrowser, nullptr, plat::CLSCTX_INPROC_SERVER,
                                     plat::IID_IUnknown, &object),
              plat::CO_E_NOTINITIALIZED);
}

}  // namespace
