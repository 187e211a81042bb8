#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "LauncherLib/CommandParams.h"
#include "LauncherLib/TransferProgress.h"
#include "LauncherLib/UrlHttpGetBigFileCommand.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/text.h"
#include "plat/tick.h"

using namespace LauncherLib;

namespace {

// Nothing listens on port 1 of the loopback: a command that goes to the network fails fast.
constexpr const char* kUnreachableUrl = "http://127.0.0.1:1/files/Vael_1.2.3.zip";
constexpr const char* kFolder = "C:\\Games\\Vael";

std::filesystem::path Host(const std::string& windowsPath) {
    return plat::HostPathFromWindows(windowsPath);
}

ResultMap::Entries RunDownload(const std::string& url, const std::string& folder, bool* success) {
    CUrlHttpGetBigFileCommand command("httpurlgetbigfilecmd-1",
                                      MapToJson({{"url", url}, {"path", folder}}));
    auto result = std::make_shared<ResultMap>();
    command.Execute(result);
    *success = command.IsSuccess();
    return result->Snapshot();
}

class BigFileCommand : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(Host(kFolder)); }
};

TEST_F(BigFileCommand, PresentTargetSucceedsWithOnlyTheFileName) {
    vael::test::WriteFile(Host(std::string(kFolder) + "\\Vael_1.2.3.zip"), "PK");
    bool success = false;
    EXPECT_EQ(RunDownload(kUnreachableUrl, kFolder, &success),
              (ResultMap::Entries{{"filename", "Vael_1.2.3.zip"}}));
    EXPECT_TRUE(success);
    EXPECT_FALSE(std::filesystem::exists(Host(std::string(kFolder) + "\\Vael_1.2.3.zip.tmp")));
}

TEST_F(BigFileCommand, FolderInTheTargetsPlaceIsNotADownloadedFile) {
    std::filesystem::create_directories(Host(std::string(kFolder) + "\\Vael_1.2.3.zip"));
    bool success = true;
    EXPECT_EQ(RunDownload(kUnreachableUrl, kFolder, &success)["Error"], "Http error code: 7");
    EXPECT_FALSE(success);
}

TEST_F(BigFileCommand, UnopenableTemporaryFileFailsTheSetUp) {
    bool success = true;
    ResultMap::Entries result = RunDownload(kUnreachableUrl, "C:\\Missing", &success);
    EXPECT_FALSE(success);
    EXPECT_EQ(result["code"], "-1");
    EXPECT_EQ(result["content"],
              plat::Utf8ToAnsi(" 创建临时文件失败!") + "C:\\Missing\\Vael_1.2.3.zip.tmp");
    EXPECT_EQ(result.count("Error"), 0u);
}

TEST_F(BigFileCommand, NetworkFailureKeepsTheTemporaryFile) {
    std::filesystem::path temporary = Host(std::string(kFolder) + "\\Vael_1.2.3.zip.tmp");
    vael::test::WriteFile(temporary, "first part");
    bool success = true;
    ResultMap::Entries result = RunDownload(kUnreachableUrl, kFolder, &success);
    EXPECT_FALSE(success);
    EXPECT_EQ(result["Error"], "Http error code: 7");
    EXPECT_EQ(result.count("code"), 0u);
    EXPECT_EQ(result["filename"], "Vael_1.2.3.zip");
    EXPECT_EQ(vael::test::ReadFile(temporary), "first part");
}

TEST_F(BigFileCommand, ParametersWithoutUrlFail) {
    for (const char* params : {"not json", "{}", R"({"path":"C:\\Games"})"}) {
        CUrlHttpGetBigFileCommand command("httpurlgetbigfilecmd-1", params);
        auto result = std::make_shared<ResultMap>();
        command.Execute(result);
        EXPECT_FALSE(command.IsSuccess()) << params;
        EXPECT_EQ(result->Get("error"), "fail to parse json value") << params;
        EXPECT_EQ(result->Get("Error"), "fail to parse json value") << params;
    }
    EXPECT_FALSE(std::filesystem::exists(Host("C:\\Games\\.tmp")));
}

TEST(TransferProgress, PercentageCountsTheResumedShare) {
    struct {
        std::uint64_t resumed;
        curl_off_t total;
        curl_off_t now;
        const char* percentage;
    } cases[] = {
        {0, 0, 0, "0"},
        {0, 1000, 0, "0"},
        {0, 1000, 999, "99"},
        {0, 1000, 1000, "100"},
        {750, 250, 0, "75"},
        {750, 250, 125, "87"},
        {750, 250, 250, "100"},
        // The size is not known yet: what is on disk reads as all of it, and beyond.
        {750, 0, 0, "100"},
        {750, 0, 750, "200"},
        {0, 0, 500, "0"},
    };
    for (const auto& c : cases) {
        resumeOffset = c.resumed;
        ProgressContext context{std::make_shared<ResultMap>(), plat::GetTickCount(), 0};
        EXPECT_EQ(OnTransferProgress(&context, c.total, c.now, 0, 0), 0);
        EXPECT_EQ(context.result->Get("percentage"), c.percentage)
            << c.resumed << " " << c.total << " " << c.now;
        EXPECT_EQ(context.result->Get("write"), std::to_string(c.now));
        EXPECT_EQ(context.result->Get("contentlength"), std::to_string(c.total));
    }
    resumeOffset = 0;
}

TEST(TransferProgress, SpeedIsBytesPerMillisecondAtMostEvery100Ms) {
    auto result = std::make_shared<ResultMap>();
    result->Set("speedKB", "0");
    ProgressContext context{result, plat::GetTickCount(), 0};
    OnTransferProgress(&context, 1000000, 5000, 0, 0);
    EXPECT_EQ(result->Get("speedKB"), "0");
    EXPECT_EQ(context.lastBytes, 0u);

    context.lastTick = plat::GetTickCount() - 200;
    OnTransferProgress(&context, 1000000, 40000, 0, 0);
    int speed = std::stoi(result->Get("speedKB"));
    EXPECT_GE(speed, 190);
    EXPECT_LE(speed, 200);
    EXPECT_EQ(context.lastBytes, 40000u);

    OnTransferProgress(&context, 1000000, 90000, 0, 0);
    EXPECT_EQ(result->Get("speedKB"), std::to_string(speed));
}

}  // namespace
