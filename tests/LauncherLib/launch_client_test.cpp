#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "LauncherLib/CommandParams.h"
#include "LauncherLib/LaunchClient.h"
#include "ScriptedCommand.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/text.h"

using namespace LauncherLib;
using namespace std::chrono_literals;
using vael::test::RegisterScripted;

namespace {

constexpr const char* kUrl = "http://dl.example.com/client/Vael_1.2.3.zip";
constexpr const char* kInstallDir = "C:\\Games\\Vael";

bool IsEndRecord(const std::string& name) {
    return name == "DownloadBigFileOK" || name == "UnzipPatchFail" || name == "DownloadBigFileFail";
}

std::string Gbk(const char* utf8) {
    return plat::Utf8ToAnsi(utf8);
}

// What the stand-in commands saw, for the assertions.
struct Seen {
    ResultMapPtr downloadMap;
    std::string downloadParams;
    std::string unzipParams;
    bool unzipMapWasEmpty = false;
    ResultMapPtr unzipMap;
};

class LaunchClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(plat::HostPathFromWindows(kInstallDir));
        m_client.Init("", "");
        m_client.SetInstallDir(kInstallDir);
    }

    // The download stand-in writes "filename" and the archive (so that its deletion shows),
    // then ends as the test says.
    void DownloadEnds(bool success, ResultMap::Entries keys) {
        RegisterScripted("httpurlgetbigfilecmd",
                         [this, success, keys](CCommandBase& self, ResultMapPtr result) {
                             m_seen.downloadMap = result;
                             m_seen.downloadParams = self.GetParams();
                             for (const auto& [key, value] : keys) {
                                 result->Set(key, value);
                             }
                             vael::test::WriteFile(ArchiveHostPath(), "PK");
                             if (success) {
                                 self.SetSuccess();
                             }
                         });
    }

    void UnzipEnds(bool success, std::string tag = "") {
        RegisterScripted("UnzipCommand",
                         [this, success, tag](CCommandBase& self, ResultMapPtr result) {
                             m_seen.unzipParams = self.GetParams();
                             m_seen.unzipMapWasEmpty = result->Snapshot().empty();
                             m_seen.unzipMap = result;
                             result->Set("unzipTotalCount", "3");
                             result->Set("unzipCount", "3");
                             self.SetTag(tag);
                             if (success) {
                                 self.SetSuccess();
                             }
                         });
    }

    std::vector<NotifyInfo> RecordsUntilEnd() {
        std::vector<NotifyInfo> records;
        for (int i = 0; i < 500; ++i) {
            NotifyInfo info = m_client.PopNotify();
            if (info.name.empty()) {
                std::this_thread::sleep_for(10ms);
                continue;
            }
            records.push_back(info);
            if (IsEndRecord(info.name)) {
                break;
            }
        }
        return records;
    }

    static std::filesystem::path ArchiveHostPath() {
        return plat::HostPathFromWindows(std::string(kInstallDir) + "\\Vael_1.2.3.zip");
    }

    Seen m_seen;
    LaunchClient m_client;
};

std::vector<std::string> Describe(const std::vector<NotifyInfo>& records) {
    std::vector<std::string> lines;
    for (const NotifyInfo& r : records) {
        lines.push_back(r.name + "|" + r.content);
    }
    return lines;
}

TEST_F(LaunchClientTest, PopNotifyOnEmptyQueueGivesEmptyRecord) {
    NotifyInfo info = m_client.PopNotify();
    EXPECT_TRUE(info.name.empty());
    EXPECT_TRUE(info.content.empty());
    EXPECT_TRUE(m_client.PopNotify().name.empty());
}

TEST_F(LaunchClientTest, SuccessfulDownloadIsUnpackedAndArchiveDeleted) {
    DownloadEnds(true, {{"filename", "Vael_1.2.3.zip"}, {"percentage", "100"}});
    UnzipEnds(true);
    m_client.DownloadBigFile(kUrl);

    EXPECT_EQ(Describe(RecordsUntilEnd()),
              (std::vector<std::string>{
                  "DownloadBigFileBegin|" + Gbk("开始下载 ") + "Vael_1.2.3.zip",
                  "UnzipPatchBegin|" + Gbk("开始解压补丁文件") + "Vael_1.2.3.zip",
                  "UnzipPatchOK|" + Gbk("解压完毕"),
                  "DownloadBigFileOK|" + Gbk("下载完整客户端完成"),
              }));
    EXPECT_EQ(m_seen.downloadParams, MapToJson({{"path", kInstallDir}, {"url", kUrl}}));
    EXPECT_EQ(m_seen.unzipParams,
              MapToJson({{"destdir", std::string(kInstallDir) + "\\"},
                         {"zipfile", std::string(kInstallDir) + "\\Vael_1.2.3.zip"}}));
    EXPECT_TRUE(m_seen.unzipMapWasEmpty);
    EXPECT_EQ(m_seen.unzipMap, m_seen.downloadMap);
    EXPECT_EQ(m_client.GetProgressResult(), m_seen.downloadMap);
    EXPECT_EQ(m_client.GetProgressResult()->Get("unzipCount"), "3");
    EXPECT_FALSE(std::filesystem::exists(ArchiveHostPath()));
}

struct FailureCase {
    const char* name;
    bool downloadOk;
    ResultMap::Entries downloadKeys;
    bool unzipOk;
    std::string unzipTag;
    std::vector<std::string> tail;  // the records after "DownloadBigFileBegin"
    bool archiveDeleted;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class LaunchClientOutcome : public LaunchClientTest,
                            public ::testing::WithParamInterface<FailureCase> {};

TEST_P(LaunchClientOutcome, QueuesTheRecordsOfTheOutcome) {
    const FailureCase& c = GetParam();
    DownloadEnds(c.downloadOk, c.downloadKeys);
    UnzipEnds(c.unzipOk, c.unzipTag);
    m_client.DownloadBigFile(kUrl);

    std::vector<std::string> records = Describe(RecordsUntilEnd());
    ASSERT_FALSE(records.empty());
    records.erase(records.begin());
    EXPECT_EQ(records, c.tail);
    EXPECT_EQ(std::filesystem::exists(ArchiveHostPath()), !c.archiveDeleted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LaunchClientOutcome,
    ::testing::Values(
        FailureCase{"DownloadFailsWithError",
                    false,
                    {{"filename", "Vael_1.2.3.zip"}, {"Error", "Http error code: 404"}},
                    true,
                    "",
                    {"DownloadBigFileFail|Http error code: 404"},
                    false},
        FailureCase{"DownloadFailsWithoutError",
                    false,
                    {{"code", "-1"}, {"content", "x"}},
                    true,
                    "",
                    {"DownloadBigFileFail|"},
                    false},
        FailureCase{"UnzipFails",
                    true,
                    {{"filename", "Vael_1.2.3.zip"}},
                    false,
                    "",
                    {"UnzipPatchBegin|" + plat::Utf8ToAnsi("开始解压补丁文件") + "Vael_1.2.3.zip",
                     "UnzipPatchFail|" + plat::Utf8ToAnsi("解压失败")},
                    true},
        FailureCase{"UnzipLeavesItsTagSet",
                    true,
                    {{"filename", "Vael_1.2.3.zip"}},
                    true,
                    "Vael/Play.exe",
                    {"UnzipPatchBegin|" + plat::Utf8ToAnsi("开始解压补丁文件") + "Vael_1.2.3.zip",
                     "DownloadBigFileOK|" + plat::Utf8ToAnsi("下载完整客户端完成")},
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LaunchClientTest, ProgressIsReadableWhileTheWorkerWritesIt) {
    std::atomic<bool> writing{true};
    RegisterScripted("httpurlgetbigfilecmd", [&writing](CCommandBase& self, ResultMapPtr result) {
        for (int i = 0; i < 20000; ++i) {
            result->Set("percentage", std::to_string(i % 101));
            result->Set("speedKB", std::to_string(i));
            result->Set("write", std::to_string(i * 1000));
        }
        writing = false;
        self.SetFail();
    });
    m_client.DownloadBigFile(kUrl);

    int reads = 0;
    while (writing) {
        if (ResultMapPtr progress = m_client.GetProgressResult()) {
            std::string percentage = progress->Get("percentage");
            ASSERT_TRUE(percentage.empty() || std::stoi(percentage) <= 100);
            progress->Get("speedKB");
            ++reads;
        }
    }
    EXPECT_GT(reads, 0);
    EXPECT_EQ(RecordsUntilEnd().back().name, "DownloadBigFileFail");
}

TEST(LaunchClientLifetime, DestroyingTheClientCancelsARunningCommand) {
    std::atomic<bool> started{false};
    std::atomic<bool> sawCancel{false};
    auto client = std::make_unique<LaunchClient>();
    client->Init("", "");
    RegisterScripted("httpurlgetbigfilecmd", [&](CCommandBase& self, ResultMapPtr) {
        started = true;
        auto deadline = std::chrono::steady_clock::now() + 30s;
        while (!self.IsCancelled() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        sawCancel = self.IsCancelled();
    });
    client->SetInstallDir(kInstallDir);
    client->DownloadBigFile(kUrl);
    while (!started) {
        std::this_thread::sleep_for(1ms);
    }

    auto begin = std::chrono::steady_clock::now();
    client.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 200ms);
    EXPECT_TRUE(sawCancel);
}

TEST(LaunchClientLifetime, DestroyingAnIdleClientIsPrompt) {
    auto client = std::make_unique<LaunchClient>();
    client->Init("", "");
    std::this_thread::sleep_for(20ms);
    auto begin = std::chrono::steady_clock::now();
    client.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 200ms);
}

TEST(LaunchClientPost, PostCommandNameAfterInitIsTheCurlOne) {
    LaunchClient client;
    EXPECT_EQ(client.PostCommandName(), "httppostcmd");
    client.Init("", "");
    EXPECT_EQ(client.PostCommandName(), "httpcurlpostcmd");
}

}  // namespace
