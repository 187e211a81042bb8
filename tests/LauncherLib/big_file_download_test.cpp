// The big-file download command against real servers on loopback: nginx for the well-behaved
// answers (ranges, 206, 416) and the fault server for the broken ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <thread>

#include "HttpServers.h"
#include "LauncherLib/CommandParams.h"
#include "LauncherLib/UrlHttpGetBigFileCommand.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/text.h"

using namespace LauncherLib;
using namespace std::chrono_literals;
namespace fs = std::filesystem;
using vael::test::ReadFile;
using vael::test::WriteFile;

namespace {

constexpr const char* kFolder = "C:\\Games\\Vael";

struct Outcome {
    bool success = false;
    ResultMap::Entries result;
};

// One file on the servers, named after the running test, and where the command puts it.
class Download : public ::testing::Test {
protected:
    void Serve(std::size_t size, unsigned seed = 1) {
        content = vael::test::RandomBytes(size, seed);
        WriteFile(vael::test::ServedFolder() / name, content);
    }

    Outcome Execute(const std::string& url, long lowSpeedSeconds = 60,
                    const std::string& folder = kFolder) {
        CUrlHttpGetBigFileCommand command("httpurlgetbigfilecmd-1",
                                          MapToJson({{"url", url}, {"path", folder}}));
        command.SetLowSpeedLimit(1, lowSpeedSeconds);
        auto result = std::make_shared<ResultMap>();
        command.Execute(result);
        return {command.IsSuccess(), result->Snapshot()};
    }

    fs::path Target() const { return folder / name; }
    fs::path Temporary() const { return folder / (name + ".tmp"); }

    // A fault server address with the test's own token, so its requests can be read back.
    std::string Faulty(const std::string& directives) const {
        return vael::test::FaultServerUrl("/id/" + name + directives + "/" + name);
    }

    std::string name = vael::test::UniqueFileName(".zip");
    std::string content;
    fs::path folder = plat::HostPathFromWindows(kFolder);

    void SetUp() override { fs::create_directories(folder); }
};

TEST_F(Download, FreshDownloadAsksForEverythingAndIsByteIdentical) {
    Serve(6 * 1024 * 1024 + 123);
    testing::internal::CaptureStderr();
    Outcome run = Execute(vael::test::NginxUrl("/" + name));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no progress meter of libcurl's";
    EXPECT_TRUE(run.success) << run.result["Error"];
    EXPECT_EQ(run.result["code"], "206");
    EXPECT_EQ(run.result["percentage"], "100");
    EXPECT_EQ(run.result["filename"], name);
    EXPECT_TRUE(ReadFile(Target()) == content);
    EXPECT_FALSE(fs::exists(Temporary()));
    EXPECT_EQ(vael::test::NginxRequestsFor(name),
              (std::vector<std::string>{"/" + name + " bytes=0- 206"}));
}

TEST_F(Download, DroppedConnectionIsResumedWhereItStopped) {
    Serve(3 * 1024 * 1024);
    Outcome first = Execute(Faulty("/drop/1000000"));
    EXPECT_FALSE(first.success);
    EXPECT_EQ(first.result["Error"], "Http error code: 18");
    EXPECT_TRUE(ReadFile(Temporary()) == content.substr(0, 1000000));

    Outcome second = Execute(Faulty("/drop/1000000"));
    EXPECT_TRUE(second.success) << second.result["Error"];
    EXPECT_TRUE(ReadFile(Target()) == content);
    std::string path = "/id/" + name + "/drop/1000000/" + name;
    EXPECT_EQ(vael::test::FaultServerRequests(name),
              (std::vector<std::string>{path + " bytes=0-", path + " bytes=1000000-"}));
}

TEST_F(Download, PresentTargetSendsNoRequest) {
    Serve(1000);
    WriteFile(Target(), "already here");
    Outcome run = Execute(Faulty(""));
    EXPECT_TRUE(run.success);
    EXPECT_EQ(run.result, (ResultMap::Entries{{"filename", name}}));
    EXPECT_TRUE(vael::test::FaultServerRequests(name).empty());
    EXPECT_EQ(ReadFile(Target()), "already here");
}

TEST_F(Download, CompleteTemporaryFileAnsweredWith416BecomesTheTarget) {
    Serve(200000);
    WriteFile(Temporary(), content);
    Outcome run = Execute(vael::test::NginxUrl("/" + name));
    EXPECT_TRUE(run.success) << run.result["Error"];
    EXPECT_EQ(run.result["code"], "416");
    EXPECT_TRUE(ReadFile(Target()) == content);
    EXPECT_FALSE(fs::exists(Temporary()));
}

TEST_F(Download, TemporaryFileLongerThanTheServersFileIsDiscarded) {
    Serve(200000);
    WriteFile(Temporary(), content + "a different, longer archive");
    Outcome run = Execute(vael::test::NginxUrl("/" + name));
    EXPECT_FALSE(run.success);
    EXPECT_EQ(run.result["code"], "416");
    EXPECT_EQ(run.result["Error"],
              plat::Utf8ToAnsi("临时文件与服务器上的文件不符,已删除,请重新下载!"));
    EXPECT_FALSE(fs::exists(Temporary()));
    EXPECT_FALSE(fs::exists(Target()));

    Outcome next = Execute(vael::test::NginxUrl("/" + name));
    EXPECT_TRUE(next.success);
    EXPECT_TRUE(ReadFile(Target()) == content);
}

TEST_F(Download, AnswersOtherThan206LeaveTheTemporaryFileAsItWas) {
    Serve(500000);
    struct {
        std::string url;
        const char* error;
    } cases[] = {
        {Faulty("/full"), "Http error code: 200"},
        {vael::test::NginxUrl("/missing/" + name), "Http error code: 404"},
    };
    for (const auto& c : cases) {
        WriteFile(Temporary(), content.substr(0, 1000));
        Outcome run = Execute(c.url);
        EXPECT_FALSE(run.success) << c.url;
        EXPECT_EQ(run.result["Error"], c.error);
        EXPECT_TRUE(ReadFile(Temporary()) == content.substr(0, 1000)) << c.url;
        EXPECT_FALSE(fs::exists(Target()));
    }
}

TEST_F(Download, StalledServerFailsWithinTheLimitAndTheNextRunCompletes) {
    Serve(2 * 1024 * 1024);
    auto start = std::chrono::steady_clock::now();
    Outcome stalled = Execute(Faulty("/stall/700000"), 2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 25s);
    EXPECT_FALSE(stalled.success);
    EXPECT_EQ(stalled.result["Error"], "Http error code: 28");
    EXPECT_TRUE(ReadFile(Temporary()) == content.substr(0, 700000));

    Outcome next = Execute(Faulty("/stall/700000"), 2);
    EXPECT_TRUE(next.success) << next.result["Error"];
    EXPECT_TRUE(ReadFile(Target()) == content);
}

TEST_F(Download, RedirectsAreFollowedUpToTwenty) {
    Serve(300000);
    struct {
        const char* directives;
        bool success;
    } cases[] = {
        {"/redirect/3", true}, {"/redirect/20", true}, {"/redirect/21", false}, {"/loop", false}};
    for (const auto& c : cases) {
        fs::remove(Target());
        Outcome run = Execute(Faulty(c.directives));
        EXPECT_EQ(run.success, c.success) << c.directives;
        if (c.success) {
            EXPECT_TRUE(ReadFile(Target()) == content) << c.directives;
        } else {
            EXPECT_EQ(run.result["Error"], "Http error code: 47") << c.directives;
        }
    }
    EXPECT_EQ(vael::test::FaultServerRequests(name).size(), 4u + 21u + 21u + 21u);
}

// A Content-Length shorter than the range ends the body early: the file is not renamed, and
// the next run fetches the rest.
TEST_F(Download, BodyShorterThanTheRangeIsNotTakenForTheWholeFile) {
    Serve(400000);
    Outcome shortened = Execute(Faulty("/length/1000"));
    EXPECT_FALSE(shortened.success);
    EXPECT_EQ(shortened.result["Error"], plat::Utf8ToAnsi("文件下载不完整,请重试!"));
    EXPECT_FALSE(fs::exists(Target()));
    EXPECT_TRUE(ReadFile(Temporary()) == content.substr(0, 1000));

    Outcome lengthened = Execute(Faulty("/length/900000"));
    EXPECT_FALSE(lengthened.success);
    EXPECT_EQ(lengthened.result["Error"], "Http error code: 18");

    Outcome next = Execute(Faulty(""));
    EXPECT_TRUE(next.success);
    EXPECT_TRUE(ReadFile(Target()) == content);
}

TEST_F(Download, FullDiskStopsTheTransferWithAnError) {
    Serve(2 * 1024 * 1024);
    fs::create_symlink("/dev/full", Temporary());
    auto start = std::chrono::steady_clock::now();
    Outcome run = Execute(Faulty("/pace/1000000"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_FALSE(run.success);
    EXPECT_EQ(run.result["Error"], plat::Utf8ToAnsi("写入临时文件失败: ") + std::strerror(ENOSPC));
    EXPECT_FALSE(fs::exists(Target()));
}

TEST_F(Download, ChineseInstallFolderLandsInItsUtf8HostFolder) {
    Serve(100000);
    std::string gbkFolder = plat::Utf8ToAnsi("C:\\游戏\\维尔");
    fs::path hostFolder = plat::PrefixFolder() / "drive_c" / "游戏" / "维尔";
    fs::create_directories(hostFolder);
    Outcome run = Execute(vael::test::NginxUrl("/" + name), 60, gbkFolder);
    EXPECT_TRUE(run.success) << run.result["Error"];
    EXPECT_TRUE(ReadFile(hostFolder / name) == content);
}

// Samples the result map while a paced server sends the second half of the file.
TEST_F(Download, ProgressCountsTheResumedShareAndMeasuresTheSpeed) {
    constexpr std::size_t kHalf = 300000;
    constexpr int kBytesPerMs = 200;
    Serve(2 * kHalf);
    WriteFile(Temporary(), content.substr(0, kHalf));

    auto result = std::make_shared<ResultMap>();
    CUrlHttpGetBigFileCommand command(
        "httpurlgetbigfilecmd-1",
        MapToJson(
            {{"url", Faulty("/pace/" + std::to_string(kBytesPerMs * 1000))}, {"path", kFolder}}));
    auto start = std::chrono::steady_clock::now();
    auto running = std::async(std::launch::async, [&] { command.Execute(result); });
    std::vector<int> percentages;
    std::vector<int> speeds;
    while (running.wait_for(5ms) != std::future_status::ready) {
        auto elapsed = std::chrono::steady_clock::now() - start;
        ResultMap::Entries now = result->Snapshot();
        if (elapsed < 90ms) {
            EXPECT_EQ(now["speedKB"], now.count("speedKB") ? "0" : "");
        } else if (elapsed > 400ms && now["speedKB"] != "0") {
            speeds.push_back(std::stoi(now["speedKB"]));
        }
        if (now["contentlength"] != "" && now["contentlength"] != "0") {
            percentages.push_back(std::stoi(now["percentage"]));
        }
    }
    ASSERT_TRUE(command.IsSuccess()) << result->Get("Error");
    ASSERT_FALSE(percentages.empty());
    EXPECT_GE(percentages.front(), 50);
    EXPECT_EQ(result->Get("percentage"), "100");
    ASSERT_FALSE(speeds.empty());
    std::sort(speeds.begin(), speeds.end());
    int median = speeds[speeds.size() / 2];
    EXPECT_NEAR(median, kBytesPerMs, kBytesPerMs / 5);
}

}  // namespace

TEST_F(Download, CancellationEndsAStalledTransferWithin200Ms) {
    Serve(1000000);
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    auto result = std::make_shared<ResultMap>();
    CUrlHttpGetBigFileCommand command(
        "httpurlgetbigfilecmd-1", MapToJson({{"url", Faulty("/stall/5000")}, {"path", kFolder}}));
    command.SetCancelFlag(cancel);
    auto running = std::async(std::launch::async, [&] { command.Execute(result); });
    while (result->Get("write") != "5000") {
        ASSERT_EQ(running.wait_for(5ms), std::future_status::timeout);
    }
    auto cancelled = std::chrono::steady_clock::now();
    cancel->store(true);
    running.wait();
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, 200ms);
    EXPECT_FALSE(command.IsSuccess());
    EXPECT_TRUE(ReadFile(Temporary()) == content.substr(0, 5000));
}
