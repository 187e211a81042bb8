#include "kernel/kernel_objects.h"

#include <map>
#include <mutex>

#include "plat/files.h"
#include "plat/registry.h"  // ERROR_INVALID_HANDLE, ERROR_INVALID_PARAMETER

namespace plat {
namespace {

struct HandleTable {
    std::mutex lock;
    std::map<HANDLE, std::shared_ptr<kernel::KernelObject>> objects;
    std::uintptr_t nextHandle = 4;
};

HandleTable& Handles() {
    static HandleTable table;
    return table;
}

}  // namespace

namespace kernel {

HANDLE OpenHandle(std::shared_ptr<KernelObject> object) {
    std::lock_guard<std::mutex> guard(Handles().lock);
    auto handle = reinterpret_cast<HANDLE>(Handles().nextHandle);
    Handles().nextHandle += 4;
    Handles().objects.emplace(handle, std::move(object));
    return handle;
}

std::shared_ptr<KernelObject> ObjectOf(HANDLE handle) {
    std::lock_guard<std::mutex> guard(Handles().lock);
    auto found = Handles().objects.find(handle);
    return found == Handles().objects.end() ? nullptr : found->second;
}

}  // namespace kernel

BOOL CloseHandle(HANDLE object) {
    // The object may end with its last handle; it does so outside the table's lock.
    std::shared_ptr<kernel::KernelObject> closed;
    {
        std::lock_guard<std::mutex> guard(Handles().lock);
        auto found = Handles().objects.find(object);
        if (found == Handles().objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        closed = std::move(found->second);
        Handles().objects.erase(found);
    }
    return TRUE;
}

}  // namespace plat
