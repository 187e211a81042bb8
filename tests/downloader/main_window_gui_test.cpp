// The launcher's main window on an X server of the test's own with the gtk driver: shown on
// the screen, a click made by xdotool reaching the host's event handler, and a screenshot.
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
#include "DMResZipImpl.h"
#include "TempDir.h"
#include "plat/message_queue.h"
#include "plat/resources.h"
#include "plat/show_commands.h"
#include "xvfb_display.h"

using namespace DM;
using namespace std::chrono_literals;

namespace {

class ClickRecordingHost : public DMHWnd {
public:
    DMCode HandleEvent(DMEventArgs& event) override {
        if (event.GetEventID() == DMEventCmdArgs::EventID) {
            clicks.push_back(event.m_szNameFrom);
        }
        return DM_ECODE_OK;
    }
    std::vector<DMStringT> clicks;
};

// Dispatches messages until `done` holds; false when five seconds pass first.
bool PumpUntil(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < deadline) {
        plat::MSG message{};
        while (plat::PeekMessageW(&message, nullptr, 0, 0, plat::PM_REMOVE)) {
            plat::TranslateMessage(&message);
            plat::DispatchMessageW(&message);
        }
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

void Settle(std::chrono::milliseconds time) {
    auto until = std::chrono::steady_clock::now() + time;
    PumpUntil([until] { return std::chrono::steady_clock::now() >= until; });
}

TEST(MainWindowOnScreen, ClickedDownloadReachesTheHandler) {
    plat::test::XvfbDisplay display;
    ASSERT_TRUE(display.Running()) << "Xvfb did not start";
    setenv("DM_DRIVER", "gtk", 1);
    setenv("NO_AT_BRIDGE", "1", 1);

    DMApp app;
    app.Register(DMRegHelperT<DMResZipImpl>(), true);
    app.SetDefRegObj(L"DMResZipImpl", DMREG_Res);
    DMResZipParam param{1, nullptr, nullptr, plat::MAKEINTRESOURCEW(106), L"ZIP"};
    ASSERT_EQ(app.LoadResPack(reinterpret_cast<WPARAM>(&param), 0, nullptr), DM_ECODE_OK);
    ASSERT_EQ(app.InitGlobal(L"global"), DM_ECODE_OK);
    auto host = DMSmartPtrT<ClickRecordingHost>::Adopt(new ClickRecordingHost);
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
