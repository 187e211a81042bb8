#include "plat/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "kernel/kernel_objects.h"
#include "plat/files.h"

namespace plat {
namespace {

// The open lock file; closing its last handle gives up the lock.
class MutexLockFile : public kernel::KernelObject {
public:
    explicit MutexLockFile(int descriptor) : m_descriptor(descriptor) {}
    ~MutexLockFile() override { ::close(m_descriptor); }

private:
    int m_descriptor;
};

std::filesystem::path LockFileOf(const char* name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const char* temp = std::getenv("TMPDIR");
    std::filesystem::path folder = runtime && *runtime ? runtime : temp && *temp ? temp : "/tmp";
    std::string file = name ? name : "";
    for (char& c : file) {
        if (c == '/') {
            c = '_';
        }
    }
    return folder / (file + ".lock");
}

// The lock file, opened (and made when `create`); -1 when it cannot be.
int OpenLockFile(const char* name, bool create) {
    std::filesystem::path file = LockFileOf(name);
    if (create) {
        std::error_code ignored;
        std::filesystem::create_directories(file.parent_path(), ignored);
    }
    int flags = O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0);
    return ::open(file.c_str(), flags, 0600);
}

}  // namespace

HANDLE OpenMutexA(DWORD, BOOL, const char* name) {
    int descriptor = OpenLockFile(name, false);
    if (descriptor < 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        ::close(descriptor);  // unlocks: nobody held it
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return kernel::OpenHandle(std::make_shared<MutexLockFile>(descriptor));
}

HANDLE CreateMutexA(void*, BOOL, const char* name) {
    int descriptor = OpenLockFile(name, true);
    if (descriptor < 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    bool held = ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
    HANDLE handle = kernel::OpenHandle(std::make_shared<MutexLockFile>(descriptor));
    SetLastError(held ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
    return handle;
}

}  // namespace plat
