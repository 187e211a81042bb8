// Kernel and shell services of the launcher's start: the named mutex that keeps one instance,
// temporary names, the drive roots and the folder picker.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "plat/drive_map.h"
#include "plat/files.h"
#include "plat/folder_picker.h"
#include "plat/headless.h"
#include "plat/named_mutex.h"
#include "plat/shell.h"
#include "plat/temp_files.h"

namespace {

TEST(NamedMutex, IsHeldUntilItsHandleCloses) {
    const std::string name = "vael.test.mutex." + std::to_string(::getpid());
    EXPECT_EQ(plat::OpenMutexA(plat::SYNCHRONIZE, plat::FALSE, name.c_str()), nullptr);
    EXPECT_EQ(plat::GetLastError(), plat::ERROR_FILE_NOT_FOUND);

    plat::HANDLE first = plat::CreateMutexA(nullptr, plat::TRUE, name.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(plat::GetLastError(), plat::ERROR_SUCCESS);

    plat::HANDLE opened = plat::OpenMutexA(plat::SYNCHRONIZE, plat::FALSE, name.c_str());
    EXPECT_NE(opened, nullptr);
    plat::HANDLE second = plat::CreateMutexA(nullptr, plat::TRUE, name.c_str());
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(plat::GetLastError(), plat::ERROR_ALREADY_EXISTS);
    plat::CloseHandle(opened);
    plat::CloseHandle(second);
    EXPECT_NE(plat::OpenMutexA(plat::SYNCHRONIZE, plat::FALSE, name.c_str()), nullptr)
        << "still held by the first handle";

    plat::CloseHandle(first);
    EXPECT_EQ(plat::OpenMutexA(plat::SYNCHRONIZE, plat::FALSE, name.c_str()), nullptr);
}

TEST(TempFiles, NamesAreFormedInTheTemporaryFolder) {
    wchar_t folder[plat::MAX_PATH] = {};
    plat::DWORD length = plat::GetTempPathW(plat::MAX_PATH, folder);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(folder[length - 1], L'\\');
    EXPECT_EQ(plat::GetTempPathW(1, folder), length + 1) << "the size needed";

    wchar_t name[plat::MAX_PATH] = {};
    EXPECT_EQ(plat::GetTempFileNameW(folder, L"dro", 0xFFFF, name), 0xFFFFu);
    EXPECT_EQ(std::wstring(name), std::wstring(folder) + L"droFFFF.TMP");
    EXPECT_FALSE(std::filesystem::exists(plat::HostPathFromWindowsW(name)));

    plat::UINT unique = plat::GetTempFileNameW(folder, L"vaelong", 0, name);
    ASSERT_NE(unique, 0u);
    EXPECT_EQ(std::wstring(name).find(std::wstring(folder) + L"vae"), 0u);
    std::filesystem::path made = plat::HostPathFromWindowsW(name);
    EXPECT_TRUE(std::filesystem::exists(made)) << "a number of its own picks a new file";
    EXPECT_NE(plat::GetTempFileNameW(folder, L"vae", 0, name), unique);
    std::filesystem::remove(made);
    std::filesystem::remove(plat::HostPathFromWindowsW(name));
}

TEST(DriveRoots, WideRootsMatchTheNarrowOnes) {
    char narrow[128] = {};
    wchar_t wide[128] = {};
    plat::DWORD length = plat::GetLogicalDriveStringsA(128, narrow);
    ASSERT_EQ(plat::GetLogicalDriveStringsW(128, wide), length);
    for (plat::DWORD i = 0; i <= length; ++i) {
        EXPECT_EQ(static_cast<wchar_t>(narrow[i]), wide[i]);
    }
    EXPECT_EQ(plat::GetLogicalDriveStringsW(2, wide), length + 1) << "the size needed";
}

TEST(FolderPicker, AnswersTheChosenFolderAsAWindowsPath) {
    plat::BROWSEINFOW info{nullptr, nullptr, nullptr, nullptr, plat::BIF_NEWDIALOGSTYLE};
    plat::headless::AnswerFolderPicker(std::nullopt);
    EXPECT_EQ(plat::SHBrowseForFolderW(&info), nullptr) << "cancelled";

    plat::headless::AnswerFolderPicker(plat::PrefixFolder() / "drive_c" / "Games");
    plat::PIDLIST_ABSOLUTE chosen = plat::SHBrowseForFolderW(&info);
    ASSERT_NE(chosen, nullptr);
    wchar_t path[plat::MAX_PATH] = {};
    EXPECT_TRUE(plat::SHGetPathFromIDListW(chosen, path));
    EXPECT_EQ(std::wstring(path), L"C:\\Games");
    plat::CoTaskMemFree(chosen);
    plat::SetFolderPickerPresenter(nullptr);
}

}  // namespace
