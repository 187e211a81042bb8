// The launcher's main window on an X server of the test's own with the gtk driver: shown on
// the screen, a click made by xdotool reaching the host's event handler, the background
// dragging the window, and a screenshot.
#include <gtest/gtest.h>

#include "plat/types.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gdk/gdk.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "DMApp.h"
#include "DMHWnd.h"
#include "LauncherWindow.h"
#include "MessagePump.h"
#include "OnScreen.h"
#include "SkinOnScreen.h"
#include "TempDir.h"
#include "plat/show_commands.h"
#include "plat/window.h"

using namespace DM;
using namespace std::chrono_literals;

namespace {

using vael::test::PumpUntil;
using vael::test::Settle;

TEST(MainWindowOnScreen, AClickReachesTheHandlerAndTheBackgroundDrags) {
    vael::test::SkinOnScreen onScreen;
    ASSERT_TRUE(onScreen.Ready());
    auto& host = onScreen.host;
    HWND window = host->DM_CreateWindow(L"main", 100, 100);
    ASSERT_NE(window, nullptr);
    host->ShowWindow(plat::SW_SHOW);
    Settle(500ms);

    RECT download = host->FindChildByName(L"download")->m_rcWindow;
    std::string at = std::to_string(100 + (download.left + download.right) / 2) + " " +
                     std::to_string(100 + (download.top + download.bottom) / 2);
    ASSERT_EQ(std::system(("xdotool mousemove " + at + " click 1").c_str()), 0);
    EXPECT_TRUE(PumpUntil([&] { return !host->clicks.empty(); }));
    EXPECT_EQ(host->clicks, std::vector<DMStringT>{L"download"});

    // The background moves the window while the button is held.
    RECT before{};
    plat::GetWindowRect(window, &before);
    ASSERT_EQ(std::system("xdotool mousemove 150 300 mousedown 1 mousemove 170 310 "
                          "mousemove 190 320 mouseup 1"),
              0);
    RECT after{};
    EXPECT_TRUE(PumpUntil([&] {
        plat::GetWindowRect(window, &after);
        return after.left == before.left + 40 && after.top == before.top + 20;
    })) << "at "
        << after.left << "," << after.top;

    vael::test::TempDir folder;
    GdkWindow* root = gdk_get_default_root_window();
    GdkPixbuf* screen = gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root),
                                                   gdk_window_get_height(root));
    ASSERT_NE(screen, nullptr);
    std::string path = (folder.path() / "screen.png").string();
    EXPECT_TRUE(gdk_pixbuf_save(screen, path.c_str(), "png", nullptr, nullptr));
    g_object_unref(screen);
    host->DestroyWindow();
}

}  // namespace
