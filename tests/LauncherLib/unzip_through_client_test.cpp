// The client's whole path after a download, with the real unzip command: the archive that the
// download left in the install folder is unpacked into it and then deleted.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <stdexcept>
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

// Starts `client` with a download command that "downloads" `archive` into the install folder,
// and the real unzip command unless the test gives one.
void StartClient(LaunchClient& client, const std::string& archive,
                 vael::test::CommandBody unzip = nullptr) {
    fs::create_directories(InstallFolder());
    client.Init("", "");
    client.SetInstallDir(kInstallDir);
    vael::test::RegisterScripted(
        "httpurlgetbigfilecmd", [archive](CCommandBase& self, ResultMapPtr result) {
            vael::test::WriteFile(InstallFolder() / "Vael_1.2.3.zip", archive);
            result->Set("filename", "Vael_1.2.3.zip");
            self.SetSuccess();
        });
    if (unzip) {
        vael::test::RegisterScripted("UnzipCommand", unzip);
    }
    client.DownloadBigFile("http://dl.example.com/Vael_1.2.3.zip");
}

// The names of the records up to the last one.
std::vector<std::string> RunClient(const std::string& archive,
                                   vael::test::CommandBody unzip = nullptr) {
    LaunchClient client;
    StartClient(client, archive, std::move(unzip));
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

// Closing the launcher while it unpacks cancels the unpacking: the downloaded archive stays for
// the next start instead of being deleted as if it were broken.
TEST(UnzipThroughClient, CancelledUnpackingKeepsTheArchive) {
    std::atomic<bool> unpacking{false};
    {
        LaunchClient client;
        StartClient(client, "archive bytes", [&](CCommandBase& self, ResultMapPtr) {
            unpacking = true;
            while (!self.IsCancelled()) {
                std::this_thread::sleep_for(1ms);
            }
        });
        for (int i = 0; i < 500 && !unpacking; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        ASSERT_TRUE(unpacking);
    }
    EXPECT_EQ(vael::test::ReadFile(InstallFolder() / "Vael_1.2.3.zip"), "archive bytes");
    fs::remove(InstallFolder() / "Vael_1.2.3.zip");
}

TEST(UnzipThroughClient, AnExceptionWhileUnpackingStillEndsTheRun) {
    auto names = RunClient("archive bytes", [](CCommandBase&, ResultMapPtr) {
        throw std::runtime_error("out of luck");
    });
    EXPECT_EQ(names, (std::vector<std::string>{"DownloadBigFileBegin", "UnzipPatchBegin",
                                               "UnzipPatchFail"}));
}

}  // namespace
