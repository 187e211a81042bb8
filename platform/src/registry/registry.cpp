#include "plat/registry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "plat/files.h"
#include "plat/text.h"
#include "registry_store.h"

namespace plat {
namespace {

// Open keys by handle; the handle's number is private to this process.
struct OpenKeys {
    std::mutex lock;
    std::map<std::uintptr_t, std::string> names;
    std::uintptr_t next = 0x1000;
};

OpenKeys& Keys() {
    static OpenKeys keys;
    return keys;
}

bool IsRoot(HKEY key) {
    return key == HKEY_LOCAL_MACHINE;
}

// The full key path of `subKey` below `key`, with single backslashes; nothing for an unknown
// handle. Called with the lock held.
std::optional<std::string> FullName(HKEY key, const wchar_t* subKey) {
    std::string base;
    if (!IsRoot(key)) {
        auto it = Keys().names.find(reinterpret_cast<std::uintptr_t>(key));
        if (it == Keys().names.end()) {
            return std::nullopt;
        }
        base = it->second;
    }
    std::string sub = subKey ? WideToUtf8(subKey) : "";
    std::string name;
    for (const std::string& part : {base, sub}) {
        std::size_t start = 0;
        while (start < part.size()) {
            std::size_t end = std::min(part.find('\\', start), part.size());
            if (end > start) {
                name += (name.empty() ? "" : "\\") + part.substr(start, end - start);
            }
            start = end + 1;
        }
    }
    return name;
}

HKEY NewHandle(const std::string& name) {
    std::uintptr_t handle = Keys().next++;
    Keys().names[handle] = name;
    return reinterpret_cast<HKEY>(handle);
}

// Sizes of string data count UTF-16 bytes: `size` bytes of wchar_t text are size / 2 units.
std::vector<unsigned char> StringBytes(const BYTE* data, DWORD size) {
    const auto* text = reinterpret_cast<const wchar_t*>(data);
    std::u16string utf16 = WideToUtf16(std::wstring_view(text, size / 2));
    utf16.resize(size / 2);
    std::vector<unsigned char> bytes;
    for (char16_t unit : utf16) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return bytes;
}

std::wstring StringFromBytes(const std::vector<unsigned char>& bytes) {
    std::u16string utf16;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        utf16 += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    return Utf16ToWide(utf16);
}

// What opening or creating a key starts from: its full path and the store as it is now.
struct KeyRequest {
    std::string name;
    registry::Store store;
};

// Called with the lock held.
LSTATUS Prepare(HKEY key, const wchar_t* subKey, HKEY* result, KeyRequest& request) {
    auto name = FullName(key, subKey);
    if (!name || !result) {
        return ERROR_INVALID_HANDLE;
    }
    auto store = registry::Load();
    if (!store) {
        return ERROR_ACCESS_DENIED;
    }
    request.name = *name;
    request.store = std::move(*store);
    return ERROR_SUCCESS;
}

// A handle to the requested key, under the spelling the store keeps (the root has no name).
HKEY OpenHandle(const KeyRequest& request) {
    return NewHandle(request.name.empty() ? request.name : request.store.at(request.name).name);
}

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace

LSTATUS RegOpenKeyExW(HKEY key, const wchar_t* subKey, DWORD, DWORD, HKEY* result) {
    std::lock_guard<std::mutex> guard(Keys().lock);
    KeyRequest request;
    if (LSTATUS status = Prepare(key, subKey, result, request); status != ERROR_SUCCESS) {
        return status;
    }
    if (!request.name.empty() && !request.store.contains(request.name)) {
        return ERROR_FILE_NOT_FOUND;
    }
    *result = OpenHandle(request);
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyW(HKEY key, const wchar_t* subKey, HKEY* result) {
    std::lock_guard<std::mutex> guard(Keys().lock);
    KeyRequest request;
    if (LSTATUS status = Prepare(key, subKey, result, request); status != ERROR_SUCCESS) {
        return status;
    }
    const std::string& name = request.name;
    registry::Store& store = request.store;
    if (!name.empty() && !store.contains(name)) {
        // Every missing parent becomes a key of its own, as on Windows.
        for (std::size_t end = name.find('\\');; end = name.find('\\', end + 1)) {
            std::string level = name.substr(0, end);
            if (!store.contains(level)) {
                store[level].name = level;
            }
            if (end == std::string::npos) {
                break;
            }
        }
        if (!registry::Save(store)) {
            return ERROR_ACCESS_DENIED;
        }
    }
    *result = OpenHandle(request);
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExW(HKEY key, const wchar_t* name, DWORD, DWORD type, const BYTE* data,
                       DWORD size) {
    std::lock_guard<std::mutex> guard(Keys().lock);
    auto keyName = FullName(key, nullptr);
    if (!keyName || keyName->empty()) {
        return ERROR_INVALID_HANDLE;
    }
    if (!data && size) {
        return ERROR_INVALID_PARAMETER;
    }
    auto store = registry::Load();
    if (!store) {
        return ERROR_ACCESS_DENIED;
    }
    registry::Key& stored = (*store)[*keyName];
    stored.name = stored.name.empty() ? *keyName : stored.name;
    registry::Value& value = stored.values[name ? WideToUtf8(name) : ""];
    value.type = type;
    value.bytes = IsStringType(type) ? StringBytes(data, size)
                                     : std::vector<unsigned char>(data, data + size);
    return registry::Save(*store) ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LSTATUS RegQueryValueExW(HKEY key, const wchar_t* name, DWORD*, DWORD* type, BYTE* data,
                         DWORD* size) {
    std::lock_guard<std::mutex> guard(Keys().lock);
    auto keyName = FullName(key, nullptr);
    if (!keyName) {
        return ERROR_INVALID_HANDLE;
    }
    auto store = registry::Load();
    if (!store || !store->contains(*keyName)) {
        return ERROR_FILE_NOT_FOUND;
    }
    const auto& values = store->at(*keyName).values;
    auto it = values.find(name ? WideToUtf8(name) : "");
    if (it == values.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const registry::Value& value = it->second;
    if (type) {
        *type = value.type;
    }
    auto needed = static_cast<DWORD>(value.bytes.size());
    if (!size) {
        return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    }
    DWORD room = *size;
    *size = needed;
    if (!data) {
        return ERROR_SUCCESS;
    }
    if (room < needed) {
        return ERROR_MORE_DATA;
    }
    if (IsStringType(value.type)) {
        std::wstring text = StringFromBytes(value.bytes);
        std::memcpy(data, text.data(),
                    std::min<std::size_t>(text.size(), room / 2) * sizeof(wchar_t));
    } else {
        std::memcpy(data, value.bytes.data(), needed);
    }
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
    std::lock_guard<std::mutex> guard(Keys().lock);
    if (IsRoot(key)) {
        return ERROR_SUCCESS;
    }
    return Keys().names.erase(reinterpret_cast<std::uintptr_t>(key)) ? ERROR_SUCCESS
                                                                     : ERROR_INVALID_HANDLE;
}

}  // namespace plat
