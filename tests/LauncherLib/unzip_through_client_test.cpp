// The client's whole path after a download, with the real unzip command: the archive that the
// download left in the install folder is unpacked into it and then deleted.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "LauncherLib/LaunchClient.h"
#include "ScriptedCommand.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "plat/drive_map.h"

using namespace LauncherLib;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr const char* kInstallDir = "C:\\Games\\Vael";

fs::path InstallFolder() {
    return plat::HostPathFromWindows(kInstallDir);
}

// Starts a client whose download command "downloads" `archive` into the install folder, and
// answers the names of the records up to the last one.
std::vector<std::string> RunClient(const std::string& archive) {
    fs::create_directories(InstallFolder());
    LaunchClient client;
    client.Init("", "");
    client.SetInstallDir(kInstallDir);
    vael::test::RegisterScripted(
        "httpurlgetbigfilecmd", [archive](CCommandBase& self, ResultMapPtr result) {
            vael::test::WriteFile(InstallFolder() / "Vael_1.2.3.zip", archive);
            result->Set("filename", "Vael_1.2.3.zip");
            self.SetSuccess();
        });
    client.DownloadBigFile("http://dl.example.com/Vael_1.2.3.zip");

    std::vector<std::string> names;
    for (int i = 0; i < 500; ++i) {
        std::string name = client.PopNotify().name;
        if (name.empty()) {
            std::this_thread::sleep_for(10ms);
            continue;
        }
        names.push_back(name);
        if (name == "DownloadBigFileOK" || name == "UnzipPatchFail" ||
            name == "DownloadBigFileFail") {
            break;
        }
    }
    return names;
}

TEST(UnzipThroughClient, AGoodArchiveIsInstalledAndDeleted) {
    std::string archive = vael::test::BuildZip(
        {{.name = "bin/"}, {.name = "bin/Play.exe", .data = "MZ game", .deflate = true}});

    EXPECT_EQ(RunClient(archive),
              (std::vector<std::string>{"DownloadBigFileBegin", "UnzipPatchBegin", "UnzipPatchOK",
                                        "DownloadBigFileOK"}));
    EXPECT_EQ(vael::test::ReadFile(InstallFolder() / "bin" / "Play.exe"), "MZ game");
    EXPECT_FALSE(fs::exists(InstallFolder() / "Vael_1.2.3.zip"));
}

TEST(UnzipThroughClient, ABrokenArchiveIsReportedAndDeleted) {
    std::string archive = vael::test::BuildZip(
        {{.name = "Play.exe", .data = "MZ game", .deflate = true, .corruptCrc = true}});

    EXPECT_EQ(RunClient(archive), (std::vector<std::string>{"DownloadBigFileBegin",
                                                            "UnzipPatchBegin", "UnzipPatchFail"}));
    EXPECT_FALSE(fs::exists(InstallFolder() / "Play.exe"));
    EXPECT_FALSE(fs::exists(InstallFolder() / "Vael_1.2.3.zip"));
}

}  // namespace
