#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "TempDir.h"
#include "WaitUntil.h"
#include "plat/drive_map.h"
#include "plat/shell.h"

using namespace plat;
using namespace std::chrono_literals;
using vael::test::ReadFile;
using vael::test::TempDir;
using vael::test::WriteFile;
namespace fs = std::filesystem;

namespace {

void WriteScript(const fs::path& path, const std::string& body) {
    fs::create_directories(path.parent_path());
    WriteFile(path, "#!/bin/sh\n" + body + "\n");
    fs::permissions(path, fs::perms::owner_all);
}

TEST(ShellLink, AWindowsProgramRunsThroughWineInThePrefix) {
    TempDir temp;
    WriteFile(temp / "Play.exe", "MZ\x90");
    ShellLink link;
    link.SetPath(WindowsPathFromHostW(temp / "Play.exe").c_str());
    link.SetWorkingDirectory(WindowsPathFromHostW(temp.path()).c_str());
    ASSERT_TRUE(link.Save(WindowsPathFromHostW(temp / "Game.lnk").c_str(), FALSE));

    std::string launcher = ReadFile(temp / "Game.desktop");
    std::string exec = "Exec=env \"WINEPREFIX=" + PrefixFolder().string() + "\" \"wine\" \"" +
                       (temp / "Play.exe").string() + "\"\n";
    EXPECT_NE(launcher.find(exec), std::string::npos) << launcher;
    EXPECT_NE(launcher.find("Path=" + temp.path().string() + "\n"), std::string::npos);
    EXPECT_NE(launcher.find("Name=Game\n"), std::string::npos);
    struct stat info {};
    stat((temp / "Game.desktop").c_str(), &info);
    EXPECT_TRUE(info.st_mode & S_IXUSR);
    EXPECT_FALSE(fs::exists(temp / "Game.lnk"));
}

TEST(ShellLink, OtherProgramsRunDirectlyAndReplaceAnOldLauncher) {
    TempDir temp;
    WriteScript(temp / "a$b" / "run.sh", "true");
    WriteFile(temp / "Game.desktop", "old");
    ShellLink link;
    link.SetPath(WindowsPathFromHostW(temp / "a$b" / "run.sh").c_str());
    ASSERT_TRUE(link.Save(WindowsPathFromHostW(temp / "Game.lnk").c_str(), FALSE));

    std::string launcher = ReadFile(temp / "Game.desktop");
    EXPECT_NE(launcher.find("Exec=\"" + temp.path().string() + "/a\\\\$b/run.sh\"\n"),
              std::string::npos)
        << launcher;
    EXPECT_EQ(launcher.find("wine"), std::string::npos);
}

TEST(ShellExecute, StartsInTheWorkingFolderWithoutWaiting) {
    TempDir temp;
    WriteScript(temp / "game" / "Play.exe", "sleep 0.3; pwd > \"$1\"");
    std::string file = WindowsPathFromHost(temp / "game" / "Play.exe");
    std::string marker = (temp / "marker").string();

    auto start = std::chrono::steady_clock::now();
    HINSTANCE result = ShellExecuteA(nullptr, "open", file.c_str(), marker.c_str(),
                                     WindowsPathFromHost(temp / "game").c_str(), SW_SHOW);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_GT(reinterpret_cast<std::intptr_t>(result), 32);
    ASSERT_TRUE(vael::test::WaitForFinishedLine(temp / "marker"));
    EXPECT_EQ(ReadFile(temp / "marker"), (temp / "game").string() + "\n");
}

TEST(ShellExecute, AMissingFileIsReported) {
    HINSTANCE result = ShellExecuteA(nullptr, "runas", "C:\\nothing\\Play.exe", "", "", SW_SHOW);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(result), 2);
}

TEST(DesktopFolder, FollowsTheUserDirsFile) {
    TempDir temp;
    const char* home = std::getenv("HOME");
    fs::create_directories(fs::path(home) / ".config");
    fs::create_directories(fs::path(home) / "Schreibtisch");
    WriteFile(fs::path(home) / ".config" / "user-dirs.dirs",
              "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    wchar_t path[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, path, CSIDL_DESKTOP, FALSE));
    EXPECT_EQ(fs::canonical(HostPathFromWindowsW(path)),
              fs::canonical(fs::path(home) / "Schreibtisch"));
    fs::remove(fs::path(home) / ".config" / "user-dirs.dirs");
}

}  // namespace
