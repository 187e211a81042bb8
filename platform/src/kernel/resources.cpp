#include "plat/resources.h"

#include <cwctype>
#include <deque>
#include <string>

namespace plat {
namespace {

struct ModuleResource {
    std::wstring type;
    unsigned id;
    const void* data;
    std::size_t size;
};

// Filled during static initialisation, read afterwards; never shrinks and only grows at its
// end, so the handles (pointers to the entries) stay valid.
std::deque<ModuleResource>& Resources() {
    static std::deque<ModuleResource> resources;
    return resources;
}

bool SameType(const std::wstring& a, const wchar_t* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) {
            return false;
        }
    }
    return i == a.size() && b[i] == L'\0';
}

const ModuleResource* Entry(HRSRC resource) {
    return reinterpret_cast<const ModuleResource*>(resource);
}

}  // namespace

void RegisterModuleResource(const wchar_t* type, unsigned id, const void* data, std::size_t size) {
    for (ModuleResource& resource : Resources()) {
        if (resource.id == id && SameType(resource.type, type)) {
            resource.data = data;
            resource.size = size;
            return;
        }
    }
    Resources().push_back({type, id, data, size});
}

HRSRC FindResourceW(HMODULE module, const wchar_t* name, const wchar_t* type) {
    if (module != nullptr || !type || IS_INTRESOURCE(type) || !IS_INTRESOURCE(name)) {
        return nullptr;
    }
    unsigned id = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(name));
    for (const ModuleResource& resource : Resources()) {
        if (resource.id == id && SameType(resource.type, type)) {
            return reinterpret_cast<HRSRC>(const_cast<ModuleResource*>(&resource));
        }
    }
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    return resource ? const_cast<void*>(Entry(resource)->data) : nullptr;
}

const void* LockResource(HGLOBAL loaded) {
    return loaded;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource ? static_cast<DWORD>(Entry(resource)->size) : 0;
}

}  // namespace plat
