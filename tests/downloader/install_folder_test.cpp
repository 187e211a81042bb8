// The install folder's checks before a download: the drive, the game's folder name, the length
// of the install records and the folder levels made on disk; the folder memo; the progress
// texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FolderMemo.h"
#include "InstallFolder.h"
#include "ProgressText.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/text.h"

namespace fs = std::filesystem;
using vael::test::ReadFile;
using vael::test::TempDir;
using vael::test::WriteFile;

namespace {

// Drive D: of the prefix is a temporary folder.
class InstallFolder : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove(Link());
        fs::create_directory_symlink(m_driveD.path(), Link());
    }
    void TearDown() override { fs::remove(Link()); }
    static fs::path Link() { return plat::PrefixFolder() / "dosdevices" / "d:"; }

    TempDir m_driveD;
};

TEST(GameFolder, IsCompletedWithTheGameName) {
    const struct {
        const wchar_t* chosen;
        const wchar_t* completed;
    } cases[] = {
        {L"C:\\Program Files (x86)\\Halvorn\\Vael", L"C:\\Program Files (x86)\\Halvorn\\Vael"},
        {L"D:\\Games", L"D:\\Games\\Vael"},
        {L"D:\\Games\\", L"D:\\Games\\Vael"},
        {L"D:\\Vael\\", L"D:\\Vael"},
        {L"D:\\Vael", L"D:\\Vael"},
        {L"D:\\Vael\\Vael", L"D:\\Vael\\Vael\\Vael"},
        {L"D:\\Vaelx", L"D:\\Vaelx"},
        {L"D:\\", L"D:\\Vael"},
        {L"games", L"games\\Vael"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompleteGameFolder(c.chosen), c.completed) << plat::WideToUtf8(c.chosen);
    }
}

TEST_F(InstallFolder, DriveMustBeOneOfThePrefix) {
    EXPECT_TRUE(HasKnownDrive("D:\\Games"));
    EXPECT_TRUE(HasKnownDrive("d:\\games"));
    EXPECT_TRUE(HasKnownDrive("C:\\"));
    EXPECT_TRUE(HasKnownDrive("Z:\\"));
    EXPECT_FALSE(HasKnownDrive("Q:\\Games"));
    EXPECT_FALSE(HasKnownDrive(""));
    EXPECT_FALSE(HasKnownDrive("\\Games"));
    EXPECT_FALSE(HasKnownDrive("games")) << "no drive G:";
    EXPECT_TRUE(HasKnownDrive("data")) << "the letter of drive D:";
}

TEST(InstallRecords, RefuseAFolderThatWouldBeCut) {
    std::wstring folder = L"D:\\" + std::wstring(241, L'a');
    EXPECT_TRUE(FitsInstallRecords(folder.substr(0, 243)));
    EXPECT_FALSE(FitsInstallRecords(folder.substr(0, 244)));
}

TEST_F(InstallFolder, EveryLevelIsMadeFromTheDriveDown) {
    std::string folder = plat::Utf8ToAnsi("D:\\Games\\游戏\\Vael");
    ASSERT_TRUE(CreateFolderLevels(folder));
    EXPECT_TRUE(fs::is_directory(m_driveD / "Games" / "游戏" / "Vael"));
    EXPECT_TRUE(CreateFolderLevels(folder)) << "levels that exist pass";
    EXPECT_TRUE(CreateFolderLevels("D:"));
}

TEST_F(InstallFolder, ALevelThatCannotBeMadeFailsAndKeepsTheLevelsBeforeIt) {
    WriteFile(m_driveD / "Games" / "file", "not a folder");
    EXPECT_FALSE(CreateFolderLevels("D:\\Games\\file\\Vael"));
    EXPECT_TRUE(fs::is_directory(m_driveD / "Games"));
    EXPECT_FALSE(CreateFolderLevels("Q:\\Games")) << "no drive Q:";
}

TEST(FolderMemo, RemembersTheFolderInTheTemporaryFolder) {
    EXPECT_EQ(FolderMemoPath().substr(FolderMemoPath().size() - 11), L"droFFFF.TMP");
    std::string folder = plat::Utf8ToAnsi("D:\\游戏\\Vael");
    WriteFolderMemo(folder);
    EXPECT_EQ(ReadFolderMemo(), folder);
    fs::path memo = plat::HostPathFromWindowsW(FolderMemoPath());
    EXPECT_EQ(ReadFile(memo), folder) << "no terminator, no line end";

    WriteFile(memo, std::string(300, 'x'));
    EXPECT_EQ(ReadFolderMemo(), std::string(259, 'x')) << "cut inside its buffer";
    WriteFile(memo, std::string("D:\\a\0junk", 9));
    EXPECT_EQ(ReadFolderMemo(), "D:\\a");
    fs::remove(memo);
    EXPECT_EQ(ReadFolderMemo(), "");
}

TEST(ProgressText, DownloadShowsPercentageAndSpeedAsTheyStand) {
    LauncherLib::ResultMap values;
    EXPECT_FALSE(DownloadProgress(values)) << "nothing reported yet";
    values.Set("percentage", "");
    EXPECT_FALSE(DownloadProgress(values)) << "cleared values leave the bar alone";
    values.Set("percentage", "42");
    values.Set("speedKB", "1234.5");
    auto shown = DownloadProgress(values);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->position, 42);
    EXPECT_EQ(shown->text, L"下载中 进度:42% ,速度:1234.5 kb/s");
    values.Set("percentage", " 7.9x");
    EXPECT_EQ(DownloadProgress(values)->position, 7);
}

TEST(ProgressText, UnpackShowsTheShareOfEntries) {
    LauncherLib::ResultMap values;
    values.Set("unzipTotalCount", "4");
    EXPECT_FALSE(UnpackProgress(values));
    values.Set("unzipCount", "3");
    auto shown = UnpackProgress(values);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->position, 75);
    EXPECT_EQ(shown->text, L"解压中:75%");
    values.Set("unzipTotalCount", "3");
    values.Set("unzipCount", "2");
    EXPECT_EQ(UnpackProgress(values)->position, 66) << "truncated";
    values.Set("unzipTotalCount", "0");
    values.Set("unzipCount", "0");
    EXPECT_EQ(UnpackProgress(values)->text, L"解压中:100%") << "an empty archive is done";
}

}  // namespace
