// Named sections on POSIX shared memory: sharing by name, what keeps a name, and the errors.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "plat/files.h"
#include "plat/registry.h"
#include "plat/shared_memory.h"

namespace plat {
namespace {

// Names of this test process only, so that test programs running at once never meet.
std::wstring UniqueName(const wchar_t* stem) {
    return stem + std::to_wstring(::getpid());
}

std::filesystem::path SystemObject(const std::string& posixName) {
    return std::filesystem::path("/dev/shm") / posixName;
}

HANDLE Create(const std::wstring& name, DWORD size) {
    return CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name.c_str());
}

TEST(SharedMemory, AnotherProgramSeesTheSectionUnderItsName) {
    std::wstring name = UniqueName(L"VaelSection");
    std::string posixName(name.begin(), name.end());
    HANDLE section = Create(name, 64);
    ASSERT_TRUE(section);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    auto* view = static_cast<char*>(MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_TRUE(view);
    std::strcpy(view, "from the section");

    int outside = ::shm_open(("/" + posixName).c_str(), O_RDONLY, 0);
    ASSERT_GE(outside, 0);
    void* outsideView = ::mmap(nullptr, 64, PROT_READ, MAP_SHARED, outside, 0);
    EXPECT_STREQ(static_cast<const char*>(outsideView), "from the section");
    ::munmap(outsideView, 64);
    ::close(outside);

    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_TRUE(CloseHandle(section));
    EXPECT_FALSE(std::filesystem::exists(SystemObject(posixName))) << "gone with the creator";
}

TEST(SharedMemory, ASectionMadeOutsideIsOpenedAndLeftInPlace) {
    std::wstring name = UniqueName(L"VaelOutside");
    std::string posixName = "/" + std::string(name.begin(), name.end());
    int outside = ::shm_open(posixName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(outside, 0);
    ASSERT_EQ(::ftruncate(outside, 32), 0);

    HANDLE created = Create(name, 4096);
    ASSERT_TRUE(created);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(MapViewOfFile(created, FILE_MAP_READ, 0, 0, 33), nullptr) << "its size is 32";
    CloseHandle(created);
    HANDLE opened = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
    EXPECT_TRUE(opened);
    CloseHandle(opened);

    EXPECT_TRUE(std::filesystem::exists(SystemObject(posixName.substr(1))));
    ::close(outside);
    ::shm_unlink(posixName.c_str());
}

TEST(SharedMemory, NamesOutsideThePlainCharactersAreEscaped) {
    std::wstring name = UniqueName(L"Local\\spy/名");
    HANDLE section = Create(name, 16);
    ASSERT_TRUE(section);
    std::string expected = "Local%5Cspy%2F%E5%90%8D" + std::to_string(::getpid());
    EXPECT_TRUE(std::filesystem::exists(SystemObject(expected)));
    CloseHandle(section);
}

TEST(SharedMemory, HandlesOfOneNameShareOneSection) {
    std::wstring name = UniqueName(L"VaelShared");
    HANDLE first = Create(name, 100);
    HANDLE second = Create(name, 4096);
    ASSERT_TRUE(second);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    HANDLE opened = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
    ASSERT_TRUE(opened);

    auto* written = static_cast<char*>(MapViewOfFile(first, FILE_MAP_WRITE, 0, 0, 0));
    auto* read = static_cast<const char*>(MapViewOfFile(opened, FILE_MAP_READ, 0, 0, 100));
    ASSERT_TRUE(written && read);
    written[99] = 'x';
    EXPECT_EQ(read[99], 'x');
    EXPECT_EQ(MapViewOfFile(second, FILE_MAP_READ, 0, 0, 101), nullptr)
        << "the section keeps its first size";

    UnmapViewOfFile(written);
    UnmapViewOfFile(read);
    for (HANDLE handle : {first, second, opened}) {
        CloseHandle(handle);
    }
}

TEST(SharedMemory, AViewKeepsTheNameAfterTheLastHandle) {
    std::wstring name = UniqueName(L"VaelView");
    HANDLE section = Create(name, 8);
    void* view = MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    CloseHandle(section);

    HANDLE again = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
    EXPECT_TRUE(again);
    CloseHandle(again);
    UnmapViewOfFile(view);

    EXPECT_EQ(OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(SharedMemory, FailuresAnswerWindowsErrors) {
    std::wstring name = UniqueName(L"VaelErrors");
    HANDLE section = Create(name, 16);
    HANDLE readOnly = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
    HANDLE closed = Create(UniqueName(L"VaelClosed"), 16);
    CloseHandle(closed);
    int notAView = 0;
    struct {
        const char* what;
        std::function<bool()> fails;
        DWORD error;
    } cases[] = {
        {"size 0", [&] { return !Create(name + L"Empty", 0); }, ERROR_INVALID_PARAMETER},
        {"a file",
         [&] {
             return !CreateFileMappingW(nullptr, nullptr, PAGE_READWRITE, 0, 16,
                                        (name + L"File").c_str());
         },
         ERROR_INVALID_PARAMETER},
        {"closed handle", [&] { return !MapViewOfFile(closed, FILE_MAP_READ, 0, 0, 0); },
         ERROR_INVALID_HANDLE},
        {"closing twice", [&] { return !CloseHandle(closed); }, ERROR_INVALID_HANDLE},
        {"writing read-only", [&] { return !MapViewOfFile(readOnly, FILE_MAP_WRITE, 0, 0, 0); },
         ERROR_ACCESS_DENIED},
        {"beyond the end", [&] { return !MapViewOfFile(section, FILE_MAP_READ, 0, 0, 17); },
         ERROR_ACCESS_DENIED},
        {"offset past the end",
         [&] { return !MapViewOfFile(section, FILE_MAP_READ, 0, kAllocationGranularity, 0); },
         ERROR_ACCESS_DENIED},
        {"unaligned offset", [&] { return !MapViewOfFile(section, FILE_MAP_READ, 0, 8, 0); },
         ERROR_MAPPED_ALIGNMENT},
        {"not a view", [&] { return !UnmapViewOfFile(&notAView); }, ERROR_INVALID_ADDRESS},
    };
    for (const auto& c : cases) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_TRUE(c.fails()) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
    CloseHandle(readOnly);
    CloseHandle(section);
}

}  // namespace
}  // namespace plat
