// The client's whole path against nginx on loopback: the download command fetches the archive,
// the unzip command unpacks it into the install folder, and the records arrive in order.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "HttpServers.h"
#include "LauncherLib/LaunchClient.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/text.h"

using namespace LauncherLib;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr const char* kInstallDir = "C:\\Games\\Vael";

// Every record up to the one that ends the download, or what came within 60 s.
std::vector<NotifyInfo> RecordsOfDownload(const std::string& url) {
    fs::create_directories(plat::HostPathFromWindows(kInstallDir));
    LaunchClient client;
    client.Init("", "");
    client.SetInstallDir(kInstallDir);
    client.DownloadBigFile(url);

    std::vector<NotifyInfo> records;
    auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline) {
        NotifyInfo record = client.PopNotify();
        if (record.name.empty()) {
            std::this_thread::sleep_for(10ms);
            continue;
        }
        records.push_back(record);
        if (record.name == "DownloadBigFileOK" || record.name == "DownloadBigFileFail" ||
            record.name == "UnzipPatchFail") {
            break;
        }
    }
    return records;
}

std::vector<std::string> Names(const std::vector<NotifyInfo>& records) {
    std::vector<std::string> names;
    for (const NotifyInfo& record : records) {
        names.push_back(record.name);
    }
    return names;
}

// A client tree of a few megabytes, archived by the zip tool into the served folder.
fs::path ServeClientArchive(const vael::test::TempDir& work, const std::string& name) {
    fs::path source = work / "client";
    fs::create_directories(source / "bin");
    fs::create_directories(source / "data" / "maps");
    vael::test::WriteFile(source / "bin" / "Play.exe", "MZ" + vael::test::RandomBytes(70000, 2));
    vael::test::WriteFile(source / "data" / "maps" / "world.pak",
                          vael::test::RandomBytes(4 * 1024 * 1024, 3));
    vael::test::WriteFile(source / "readme.txt", std::string(20000, 'v'));
    fs::path archive = vael::test::ServedFolder() / name;
    std::string zip = "cd '" + source.string() + "' && zip -q -r '" + archive.string() + "' .";
    EXPECT_EQ(std::system(zip.c_str()), 0);
    return source;
}

TEST(ClientDownload, ArchiveIsDownloadedUnpackedAndDeleted) {
    vael::test::TempDir work;
    std::string name = vael::test::UniqueFileName(".zip");
    fs::path source = ServeClientArchive(work, name);

    std::vector<NotifyInfo> records = RecordsOfDownload(vael::test::NginxUrl("/" + name));
    EXPECT_EQ(Names(records), (std::vector<std::string>{"DownloadBigFileBegin", "UnzipPatchBegin",
                                                        "UnzipPatchOK", "DownloadBigFileOK"}));
    EXPECT_EQ(records.front().content, plat::Utf8ToAnsi("开始下载 ") + name);

    fs::path installed = plat::HostPathFromWindows(kInstallDir);
    for (const char* file : {"bin/Play.exe", "data/maps/world.pak", "readme.txt"}) {
        EXPECT_TRUE(vael::test::ReadFile(installed / file) == vael::test::ReadFile(source / file))
            << file;
    }
    EXPECT_FALSE(fs::exists(installed / name));
    EXPECT_FALSE(fs::exists(installed / (name + ".tmp")));
}

TEST(ClientDownload, FailedDownloadIsReportedWithTheCommandsError) {
    std::string name = vael::test::UniqueFileName(".zip");
    vael::test::WriteFile(vael::test::ServedFolder() / name, "PK");

    std::vector<NotifyInfo> records =
        RecordsOfDownload(vael::test::FaultServerUrl("/full/" + name));
    EXPECT_EQ(Names(records),
              (std::vector<std::string>{"DownloadBigFileBegin", "DownloadBigFileFail"}));
    EXPECT_EQ(records.back().content, "Http error code: 200");
}

}  // namespace
