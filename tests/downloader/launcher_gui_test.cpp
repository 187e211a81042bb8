// The launcher on an X server of the test's own with the gtk driver: xdotool clicks "download"
// on the real window and the whole job completes against nginx.
#include <gtest/gtest.h>

#include "plat/types.h"  // before GTK, whose TRUE and FALSE are macros

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "HttpServers.h"
#include "OnScreen.h"
#include "Startup.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "plat/drive_map.h"
#include "plat/resources.h"
#include "plat/window.h"
#include "xvfb_display.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

TEST(LauncherOnScreen, AClickOnDownloadInstallsTheGame) {
    plat::test::XvfbDisplay display;
    ASSERT_TRUE(display.Running()) << "Xvfb did not start";
    setenv("DM_DRIVER", "gtk", 1);
    setenv("NO_AT_BRIDGE", "1", 1);
    std::string name = vael::test::UniqueFileName("zip");
    vael::test::WriteFile(vael::test::ServedFolder() / name,
                          vael::test::BuildZip({{.name = "Play.exe", .data = "MZ game"},
                                                {.name = "ORVN/Play.exe", .data = "MZ classic"}}));
    std::string configuration = "[Downloader]\r\nurlDownload=" + vael::test::NginxUrl("/" + name);
    plat::RegisterModuleResource(L"INI", 105, configuration.data(), configuration.size());

    Launcher launcher(nullptr);
    ASSERT_EQ(launcher.Start(), std::nullopt);
    plat::HWND window = launcher.MainWindow().m_hWnd;
    vael::test::Settle(500ms);
    plat::RECT rect{};
    plat::GetWindowRect(window, &rect);
    plat::RECT download = launcher.MainWindow().FindChildByName(L"download")->m_rcWindow;
    std::string at = std::to_string(rect.left + (download.left + download.right) / 2) + " " +
                     std::to_string(rect.top + (download.top + download.bottom) / 2);
    ASSERT_EQ(std::system(("xdotool mousemove " + at + " click 1").c_str()), 0);

    EXPECT_TRUE(vael::test::PumpUntil([&] { return !plat::IsWindow(window); }, 60s))
        << "the window ends after the job";
    EXPECT_EQ(launcher.ExitCode(), 0);
    fs::path installed =
        plat::PrefixFolder() / "drive_c" / "Program Files (x86)" / "Halvorn" / "Vael";
    EXPECT_EQ(vael::test::ReadFile(installed / "ORVN" / "Play.exe"), "MZ classic");
    EXPECT_FALSE(fs::exists(installed / name));
}

}  // namespace
