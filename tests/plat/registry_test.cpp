#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/registry.h"

using namespace plat;
namespace fs = std::filesystem;

namespace {

fs::path StoreFile() {
    return PrefixFolder() / "vael-hklm.reg";
}

HKEY Create(const wchar_t* name) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyW(HKEY_LOCAL_MACHINE, name, &key), ERROR_SUCCESS);
    return key;
}

struct Read {
    LSTATUS status;
    DWORD type = 0;
    DWORD size = 0;
    std::vector<BYTE> data;
};

Read Query(HKEY key, const wchar_t* name) {
    Read read{};
    read.data.resize(2048);
    read.size = 1024;
    read.status = RegQueryValueExW(key, name, nullptr, &read.type, read.data.data(), &read.size);
    return read;
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override { fs::remove_all(StoreFile()); }
};

TEST_F(Registry, ValuesKeepTypeAndBytesAcrossOpens) {
    HKEY key = Create(L"Software\\Test\\Values");
    wchar_t text[260] = L"C:\\Games";
    DWORD number = 0x12345678;
    const BYTE blob[] = {0, 1, 2, 0xFF};
    ASSERT_EQ(RegSetValueExW(key, L"Text", 0, REG_SZ, reinterpret_cast<BYTE*>(text), 520),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, L"Blob", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
    RegCloseKey(key);

    HKEY again = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\test\\VALUES", 0, KEY_READ, &again),
              ERROR_SUCCESS);
    Read readText = Query(again, L"text");
    EXPECT_EQ(readText.type, REG_SZ);
    EXPECT_EQ(readText.size, 520u);
    EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(readText.data.data())), L"C:\\Games");
    Read readNumber = Query(again, L"Number");
    EXPECT_EQ(readNumber.type, REG_DWORD);
    EXPECT_EQ(readNumber.size, 4u);
    EXPECT_EQ(std::memcmp(readNumber.data.data(), &number, 4), 0);
    Read readBlob = Query(again, L"Blob");
    EXPECT_EQ(readBlob.type, REG_BINARY);
    EXPECT_EQ(std::vector<BYTE>(readBlob.data.begin(), readBlob.data.begin() + 4),
              std::vector<BYTE>(blob, blob + 4));
    EXPECT_EQ(Query(again, L"Missing").status, ERROR_FILE_NOT_FOUND);
    RegCloseKey(again);
}

TEST_F(Registry, ReplacingAValueKeepsTheOthers) {
    HKEY key = Create(L"Software\\Test");
    DWORD one = 1;
    DWORD two = 2;
    RegSetValueExW(key, L"Kept", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
    RegSetValueExW(key, L"Changed", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
    RegSetValueExW(key, L"CHANGED", 0, REG_DWORD, reinterpret_cast<BYTE*>(&two), 4);

    EXPECT_EQ(Query(key, L"Kept").data[0], 1);
    EXPECT_EQ(Query(key, L"Changed").data[0], 2);
    RegCloseKey(key);
}

TEST_F(Registry, MissingKeysAndBrokenStores) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Nothing", 0, KEY_WRITE, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(
        RegSetValueExW(reinterpret_cast<HKEY>(std::uintptr_t{77}), L"x", 0, REG_DWORD, nullptr, 0),
        ERROR_INVALID_HANDLE);

    // A store that cannot be read is never overwritten.
    fs::create_directories(StoreFile());
    EXPECT_NE(RegCreateKeyW(HKEY_LOCAL_MACHINE, L"Software\\New", &key), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_directory(StoreFile()));
    fs::remove_all(StoreFile());
}

TEST_F(Registry, TheStoreIsRegeditTextWrittenWhole) {
    HKEY key = Create(L"Software\\Halvorn\\ORVN");
    DWORD value = 7;
    RegSetValueExW(key, L"Count", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
    RegCloseKey(key);

    std::string text = vael::test::ReadFile(StoreFile());
    EXPECT_TRUE(text.starts_with("REGEDIT4\n"));
    EXPECT_NE(
        text.find("[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORVN]\n\"Count\"=hex(4):07,00,00,00\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Halvorn]\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(StoreFile().string() + ".new"));
}

}  // namespace
