#include "plat/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "plat/drive_map.h"

namespace plat {
namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

DWORD ErrorFromErrno(int error) {
    switch (error) {
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EBUSY:
        case ETXTBSY:
            return ERROR_SHARING_VIOLATION;
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        case ENOSPC:
        case EDQUOT:
            return ERROR_DISK_FULL;
        case ENOTEMPTY:
            return ERROR_DIR_NOT_EMPTY;
        default:
            return static_cast<DWORD>(error);
    }
}

BOOL Fail() {
    t_lastError = ErrorFromErrno(errno);
    return FALSE;
}

std::string Host(const char* path) {
    return HostPathFromWindows(path ? path : "").string();
}

std::string HostW(const wchar_t* path) {
    return HostPathFromWindowsW(path ? path : L"").string();
}

DWORD HostFileAttributes(const std::string& host) {
    struct stat info {};
    if (::stat(host.c_str(), &info) != 0) {
        Fail();
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (!(info.st_mode & S_IWUSR)) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    return attributes;
}

BOOL SetHostFileAttributes(const std::string& host, DWORD attributes) {
    struct stat info {};
    if (::stat(host.c_str(), &info) != 0) {
        return Fail();
    }
    mode_t mode = info.st_mode & 07777;
    mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~S_IWUSR) : (mode | S_IWUSR);
    return ::chmod(host.c_str(), mode) == 0 ? TRUE : Fail();
}

// "C:\\" "\0" "Z:\\" "\0" for the drives of the map.
std::string DriveRoots() {
    std::string roots;
    for (char letter : DriveLetters()) {
        roots += letter;
        roots += ":\\";
        roots += '\0';
    }
    return roots;
}

// Copies the roots and the final zero; the length written without that zero, or the size
// needed when the buffer is too small.
template <typename Char>
DWORD CopyDriveRoots(const std::basic_string<Char>& roots, DWORD bufferLength, Char* buffer) {
    DWORD needed = static_cast<DWORD>(roots.size() + 1);
    if (!buffer || bufferLength < needed) {
        return needed;
    }
    std::copy(roots.begin(), roots.end(), buffer);
    buffer[roots.size()] = Char{};
    return static_cast<DWORD>(roots.size());
}

}  // namespace

DWORD GetLastError() {
    return t_lastError;
}

void SetLastError(DWORD error) {
    t_lastError = error;
}

FILE* OpenFile(const char* path, const char* mode) {
    FILE* file = std::fopen(Host(path).c_str(), mode);
    if (!file) {
        Fail();
        return nullptr;
    }
    // A folder is not a file on Windows: opening one fails there.
    struct stat info {};
    if (::fstat(::fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(file);
        t_lastError = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    return file;
}

std::optional<std::uint64_t> GetFileSize(const char* path) {
    struct stat info {};
    if (::stat(Host(path).c_str(), &info) != 0) {
        Fail();
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

BOOL MoveFileExA(const char* existing, const char* target, DWORD flags) {
    std::string from = Host(existing);
    std::string to = Host(target);
    if (flags & MOVEFILE_REPLACE_EXISTING) {
        return ::rename(from.c_str(), to.c_str()) == 0 ? TRUE : Fail();
    }
    // Without replacement the target must not exist: link it first, then drop the old name.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return TRUE;
    }
    if (errno == EEXIST) {
        t_lastError = ERROR_ALREADY_EXISTS;
        return FALSE;
    }
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0) {
        t_lastError = ERROR_ALREADY_EXISTS;
        return FALSE;
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? TRUE : Fail();
}

BOOL DeleteFileA(const char* path) {
    return ::unlink(Host(path).c_str()) == 0 ? TRUE : Fail();
}

BOOL CreateDirectoryA(const char* path, void*) {
    return ::mkdir(Host(path).c_str(), 0777) == 0 ? TRUE : Fail();
}

int _access(const char* path, int mode) {
    int hostMode = F_OK;
    if (mode & 2) {
        hostMode |= W_OK;
    }
    if (mode & 4) {
        hostMode |= R_OK;
    }
    if (::access(Host(path).c_str(), hostMode) != 0) {
        Fail();
        return -1;
    }
    return 0;
}

int _mkdir(const char* path) {
    if (::mkdir(Host(path).c_str(), 0777) != 0) {
        Fail();
        return -1;
    }
    return 0;
}

DWORD GetFileAttributesA(const char* path) {
    return HostFileAttributes(Host(path));
}

BOOL SetFileAttributesA(const char* path, DWORD attributes) {
    return SetHostFileAttributes(Host(path), attributes);
}

DWORD GetFileAttributesW(const wchar_t* path) {
    return HostFileAttributes(HostW(path));
}

BOOL SetFileAttributesW(const wchar_t* path, DWORD attributes) {
    return SetHostFileAttributes(HostW(path), attributes);
}

DWORD GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) {
    return CopyDriveRoots(DriveRoots(), bufferLength, buffer);
}

DWORD GetLogicalDriveStringsW(DWORD bufferLength, wchar_t* buffer) {
    std::string roots = DriveRoots();
    return CopyDriveRoots(std::wstring(roots.begin(), roots.end()), bufferLength, buffer);
}

std::string HostPath(const char* path) {
    return Host(path);
}

}  // namespace plat
