// The launcher's main window on desktops of their own: under a compositing manager the desktop
// shows through the window's transparent corners and its blended edge, and clicks there reach
// the window beneath, while the host's invisible helper window takes no clicks at all; on a
// screen scaled twice the window shows at twice its size, sharp, and clicks land where they
// should. The main window carries the program's icon.
#include <gtest/gtest.h>

#include "plat/types.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "DMApp.h"
#include "DMHWnd.h"
#include "LauncherWindow.h"
#include "OnScreen.h"
#include "SkinOnScreen.h"
#include "TempDir.h"
#include "plat/layered.h"
#include "plat/show_commands.h"
#include "plat/window.h"
#include "window_test_support.h"

using namespace DM;
using namespace std::chrono_literals;

namespace {

using vael::test::Colour;
using vael::test::PumpUntil;
using vael::test::RunXdotool;
using vael::test::Screenshot;

constexpr std::uint32_t kGreen = 0xFF00FF00;  // premultiplied BGRA as one value
const Colour kDesktop{0, 255, 0};
constexpr POINT kWindowAt{100, 100};

// An opaque green window over the whole screen that records the clicks reaching it, below
// everything and never activated.
HWND ShowDesktop(std::vector<std::uint32_t>& pixels) {
    HWND desktop = plat::test::CreateShownWindow({0, 0, 1920, 1080}, nullptr,
                                                 plat::WS_EX_LAYERED | plat::WS_EX_NOACTIVATE);
    pixels.assign(1920 * 1080, kGreen);
    plat::PixelBuffer picture{reinterpret_cast<const BYTE*>(pixels.data()), 1920, 1080, 1920 * 4};
    plat::BLENDFUNCTION blend{plat::AC_SRC_OVER, 0, 255, plat::AC_SRC_ALPHA};
    EXPECT_TRUE(plat::UpdateLayeredWindow(desktop, nullptr, nullptr, picture, nullptr, &blend,
                                          plat::ULW_ALPHA, nullptr));
    return desktop;
}

bool Clicked(HWND window) {
    return !plat::test::Received(window, plat::WM_LBUTTONUP).empty();
}

std::string At(LONG x, LONG y) {
    return std::to_string(x) + " " + std::to_string(y);
}

TEST(MainWindowOnADesktop, TransparentPixelsShowTheDesktopAndLetClicksThrough) {
    vael::test::SkinOnScreen onScreen;
    ASSERT_TRUE(onScreen.Ready());
    ASSERT_TRUE(onScreen.display.Start({"xcompmgr"}));

    std::vector<std::uint32_t> desktopPixels;
    HWND desktop = ShowDesktop(desktopPixels);
    auto& host = onScreen.host;
    HWND window = host->DM_CreateWindow(L"main", kWindowAt.x, kWindowAt.y);
    ASSERT_NE(window, nullptr);
    host->ShowWindow(plat::SW_SHOW);
    vael::test::Settle(1000ms);

    Screenshot screen;
    ASSERT_TRUE(screen.Taken());
    vael::test::TempDir folder;
    EXPECT_TRUE(screen.Save((folder.path() / "composited.png").string()));
    EXPECT_EQ(screen.At(kWindowAt.x, kWindowAt.y), kDesktop);
    EXPECT_EQ(screen.At(kWindowAt.x + 674, kWindowAt.y + 436), kDesktop);
    // Somewhere on the soft edge the desktop's green mixes with the window's own colour.
    int middle = kWindowAt.y + 218;
    bool blended = false;
    for (int x = kWindowAt.x; x < kWindowAt.x + 20 && !blended; ++x) {
        Colour pixel = screen.At(x, middle);
        blended = pixel.green > 0 && pixel.green < 255 && pixel != kDesktop;
    }
    EXPECT_TRUE(blended);

    plat::test::Log().clear();
    ASSERT_TRUE(RunXdotool("mousemove " + At(kWindowAt.x + 1, kWindowAt.y + 1) + " click 1"));
    EXPECT_TRUE(PumpUntil([&] { return Clicked(desktop); }));
    plat::test::Log().clear();
    ASSERT_TRUE(RunXdotool("mousemove 0 0 click 1"));
    EXPECT_TRUE(PumpUntil([&] { return Clicked(desktop); })) << "the top-left corner was taken";
    host->DestroyWindow();
    plat::DestroyWindow(desktop);
}

// The launcher's main window carries the program's icon, the picture linked into it, at the
// sizes a task bar uses.
TEST(MainWindowOnADesktop, TheMainWindowCarriesTheProgramsIcon) {
    vael::test::SkinOnScreen onScreen;
    ASSERT_TRUE(onScreen.Ready());
    auto& host = onScreen.host;
    ASSERT_NE(host->DM_CreateWindow(L"main", kWindowAt.x, kWindowAt.y), nullptr);
    host->ShowWindow(plat::SW_SHOW);
    vael::test::Settle(300ms);
    EXPECT_EQ(std::system("xprop -id \"$(xdotool search --name Vael)\" _NET_WM_ICON | "
                          "grep -q 'Icon (128 x 128)'"),
              0);
    host->DestroyWindow();
}

// The two by two blocks of device pixels showing `window` (model coordinates) on a screen
// scaled twice whose pixels differ: the picture shown blurred instead of sharp.
int BlurredBlocks(const Screenshot& screen, const RECT& window) {
    int blurred = 0;
    for (LONG y = 2 * window.top; y < 2 * window.bottom; y += 2) {
        for (LONG x = 2 * window.left; x < 2 * window.right; x += 2) {
            Colour corner = screen.At(x, y);
            blurred += screen.At(x + 1, y) != corner || screen.At(x, y + 1) != corner ||
                       screen.At(x + 1, y + 1) != corner;
        }
    }
    return blurred;
}

// GDK_SCALE=2: the window model keeps its own coordinates, the screen shows each of its pixels
// as two by two.
TEST(MainWindowOnADesktop, OnAScaledScreenAClickReachesTheDownloadButton) {
    setenv("GDK_SCALE", "2", 1);
    vael::test::SkinOnScreen onScreen;
    ASSERT_TRUE(onScreen.Ready());
    auto& host = onScreen.host;
    HWND window = host->DM_CreateWindow(L"main", kWindowAt.x, kWindowAt.y);
    ASSERT_NE(window, nullptr);
    host->ShowWindow(plat::SW_SHOW);
    vael::test::Settle(1000ms);

    RECT rect{};
    plat::GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 675);
    Screenshot screen;
    ASSERT_TRUE(screen.Taken());
    vael::test::TempDir folder;
    EXPECT_TRUE(screen.Save((folder.path() / "scaled.png").string()));
    // The window's middle, twice as far from the corner of the screen, shows the window.
    EXPECT_NE(screen.At(2 * (kWindowAt.x + 337), 2 * (kWindowAt.y + 300)), (Colour{0, 0, 0}));
    EXPECT_EQ(BlurredBlocks(screen, rect), 0) << "each pixel shows as a two by two block";

    RECT download = host->FindChildByName(L"download")->m_rcWindow;
    LONG x = 2 * (kWindowAt.x + (download.left + download.right) / 2);
    LONG y = 2 * (kWindowAt.y + (download.top + download.bottom) / 2);
    ASSERT_TRUE(RunXdotool("mousemove " + At(x, y) + " click 1"));
    EXPECT_TRUE(PumpUntil([&] { return !host->clicks.empty(); }));
    EXPECT_EQ(host->clicks, std::vector<DMStringT>{L"download"});
    host->DestroyWindow();
}

}  // namespace
