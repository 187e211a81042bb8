// The process's table of open kernel handles. Handles are never reused, so a closed one stays
// invalid.
#pragma once

#include <memory>

#include "plat/kernel_handle.h"

namespace plat::kernel {

class KernelObject {
public:
    virtual ~KernelObject() = default;
};

HANDLE OpenHandle(std::shared_ptr<KernelObject> object);
// The object behind an open handle; null when the handle is not open.
std::shared_ptr<KernelObject> ObjectOf(HANDLE handle);

}  // namespace plat::kernel
