#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/files.h"

namespace fs = std::filesystem;

namespace {

class DriveMap : public ::testing::Test {
protected:
    void SetUp() override { setenv("WINEPREFIX", (m_dir / "prefix").c_str(), 1); }
    fs::path Prefix() const { return m_dir / "prefix"; }
    vael::test::TempDir m_dir;
};

TEST_F(DriveMap, CreatesWineLayoutWhenMissing) {
    EXPECT_EQ(plat::PrefixFolder(), Prefix());
    EXPECT_TRUE(fs::is_directory(Prefix() / "drive_c"));
    EXPECT_EQ(fs::read_symlink(Prefix() / "dosdevices/c:"), "../drive_c");
    EXPECT_EQ(fs::read_symlink(Prefix() / "dosdevices/z:"), "/");
}

TEST_F(DriveMap, MapsWindowsPathsToHostPaths) {
    struct Case {
        const char* windows;
        fs::path host;
    } cases[] = {
        {"C:\\Program Files (x86)\\Halvorn\\Vael\\a.zip",
         Prefix() / "dosdevices/c:/Program Files (x86)/Halvorn/Vael/a.zip"},
        {"c:/mixed\\seps//x", Prefix() / "dosdevices/c:/mixed/seps/x"},
        {"C:\\a\\.\\b\\..\\..\\..\\c", Prefix() / "dosdevices/c:/c"},
        {"\\rooted", Prefix() / "dosdevices/c:/rooted"},
        {"D:\\", Prefix() / "dosdevices/d:"},
        {"rel\\x", "rel/x"},
        // "游戏" in GBK lands as UTF-8.
        {"C:\\\xD3\xCE\xCF\xB7", Prefix() / "dosdevices/c:/\xE6\xB8\xB8\xE6\x88\x8F"},
        // "乗" is 0x81 0x5C in GBK: its trail byte is a backslash, not a separator.
        {"C:\\\x81\x5C\\a", Prefix() / "dosdevices/c:/\xE4\xB9\x97/a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plat::HostPathFromWindows(c.windows), c.host) << c.windows;
    }
}

TEST_F(DriveMap, MapsHostPathsBackToTheDeepestDrive) {
    fs::create_directories(Prefix() / "drive_c/Games");
    EXPECT_EQ(plat::WindowsPathFromHost(Prefix() / "drive_c/Games/x.zip"), "C:\\Games\\x.zip");
    EXPECT_EQ(plat::WindowsPathFromHost(Prefix() / "drive_c"), "C:\\");
    EXPECT_EQ(plat::WindowsPathFromHost("/usr/share"), "Z:\\usr\\share");
    fs::create_directories(m_dir / "\xE6\xB8\xB8");
    EXPECT_EQ(plat::WindowsPathFromHost(m_dir / "\xE6\xB8\xB8"),
              plat::WindowsPathFromHost(m_dir.path()) + "\\\xD3\xCE");
}

TEST_F(DriveMap, ListsDriveLettersOfTheLinks) {
    plat::PrefixFolder();
    fs::create_directories(m_dir / "games");
    fs::create_directory_symlink(m_dir / "games", Prefix() / "dosdevices/d:");
    fs::create_directory_symlink("/dev/null", Prefix() / "dosdevices/d::");
    char buffer[64];
    ASSERT_EQ(plat::GetLogicalDriveStringsA(sizeof buffer, buffer), 12u);
    EXPECT_EQ(std::string(buffer, 13), std::string("C:\\\0D:\\\0Z:\\\0\0", 13));
    EXPECT_EQ(plat::GetLogicalDriveStringsA(4, buffer), 13u);
}

TEST_F(DriveMap, FileOperationsGoThroughTheMap) {
    const char* folder = "C:\\Vael";
    ASSERT_TRUE(plat::CreateDirectoryA(folder));
    EXPECT_FALSE(plat::CreateDirectoryA(folder));
    EXPECT_EQ(plat::GetLastError(), plat::ERROR_ALREADY_EXISTS);
    EXPECT_EQ(plat::_access(folder, 0), 0);

    FILE* file = plat::OpenFile("C:\\Vael\\a.tmp", "ab");
    ASSERT_NE(file, nullptr);
    std::fputs("12345", file);
    std::fclose(file);
    EXPECT_EQ(plat::GetFileSize("C:\\Vael\\a.tmp"), 5u);
    EXPECT_EQ(vael::test::ReadFile(Prefix() / "drive_c/Vael/a.tmp"), "12345");

    vael::test::WriteFile(Prefix() / "drive_c/Vael/a", "old");
    EXPECT_FALSE(plat::MoveFileExA("C:\\Vael\\a.tmp", "C:\\Vael\\a", 0));
    ASSERT_TRUE(
        plat::MoveFileExA("C:\\Vael\\a.tmp", "C:\\Vael\\a", plat::MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(vael::test::ReadFile(Prefix() / "drive_c/Vael/a"), "12345");
    EXPECT_EQ(plat::_access("C:\\Vael\\a.tmp", 0), -1);

    EXPECT_EQ(plat::GetFileAttributesA("C:\\Vael\\a") & plat::FILE_ATTRIBUTE_READONLY, 0u);
    ASSERT_TRUE(plat::SetFileAttributesA("C:\\Vael\\a", plat::FILE_ATTRIBUTE_READONLY));
    EXPECT_NE(plat::GetFileAttributesA("C:\\Vael\\a") & plat::FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(plat::GetFileAttributesA(folder) & plat::FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_TRUE(plat::SetFileAttributesA("C:\\Vael\\a", plat::FILE_ATTRIBUTE_NORMAL));

    ASSERT_TRUE(plat::DeleteFileA("C:\\Vael\\a"));
    EXPECT_FALSE(plat::DeleteFileA("C:\\Vael\\a"));
    EXPECT_EQ(plat::GetLastError(), plat::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(plat::GetFileAttributesA("C:\\Vael\\a"), plat::INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(plat::_mkdir("C:\\Vael\\sub"), 0);
    EXPECT_TRUE(fs::is_directory(Prefix() / "drive_c/Vael/sub"));
    EXPECT_EQ(plat::OpenFile("C:\\Vael\\sub", "rb"), nullptr);
    EXPECT_EQ(plat::GetLastError(), plat::ERROR_ACCESS_DENIED);
}

}  // namespace
