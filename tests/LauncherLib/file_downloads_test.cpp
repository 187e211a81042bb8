// The two file download commands against nginx and the fault server on loopback. Both write
// into the current folder, which each test makes a fresh temporary folder.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "CurrentFolder.h"
#include "HttpServers.h"
#include "LauncherLib/CommandParams.h"
#include "LauncherLib/HttpGetFileCommand.h"
#include "LauncherLib/TransferProgress.h"
#include "LauncherLib/UrlHttpGetBigFileCommand.h"
#include "LauncherLib/UrlHttpGetFileCommand.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/text.h"

using namespace LauncherLib;
using namespace std::chrono_literals;
namespace fs = std::filesystem;
using vael::test::ReadFile;
using vael::test::WriteFile;

namespace {

constexpr const char* kUserAgent =
    "Mozilla/5.0 (Windows NT 6.3; rv:36.0) Gecko/20100101 Firefox/36.04";

struct Outcome {
    bool success = false;
    ResultMap::Entries result;
};

// One file on the servers, named after the running test, fetched by the command of the
// parameter: "httpurlgetfilecmd" (libcurl) or "httpgetfilecmd" (POCO).
class FileDownload : public ::testing::TestWithParam<const char*> {
protected:
    void Serve(std::size_t size, unsigned seed = 1) {
        content = vael::test::RandomBytes(size, seed);
        WriteFile(vael::test::ServedFolder() / name, content);
    }

    std::unique_ptr<CDownloadCommand> Command(const std::string& url) const {
        if (Curl()) {
            return std::make_unique<CUrlHttpGetFileCommand>("httpurlgetfilecmd-1", url);
        }
        return std::make_unique<CHttpGetFileCommand>("httpgetfilecmd-1", url);
    }

    Outcome Execute(const std::string& url, long lowSpeedSeconds = 60) {
        std::unique_ptr<CDownloadCommand> command = Command(url);
        command->SetLowSpeedLimit(1, lowSpeedSeconds);
        auto result = std::make_shared<ResultMap>();
        command->Execute(result);
        return {command->IsSuccess(), result->Snapshot()};
    }

    bool Curl() const { return std::string(GetParam()) == "httpurlgetfilecmd"; }

    std::string Faulty(const std::string& directives) const {
        return vael::test::FaultServerUrl("/id/" + name + directives + "/" + name);
    }

    vael::test::CurrentFolder folder;
    std::string name = vael::test::UniqueFileName(".zip");
    std::string content;
};

TEST_P(FileDownload, LandsByteIdenticalInTheCurrentFolderAndASecondRunReplacesIt) {
    Serve(3 * 1024 * 1024 + 77, 1);
    Outcome first = Execute(vael::test::NginxUrl("/" + name));
    EXPECT_TRUE(first.success) << first.result["Error"];
    EXPECT_EQ(first.result["code"], "200");
    EXPECT_EQ(first.result["filename"], name);
    EXPECT_EQ(first.result["percentage"], "100");
    EXPECT_EQ(first.result["write"], std::to_string(content.size()));
    EXPECT_EQ(first.result["contentlength"], std::to_string(content.size()));
    EXPECT_TRUE(ReadFile(folder / name) == content);
    EXPECT_FALSE(fs::exists(folder / (name + ".tmp")));

    Serve(200000, 2);
    Outcome second = Execute(vael::test::NginxUrl("/" + name));
    EXPECT_TRUE(second.success) << second.result["Error"];
    EXPECT_TRUE(ReadFile(folder / name) == content);
    EXPECT_EQ(vael::test::NginxRequestsFor(name),
              (std::vector<std::string>(2, "/" + name + " - 200")));
}

TEST_P(FileDownload, BodyWithoutALengthIsReadToItsEnd) {
    Serve(1500000);
    Outcome run = Execute(Faulty("/nolength"));
    EXPECT_TRUE(run.success) << run.result["Error"];
    EXPECT_TRUE(ReadFile(folder / name) == content);
}

// A body that ends before its announced length fails at once and leaves the target as it was.
TEST_P(FileDownload, BodyEndingEarlyFailsPromptlyAndKeepsTheTarget) {
    Serve(1000000);
    for (const char* directives : {"/drop/300000", "/length/1200000"}) {
        WriteFile(folder / name, "the earlier download");
        auto start = std::chrono::steady_clock::now();
        Outcome run = Execute(Faulty(directives));
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << directives;
        EXPECT_FALSE(run.success) << directives;
        EXPECT_EQ(run.result["Error"],
                  Curl() ? "liburl error code: 18" : plat::Utf8ToAnsi("文件下载不完整,请重试!"))
            << directives;
        EXPECT_EQ(ReadFile(folder / name), "the earlier download") << directives;
    }
}

TEST_P(FileDownload, RedirectIsFollowedByLibcurlAndReportedByPoco) {
    Serve(100000);
    Outcome run = Execute(Faulty("/redirect/2"));
    if (Curl()) {
        EXPECT_TRUE(run.success) << run.result["Error"];
        EXPECT_TRUE(ReadFile(folder / name) == content);
    } else {
        EXPECT_FALSE(run.success);
        EXPECT_EQ(run.result["code"], "302");
        EXPECT_EQ(run.result["UseLibcurl"], "true");
        EXPECT_FALSE(fs::exists(folder / name));
    }
}

TEST_P(FileDownload, MissingFileFailsWithItsStatus) {
    Outcome run = Execute(vael::test::NginxUrl("/missing/" + name));
    EXPECT_FALSE(run.success);
    EXPECT_EQ(run.result["code"], "404");
    EXPECT_EQ(run.result["Error"], Curl() ? "Http error code: 404" : "Http Error");
    EXPECT_FALSE(fs::exists(folder / name));
}

TEST_P(FileDownload, TargetThatCannotBeReplacedFailsTheRename) {
    Serve(50000);
    WriteFile(folder / name / "inside", "a folder where the file should go");
    Outcome run = Execute(vael::test::NginxUrl("/" + name));
    EXPECT_FALSE(run.success);
    EXPECT_EQ(run.result["Error"], plat::Utf8ToAnsi("移动文件失败,目标文件被占用!"));
    EXPECT_TRUE(fs::is_directory(folder / name));
}

TEST_P(FileDownload, WriteErrorFailsWithItsText) {
    Serve(2 * 1024 * 1024);
    fs::create_symlink("/dev/full", folder / (name + ".tmp"));
    Outcome run = Execute(Faulty("/pace/2000000"));
    EXPECT_FALSE(run.success);
    EXPECT_EQ(run.result["Error"], plat::Utf8ToAnsi("写入临时文件失败: ") + std::strerror(ENOSPC));
    EXPECT_FALSE(fs::exists(folder / name));
}

TEST_P(FileDownload, StalledServerFailsWithinTheLimit) {
    Serve(1000000);
    auto start = std::chrono::steady_clock::now();
    Outcome run = Execute(Faulty("/stall/400000"), 2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_FALSE(run.success);
    if (Curl()) {
        EXPECT_EQ(run.result["Error"], "liburl error code: 28");
    } else {
        EXPECT_EQ(run.result["code"], "-1");
        EXPECT_EQ(run.result["content"], "Transfer stalled: less than 1 bytes/s for 2 s");
    }
    EXPECT_FALSE(fs::exists(folder / name));
}

TEST_P(FileDownload, CancellationEndsAStalledTransferWithin200Ms) {
    Serve(1000000);
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    auto result = std::make_shared<ResultMap>();
    std::unique_ptr<CDownloadCommand> command = Command(Faulty("/stall/5000"));
    command->SetCancelFlag(cancel);
    auto running = std::async(std::launch::async, [&] { command->Execute(result); });
    while (result->Get("write") != "5000") {
        ASSERT_EQ(running.wait_for(5ms), std::future_status::timeout);
    }
    auto cancelled = std::chrono::steady_clock::now();
    cancel->store(true);
    running.wait();
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, 200ms);
    EXPECT_FALSE(command->IsSuccess());
    EXPECT_FALSE(fs::exists(folder / name));
}

// An earlier resumed big-file download leaves its offset behind; counted here, it would put
// every sample above 90 per cent.
TEST_P(FileDownload, PercentageStartsAtZeroWhateverABigFileDownloadLeft) {
    Serve(400000);
    resumeOffset = 10 * 400000;
    auto result = std::make_shared<ResultMap>();
    std::unique_ptr<CDownloadCommand> command = Command(Faulty("/pace/400000"));
    auto running = std::async(std::launch::async, [&] { command->Execute(result); });
    std::vector<int> percentages;
    while (running.wait_for(5ms) != std::future_status::ready) {
        std::string percentage = result->Get("percentage");
        if (!percentage.empty()) {
            percentages.push_back(std::stoi(percentage));
        }
    }
    ASSERT_TRUE(command->IsSuccess()) << result->Get("Error");
    ASSERT_GT(percentages.size(), 10u);
    EXPECT_LT(percentages.front(), 20);
    EXPECT_TRUE(std::is_sorted(percentages.begin(), percentages.end()));
    EXPECT_LT(percentages[percentages.size() / 2], 100);
    EXPECT_EQ(result->Get("percentage"), "100");
    EXPECT_NE(result->Get("speedKB"), "0");
}

INSTANTIATE_TEST_SUITE_P(BothCommands, FileDownload,
                         ::testing::Values("httpurlgetfilecmd", "httpgetfilecmd"));

// The address names the file; the browser identity is what nginx sees for every download.
TEST(DownloadUserAgent, EveryDownloadPresentsTheBrowserIdentity) {
    vael::test::CurrentFolder folder;
    std::string name = vael::test::UniqueFileName(".zip");
    WriteFile(vael::test::ServedFolder() / name, vael::test::RandomBytes(10000, 4));
    std::string url = vael::test::NginxUrl("/" + name);
    fs::path installDir = plat::HostPathFromWindows("C:\\Games\\Vael");
    fs::create_directories(installDir);

    auto result = std::make_shared<ResultMap>();
    CUrlHttpGetFileCommand curlFile("httpurlgetfilecmd-1", url);
    curlFile.Execute(result);
    CHttpGetFileCommand pocoFile("httpgetfilecmd-2", url);
    pocoFile.Execute(result);
    CUrlHttpGetBigFileCommand bigFile("httpurlgetbigfilecmd-3",
                                      MapToJson({{"url", url}, {"path", "C:\\Games\\Vael"}}));
    bigFile.Execute(result);
    EXPECT_TRUE(curlFile.IsSuccess() && pocoFile.IsSuccess() && bigFile.IsSuccess());
    EXPECT_EQ(vael::test::NginxUserAgentsFor(name), (std::vector<std::string>(3, kUserAgent)));
}

}  // namespace
