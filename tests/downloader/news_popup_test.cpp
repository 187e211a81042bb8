// The news page's popup on the headless driver: the main layout's "ierealwnd" opens a CIEWnd
// from "dui_ie" over the splash area, which follows the main window and goes with it.
#include <gtest/gtest.h>

#include "Common/ActiveX/IDUIWeb.h"
#include "DMApp.h"
#include "IERealWnd.h"
#include "LauncherWindow.h"
#include "MessagePump.h"
#include "plat/com_classes.h"
#include "plat/headless.h"
#include "plat/input.h"
#include "plat/show_commands.h"
#include "plat/window.h"

using namespace DM;

namespace {

// The splash area of the layout "main", in the main window's client coordinates.
constexpr RECT kSplash{250, 120, 640, 343};

RECT ScreenRect(HWND window) {
    RECT rect{};
    plat::GetWindowRect(window, &rect);
    return rect;
}

void ExpectRect(const RECT& actual, LONG left, LONG top, LONG right, LONG bottom) {
    EXPECT_EQ(actual.left, left);
    EXPECT_EQ(actual.top, top);
    EXPECT_EQ(actual.right, right);
    EXPECT_EQ(actual.bottom, bottom);
}

class NewsPopup : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        plat::OleInitialize(nullptr);
        ASSERT_TRUE(LoadLauncherSkin(app));
        app.Register(DMRegHelperT<IERealWnd>(), true);
        window = host->DM_CreateWindow(L"main", 200, 100);
        ASSERT_NE(window, nullptr);
        host->ShowWindow(plat::SW_SHOWNOACTIVATE);
        vael::test::PumpMessages();
        realWnd = dynamic_cast<IERealWnd*>(host->FindChildByName(L"ieobj"));
        ASSERT_NE(realWnd, nullptr);
        ASSERT_NE(realWnd->GetIEWnd(), nullptr);
        popup = realWnd->GetIEWnd()->m_hWnd;
    }
    void TearDown() override {
        if (host->IsWindow()) {
            host->DestroyWindow();
        }
        plat::OleUninitialize();
    }

    DMApp app;
    DMSmartPtrT<vael::test::ClickRecordingHost> host =
        DMSmartPtrT<vael::test::ClickRecordingHost>::Adopt(new vael::test::ClickRecordingHost);
    HWND window = nullptr;
    IERealWnd* realWnd = nullptr;
    HWND popup = nullptr;
};

TEST_F(NewsPopup, SitsOverTheSplashAreaWithTheWebWidgetFillingIt) {
    ASSERT_TRUE(plat::IsWindow(popup));
    EXPECT_EQ(plat::GetWindow(popup, plat::GW_OWNER), window);
    EXPECT_TRUE(plat::IsWindowVisible(popup));
    ExpectRect(ScreenRect(popup), 200 + kSplash.left, 100 + kSplash.top, 200 + kSplash.right,
               100 + kSplash.bottom);

    auto* web = dynamic_cast<IDUIWeb*>(realWnd->GetIEWnd()->FindChildByName(L"IeWnd"));
    ASSERT_NE(web, nullptr);
    std::vector<plat::headless::WebViewState*> views = plat::headless::WebViews();
    ASSERT_EQ(views.size(), 1u);
    EXPECT_EQ(views[0]->host, popup);
    ExpectRect(views[0]->rect, 0, 0, kSplash.right - kSplash.left, kSplash.bottom - kSplash.top);
    ASSERT_EQ(views[0]->navigations.size(), 1u);
    EXPECT_EQ(views[0]->navigations[0].url, L"about:blank");
}

TEST_F(NewsPopup, FollowsTheMainWindowWithoutTakingTheActivation) {
    plat::SetWindowPos(window, nullptr, 300, 250, 0, 0,
                       plat::SWP_NOSIZE | plat::SWP_NOZORDER | plat::SWP_NOACTIVATE);
    vael::test::PumpMessages();
    ExpectRect(ScreenRect(popup), 300 + kSplash.left, 250 + kSplash.top, 300 + kSplash.right,
               250 + kSplash.bottom);
    EXPECT_NE(plat::GetActiveWindow(), popup);
}

TEST_F(NewsPopup, HidesWithTheMainWindowAndGoesWithIt) {
    host->ShowWindow(plat::SW_MINIMIZE);
    vael::test::PumpMessages();
    EXPECT_FALSE(plat::IsWindowVisible(popup));
    host->ShowWindow(plat::SW_RESTORE);
    vael::test::PumpMessages();
    EXPECT_TRUE(plat::IsWindowVisible(popup));

    host->DestroyWindow();
    EXPECT_FALSE(plat::IsWindow(popup));
    EXPECT_TRUE(plat::headless::WebViews().empty());
}

TEST_F(NewsPopup, HidingTheWidgetHidesThePopup) {
    realWnd->SetVisible(false, true);
    EXPECT_FALSE(plat::IsWindowVisible(popup));
    realWnd->SetVisible(true, true);
    EXPECT_TRUE(plat::IsWindowVisible(popup));
    ExpectRect(ScreenRect(popup), 200 + kSplash.left, 100 + kSplash.top, 200 + kSplash.right,
               100 + kSplash.bottom);
}

}  // namespace
