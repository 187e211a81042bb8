// The whole launcher in this process on the headless driver, against nginx and the fault server
// on loopback: start-up with an embedded configuration naming the test server, a click on
// "download", the progress, the unpacked tree, the desktop launchers, the registry record, the
// game started, the window gone and the exit status; and runs that are interrupted.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "DUIProcessCtrl.h"
#include "HttpServers.h"
#include "MessagePump.h"
#include "Startup.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "ZipWriter.h"
#include "plat/drive_map.h"
#include "plat/headless.h"
#include "plat/registry.h"
#include "plat/resources.h"
#include "plat/shell.h"
#include "plat/text.h"
#include "plat/window.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using DM::DUIWindow;
using vael::test::ReadFile;

namespace {

// The client archive: both games, data with a Chinese name, and `packs` incompressible packs
// of 256 KiB, so that downloading and unpacking take a moment.
std::vector<vael::test::ZipEntry> ClientEntries(int packs) {
    std::vector<vael::test::ZipEntry> entries{
        {.name = "Play.exe", .data = "MZ the game", .deflate = true},
        {.name = "ORVN/", .data = ""},
        {.name = "ORVN/Play.exe", .data = "MZ the classic edition", .deflate = true},
        {.name = plat::Utf8ToAnsi("data/说明.txt"), .data = "welcome", .deflate = true},
    };
    for (int i = 0; i < packs; ++i) {
        entries.push_back({.name = "data/pack" + std::to_string(i) + ".pak",
                           .data = vael::test::RandomBytes(256 * 1024, i + 1)});
    }
    return entries;
}

// The user's desktop folder, made when missing.
fs::path DesktopFolder() {
    wchar_t desktop[plat::MAX_PATH] = {};
    plat::SHGetSpecialFolderPathW(nullptr, desktop, plat::CSIDL_DESKTOP, plat::TRUE);
    return plat::HostPathFromWindowsW(desktop);
}

fs::path InstallFolder() {
    return plat::PrefixFolder() / "drive_c" / "Program Files (x86)" / "Halvorn" / "Vael";
}

std::wstring RegistryText(const wchar_t* name) {
    plat::HKEY key = nullptr;
    if (plat::RegOpenKeyExW(plat::HKEY_LOCAL_MACHINE, L"Software\\Halvorn\\ORVN", 0, plat::KEY_READ,
                            &key) != plat::ERROR_SUCCESS) {
        return L"<no key>";
    }
    wchar_t text[300] = {};
    plat::DWORD size = sizeof text;
    plat::DWORD type = 0;
    plat::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<plat::BYTE*>(text), &size);
    plat::RegCloseKey(key);
    return text;
}

class WholeLauncher : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        DesktopFolder();  // a desktop, as a user's session has
        // The game is a Windows program: this stand-in for wine records where it was started.
        vael::test::WriteFile(m_bin / "wine", "#!/bin/sh\nprintf '%s|%s\\n' \"$(pwd)\" \"$*\" >> " +
                                                  (m_bin / "started").string() + "\n");
        fs::permissions(m_bin / "wine", fs::perms::owner_all);
        std::string path = m_bin.path().string() + ":" + std::getenv("PATH");
        setenv("PATH", path.c_str(), 1);
    }

    // Serves the archive under a name of this test's own.
    void Serve(const std::vector<vael::test::ZipEntry>& entries) {
        m_entries = entries;
        m_archiveName = vael::test::UniqueFileName("zip");
        vael::test::WriteFile(vael::test::ServedFolder() / m_archiveName,
                              vael::test::BuildZip(entries));
    }
    // The embedded configuration the next start reads.
    void Configure(const std::string& downloadUrl) {
        m_configuration = "[Downloader]\r\nurlDownload=" + downloadUrl + "\r\n[IEUrl]\r\nurlIE=";
        plat::RegisterModuleResource(L"INI", 105, m_configuration.data(), m_configuration.size());
    }
    std::unique_ptr<Launcher> Start() {
        auto launcher = std::make_unique<Launcher>(nullptr);
        EXPECT_EQ(launcher->Start(), std::nullopt);
        return launcher;
    }
    static void Click(Launcher& launcher, const wchar_t* name) {
        plat::RECT window{};
        plat::GetWindowRect(launcher.MainWindow().m_hWnd, &window);
        plat::RECT widget = launcher.MainWindow().FindChildByName(name)->m_rcWindow;
        plat::headless::Click(window.left + (widget.left + widget.right) / 2,
                              window.top + (widget.top + widget.bottom) / 2);
    }
    static std::wstring ProgressText(Launcher& launcher) {
        DUIWindow* bar = launcher.MainWindow().FindChildByName(L"process");
        return bar ? bar->GetText() : std::wstring();
    }
    // Serves the window until it is gone or `stop` holds; false after a minute. Every progress
    // text shown on the way is kept.
    bool Serve(
        Launcher& launcher, const std::function<bool()>& stop = [] { return false; }) {
        auto deadline = std::chrono::steady_clock::now() + 60s;
        while (plat::IsWindow(launcher.MainWindow().m_hWnd) && !stop()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            vael::test::PumpMessages();
            std::wstring text = ProgressText(launcher);
            if (!text.empty() && (m_progress.empty() || m_progress.back() != text)) {
                m_progress.push_back(text);
            }
            std::this_thread::sleep_for(2ms);
        }
        return true;
    }
    bool ShowsProgress(const std::wstring& start) const {
        for (const std::wstring& text : m_progress) {
            if (text.rfind(start, 0) == 0) {
                return true;
            }
        }
        return false;
    }
    void ExpectInstalled() {
        for (const vael::test::ZipEntry& entry : m_entries) {
            if (!entry.name.ends_with("/")) {
                EXPECT_EQ(ReadFile(InstallFolder() / plat::AnsiToUtf8(entry.name)), entry.data)
                    << entry.name;
            }
        }
        EXPECT_FALSE(fs::exists(InstallFolder() / m_archiveName));
    }

    vael::test::TempDir m_bin;
    std::vector<vael::test::ZipEntry> m_entries;
    std::string m_archiveName;
    std::string m_configuration;
    std::vector<std::wstring> m_progress;
};

TEST_F(WholeLauncher, DownloadsUnpacksFinishesAndEnds) {
    Serve(ClientEntries(48));
    Configure(vael::test::NginxUrl("/" + m_archiveName));
    auto launcher = Start();
    plat::RECT rect{};
    plat::GetWindowRect(launcher->MainWindow().m_hWnd, &rect);
    EXPECT_EQ(rect.right - rect.left, 675);
    EXPECT_EQ(rect.bottom - rect.top, 437);
    EXPECT_EQ(rect.left, plat::headless::kScreenWidth / 2 - 675 / 2) << "centred on the work area";
    EXPECT_EQ(rect.top,
              (plat::headless::kScreenHeight - plat::headless::kTaskBarHeight) / 2 - 437 / 2);

    Click(*launcher, L"download");
    ASSERT_TRUE(Serve(*launcher));
    EXPECT_TRUE(ShowsProgress(L"解压中:")) << "progress seen";
    EXPECT_EQ(launcher->ExitCode(), 0);
    launcher.reset();

    ExpectInstalled();
    EXPECT_TRUE(fs::exists(DesktopFolder() / "Vael.desktop"));
    EXPECT_TRUE(fs::exists(DesktopFolder() / "Orvane版.desktop"));
    EXPECT_EQ(RegistryText(L"Exec"), L"\"C:\\Program Files (x86)\\Halvorn\\Vael\\ORVN\\Play.exe\"");
    EXPECT_EQ(RegistryText(L"Path"), L"C:\\Program Files (x86)\\Halvorn\\Vael\\ORVN\\");
    ASSERT_TRUE(vael::test::WaitForFinishedLine(m_bin / "started"));
    std::string started = ReadFile(m_bin / "started");
    EXPECT_EQ(started.substr(0, started.find('|')), fs::canonical(InstallFolder()).string());
    EXPECT_TRUE(started.ends_with("Play.exe\n")) << started;
}

TEST_F(WholeLauncher, ClosingDuringTheDownloadResumesOnTheNextStart) {
    Serve(ClientEntries(16));
    Configure(vael::test::FaultServerUrl("/pace/1000000/" + m_archiveName));
    auto first = Start();
    Click(*first, L"download");
    ASSERT_TRUE(Serve(*first, [&] { return ShowsProgress(L"下载中 进度:"); }));
    Click(*first, L"close");
    ASSERT_TRUE(Serve(*first));
    first.reset();
    EXPECT_TRUE(fs::exists(InstallFolder() / (m_archiveName + ".tmp"))) << "the part kept";

    Configure(vael::test::NginxUrl("/" + m_archiveName));
    auto second = Start();
    Click(*second, L"download");
    ASSERT_TRUE(Serve(*second));
    EXPECT_EQ(second->ExitCode(), 0);
    second.reset();
    ExpectInstalled();
    std::vector<std::string> requests = vael::test::NginxRequestsFor(m_archiveName);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].find("bytes="), std::string::npos) << requests[0];
    EXPECT_EQ(requests[0].find("bytes=0-"), std::string::npos) << "resumed: " << requests[0];
}

TEST_F(WholeLauncher, ClosingDuringTheUnpackKeepsTheArchiveForTheNextStart) {
    Serve(ClientEntries(200));
    Configure(vael::test::NginxUrl("/" + m_archiveName));
    auto first = Start();
    Click(*first, L"download");
    ASSERT_TRUE(Serve(*first, [&] { return ShowsProgress(L"解压中:"); }));
    Click(*first, L"close");
    ASSERT_TRUE(Serve(*first));
    first.reset();
    EXPECT_TRUE(fs::exists(InstallFolder() / m_archiveName)) << "the downloaded archive stays";

    auto second = Start();
    Click(*second, L"download");
    ASSERT_TRUE(Serve(*second));
    second.reset();
    ExpectInstalled();
    EXPECT_EQ(vael::test::NginxRequestsFor(m_archiveName).size(), 1u) << "no second request";
}

TEST_F(WholeLauncher, AMissingArchiveIsReportedAndEnds) {
    Configure(vael::test::NginxUrl("/" + vael::test::UniqueFileName("zip")));
    auto launcher = Start();
    Click(*launcher, L"download");
    ASSERT_TRUE(Serve(*launcher));
    std::vector<plat::headless::ShownMessageBox> boxes = plat::headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Http error code: 404");
}

TEST_F(WholeLauncher, AnEmptyConfigurationOpensTheWindowAndTheFirstPressEndsIt) {
    plat::RegisterModuleResource(L"INI", 105, "", 0);
    auto launcher = Start();
    EXPECT_TRUE(plat::IsWindowVisible(launcher->MainWindow().m_hWnd));
    Click(*launcher, L"download");
    ASSERT_TRUE(Serve(*launcher));
    std::vector<plat::headless::ShownMessageBox> boxes = plat::headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"读取配置错误!");
}

}  // namespace
