// The "ANSI" file functions over the drive map: every path is a Windows path in GBK.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "plat/types.h"

namespace plat {

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;

// The calling thread's last error code, set by the functions below on failure.
DWORD GetLastError();
void SetLastError(DWORD error);

// fopen's modes ("rb", "ab", "wb", ...), without share restrictions. A folder cannot be opened.
FILE* OpenFile(const char* path, const char* mode);
std::optional<std::uint64_t> GetFileSize(const char* path);

BOOL MoveFileExA(const char* existing, const char* target, DWORD flags);
BOOL DeleteFileA(const char* path);
// Creates one folder level; fails with ERROR_ALREADY_EXISTS when it is there.
BOOL CreateDirectoryA(const char* path, void* securityAttributes = nullptr);

// mode 0: exists; 2: writable; 4: readable; 6: both. Answers 0 or -1.
int _access(const char* path, int mode);
// 0, or -1 with errno set.
int _mkdir(const char* path);

// The read-only flag is the owner's write permission.
DWORD GetFileAttributesA(const char* path);
BOOL SetFileAttributesA(const char* path, DWORD attributes);
// The same for a wide Windows path.
DWORD GetFileAttributesW(const wchar_t* path);
BOOL SetFileAttributesW(const wchar_t* path, DWORD attributes);

// The drives as "C:\" "\0" "Z:\" "\0" "\0"; answers the length written without the last zero,
// or the size needed when `bufferLength` is too small.
DWORD GetLogicalDriveStringsA(DWORD bufferLength, char* buffer);
DWORD GetLogicalDriveStringsW(DWORD bufferLength, wchar_t* buffer);

// The host path (UTF-8) of a Windows path, for libraries that open files themselves.
std::string HostPath(const char* path);

}  // namespace plat
