#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "InstallFinishing.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "plat/drive_map.h"
#include "plat/message_box.h"
#include "plat/registry.h"

using vael::test::ReadFile;
using vael::test::TempDir;
using vael::test::WriteFile;
namespace fs = std::filesystem;

namespace {

constexpr const char* kInstallDir = "D:\\Games\\Vael";

fs::path Desktop() {
    return fs::path(std::getenv("HOME")) / "Desktop";
}

std::string Line(const std::string& launcher, const std::string& key) {
    std::size_t start = launcher.find("\n" + key + "=");
    if (start == std::string::npos) {
        return "<missing " + key + ">";
    }
    start += key.size() + 2;
    return launcher.substr(start, launcher.find('\n', start) - start);
}

std::wstring RegistryText(const wchar_t* name, plat::DWORD* size) {
    plat::HKEY key = nullptr;
    if (plat::RegOpenKeyExW(plat::HKEY_LOCAL_MACHINE, L"Software\\Halvorn\\ORVN", 0, plat::KEY_READ,
                            &key) != plat::ERROR_SUCCESS) {
        return L"<no key>";
    }
    wchar_t text[300] = {};
    *size = 600;
    plat::DWORD type = 0;
    plat::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<plat::BYTE*>(text), size);
    plat::RegCloseKey(key);
    return type == plat::REG_SZ ? text : L"<not REG_SZ>";
}

// Drive D: of a fresh prefix is a temporary folder holding the unpacked client, whose
// Play.exe is a script that writes the folder it runs in into a marker file.
class InstallFinishing : public ::testing::Test {
protected:
    void SetUp() override {
        fs::path prefix = plat::PrefixFolder();
        fs::remove(prefix / "dosdevices" / "d:");
        fs::remove(prefix / "dosdevices" / "e:");
        fs::remove_all(prefix / "vael-hklm.reg");
        fs::remove_all(Desktop());
        fs::create_directory_symlink(m_driveD.path(), plat::PrefixFolder() / "dosdevices" / "d:");
        fs::create_directories(Desktop());
        fs::create_directories(Game() / "ORVN");
        WriteFile(Game() / "Play.exe", "#!/bin/sh\npwd > marker\n");
        fs::permissions(Game() / "Play.exe", fs::perms::owner_all);
        WriteFile(Game() / "ORVN" / "Play.exe", "MZ classic");
    }
    void TearDown() override { plat::SetMessageBoxPresenter(nullptr); }

    fs::path Game() const { return m_driveD / "Games" / "Vael"; }

    TempDir m_driveD;
};

TEST_F(InstallFinishing, CreatesLaunchersRecordsTheInstallAndStartsTheGame) {
    FinishInstallation(nullptr, kInstallDir);

    std::string main = ReadFile(Desktop() / "Vael.desktop");
    EXPECT_EQ(Line(main, "X-Windows-Target"), "D:\\\\Games\\\\Vael\\\\Play.exe");
    EXPECT_EQ(Line(main, "X-Windows-Path"), "D:\\\\Games\\\\Vael");
    EXPECT_EQ(Line(main, "Exec"), "\"" + (Game() / "Play.exe").string() + "\"");
    EXPECT_EQ(Line(main, "Path"), Game().string());
    std::string classic = ReadFile(Desktop() / "Orvane版.desktop");
    EXPECT_EQ(Line(classic, "X-Windows-Target"), "D:\\\\Games\\\\Vael\\\\ORVN\\\\Play.exe");
    EXPECT_EQ(Line(classic, "Path"), (Game() / "ORVN").string());
    EXPECT_NE(Line(classic, "Exec").find("\"wine\""), std::string::npos);

    plat::DWORD size = 0;
    EXPECT_EQ(RegistryText(L"Exec", &size), L"\"D:\\Games\\Vael\\ORVN\\Play.exe\"");
    EXPECT_EQ(size, 520u);
    EXPECT_EQ(RegistryText(L"Path", &size), L"D:\\Games\\Vael\\ORVN\\");
    EXPECT_EQ(size, 520u);

    vael::test::WaitForFinishedLine(Game() / "marker");
    EXPECT_EQ(ReadFile(Game() / "marker"), Game().string() + "\n");
}

TEST_F(InstallFinishing, ASecondInstallReplacesLaunchersAndKeepsOtherValues) {
    plat::HKEY key = nullptr;
    ASSERT_EQ(plat::RegCreateKeyW(plat::HKEY_LOCAL_MACHINE, L"Software\\Halvorn\\ORVN", &key),
              plat::ERROR_SUCCESS);
    plat::DWORD version = 3;
    plat::RegSetValueExW(key, L"Version", 0, plat::REG_DWORD,
                         reinterpret_cast<plat::BYTE*>(&version), 4);
    plat::RegCloseKey(key);
    WriteFile(Desktop() / "Vael.desktop", "stale");
    WriteFile(Desktop() / "Orvane版.desktop", "stale");

    FinishInstallation(nullptr, kInstallDir);
    FinishInstallation(nullptr, kInstallDir);

    EXPECT_EQ(Line(ReadFile(Desktop() / "Vael.desktop"), "Path"), Game().string());
    EXPECT_EQ(Line(ReadFile(Desktop() / "Orvane版.desktop"), "Path"), (Game() / "ORVN").string());
    ASSERT_EQ(plat::RegOpenKeyExW(plat::HKEY_LOCAL_MACHINE, L"software\\halvorn\\orvn", 0,
                                  plat::KEY_READ, &key),
              plat::ERROR_SUCCESS);
    plat::DWORD read = 0;
    plat::DWORD size = 4;
    EXPECT_EQ(plat::RegQueryValueExW(key, L"Version", nullptr, nullptr,
                                     reinterpret_cast<plat::BYTE*>(&read), &size),
              plat::ERROR_SUCCESS);
    EXPECT_EQ(read, 3u);
    plat::RegCloseKey(key);
}

TEST_F(InstallFinishing, ABareDriveIsTheDrivesRootFolder) {
    fs::create_directory_symlink(m_driveD.path(), plat::PrefixFolder() / "dosdevices" / "e:");
    CreateDesktopShortcut("E:\\Play.exe", "E:", L"\\Root.lnk");
    EXPECT_EQ(Line(ReadFile(Desktop() / "Root.desktop"), "X-Windows-Path"), "E:\\\\");
}

TEST_F(InstallFinishing, AnUnwritableRegistryIsReportedAndTheGameStillStarts) {
    fs::create_directories(plat::PrefixFolder() / "vael-hklm.reg");
    std::wstring shown;
    std::wstring caption = L"unset";
    plat::SetMessageBoxPresenter(
        [&](plat::HWND, const std::wstring& text, const std::wstring& title, plat::UINT type) {
            shown = text;
            caption = title;
            EXPECT_EQ(type, plat::MB_OK);
            return plat::IDOK;
        });

    FinishInstallation(nullptr, kInstallDir);

    EXPECT_EQ(shown, L"创建注册表失败!");
    EXPECT_EQ(caption, L"");
    vael::test::WaitForFinishedLine(Game() / "marker");
    EXPECT_FALSE(ReadFile(Game() / "marker").empty());
}

// No opener for the address: the system browser gets it as its parameter.
TEST_F(InstallFinishing, OpeningAnAddressFallsBackToTheBrowser) {
    TempDir bin;
    WriteFile(bin / "x-www-browser",
              "#!/bin/sh\necho \"$1\" > \"" + (bin / "opened").string() + "\"\n");
    fs::permissions(bin / "x-www-browser", fs::perms::owner_all);
    std::string path = std::getenv("PATH");
    setenv("PATH", bin.path().c_str(), 1);

    OpenUrlInBrowser(L"https://news.example.com/vael");

    setenv("PATH", path.c_str(), 1);
    vael::test::WaitForFinishedLine(bin / "opened");
    EXPECT_EQ(ReadFile(bin / "opened"), "https://news.example.com/vael\n");
}

}  // namespace
