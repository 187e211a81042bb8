#include "plat/shared_memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "kernel/kernel_objects.h"
#include "plat/files.h"
#include "plat/registry.h"  // ERROR_INVALID_HANDLE, ERROR_INVALID_PARAMETER
#include "plat/text.h"

namespace plat {
namespace {

// One open section, shared by all its handles and views in this process. The process that
// created the name removes it when the last of them goes.
class Section : public kernel::KernelObject {
public:
    Section(int descriptor, std::size_t size, std::string createdName)
        : descriptor(descriptor), size(size), createdName(std::move(createdName)) {}
    ~Section() override {
        ::close(descriptor);
        if (!createdName.empty()) {
            ::shm_unlink(createdName.c_str());
        }
    }

    const int descriptor;
    const std::size_t size;
    const std::string createdName;
};

// A handle: the section and what the handle may map.
struct SectionHandle : kernel::KernelObject {
    std::shared_ptr<Section> section;
    bool writable;
};

struct View {
    std::size_t length;
    std::shared_ptr<Section> section;
};

struct SharedMemoryState {
    std::mutex lock;
    std::map<std::string, std::weak_ptr<Section>> named;
    std::map<const void*, View> views;
};

SharedMemoryState& State() {
    static SharedMemoryState state;
    return state;
}

bool IsPlainNameCharacter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

std::string PosixName(const wchar_t* name) {
    std::string posix = "/";
    for (unsigned char c : WideToUtf8(name)) {
        if (IsPlainNameCharacter(c)) {
            posix += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            posix += escaped;
        }
    }
    return posix;
}

DWORD ErrorOfErrno() {
    switch (errno) {
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        default:
            return ERROR_ACCESS_DENIED;
    }
}

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

HANDLE HandleTo(std::shared_ptr<Section> section, bool writable) {
    auto handle = std::make_shared<SectionHandle>();
    handle->section = std::move(section);
    handle->writable = writable;
    return kernel::OpenHandle(std::move(handle));
}

// A section this process has open under the name; needs the state's lock.
std::shared_ptr<Section> OpenInProcess(const std::string& posixName) {
    auto found = State().named.find(posixName);
    return found == State().named.end() ? nullptr : found->second.lock();
}

// Opens the name in the system; needs the state's lock.
std::shared_ptr<Section> OpenInSystem(const std::string& posixName) {
    int descriptor = ::shm_open(posixName.c_str(), O_RDWR, 0);
    struct stat info {};
    if (descriptor < 0 || ::fstat(descriptor, &info) != 0) {
        SetLastError(ErrorOfErrno());
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        return nullptr;
    }
    auto section =
        std::make_shared<Section>(descriptor, static_cast<std::size_t>(info.st_size), "");
    State().named[posixName] = section;
    return section;
}

// Creates the name in the system; null with errno EEXIST when it is there already. Needs the
// state's lock.
std::shared_ptr<Section> CreateInSystem(const std::string& posixName, std::size_t size) {
    int descriptor = ::shm_open(posixName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (descriptor < 0) {
        return nullptr;
    }
    if (::ftruncate(descriptor, static_cast<off_t>(size)) != 0) {
        ::close(descriptor);
        ::shm_unlink(posixName.c_str());
        return nullptr;
    }
    auto section = std::make_shared<Section>(descriptor, size, posixName);
    State().named[posixName] = section;
    return section;
}

HANDLE CreateUnnamed(std::size_t size) {
    int descriptor = ::memfd_create("section", 0);
    if (descriptor < 0 || ::ftruncate(descriptor, static_cast<off_t>(size)) != 0) {
        SetLastError(ErrorOfErrno());
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        return nullptr;
    }
    SetLastError(ERROR_SUCCESS);
    return HandleTo(std::make_shared<Section>(descriptor, size, ""), true);
}

}  // namespace

HANDLE CreateFileMappingW(HANDLE file, void*, DWORD protect, DWORD sizeHigh, DWORD sizeLow,
                          const wchar_t* name) {
    std::size_t size = static_cast<std::size_t>(sizeHigh) << 32 | sizeLow;
    if (file != INVALID_HANDLE_VALUE || protect != PAGE_READWRITE || size == 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (!name) {
        return CreateUnnamed(size);
    }
    std::string posixName = PosixName(name);
    std::lock_guard<std::mutex> guard(State().lock);
    if (std::shared_ptr<Section> open = OpenInProcess(posixName)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return HandleTo(std::move(open), true);
    }
    if (std::shared_ptr<Section> created = CreateInSystem(posixName, size)) {
        SetLastError(ERROR_SUCCESS);
        return HandleTo(std::move(created), true);
    }
    if (errno != EEXIST) {
        return Fail(ErrorOfErrno());
    }
    std::shared_ptr<Section> existing = OpenInSystem(posixName);
    if (!existing) {
        return nullptr;
    }
    SetLastError(ERROR_ALREADY_EXISTS);
    return HandleTo(std::move(existing), true);
}

HANDLE OpenFileMappingW(DWORD access, BOOL, const wchar_t* name) {
    if (!name) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    bool writable = (access & FILE_MAP_WRITE) != 0;
    std::string posixName = PosixName(name);
    std::lock_guard<std::mutex> guard(State().lock);
    std::shared_ptr<Section> section = OpenInProcess(posixName);
    if (!section) {
        section = OpenInSystem(posixName);
    }
    return section ? HandleTo(std::move(section), writable) : nullptr;
}

void* MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow,
                    std::size_t bytes) {
    auto handle = std::dynamic_pointer_cast<SectionHandle>(kernel::ObjectOf(mapping));
    if (!handle) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    bool write = (access & FILE_MAP_WRITE) != 0;
    std::size_t offset = static_cast<std::size_t>(offsetHigh) << 32 | offsetLow;
    const Section& section = *handle->section;
    if (offset % kAllocationGranularity != 0) {
        return Fail(ERROR_MAPPED_ALIGNMENT);
    }
    if (offset >= section.size) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    std::size_t length = bytes ? bytes : section.size - offset;
    if ((write && !handle->writable) || length > section.size - offset) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    void* view = ::mmap(nullptr, length, write ? PROT_READ | PROT_WRITE : PROT_READ, MAP_SHARED,
                        section.descriptor, static_cast<off_t>(offset));
    if (view == MAP_FAILED) {
        return Fail(ErrorOfErrno());
    }
    std::lock_guard<std::mutex> guard(State().lock);
    State().views.emplace(view, View{length, handle->section});
    return view;
}

BOOL UnmapViewOfFile(const void* view) {
    std::shared_ptr<Section> section;
    std::lock_guard<std::mutex> guard(State().lock);
    auto found = State().views.find(view);
    if (found == State().views.end()) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    ::munmap(const_cast<void*>(view), found->second.length);
    section = std::move(found->second.section);
    State().views.erase(found);
    return TRUE;
}

}  // namespace plat
