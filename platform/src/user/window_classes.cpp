#include "user/window_classes.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "user/window_records.h"

namespace plat::user {
namespace {

constexpr ATOM kFirstAtom = 0xC000;  // where Windows numbers registered classes from

std::vector<std::shared_ptr<WindowClass>>& Classes() {
    static auto* classes = new std::vector<std::shared_ptr<WindowClass>>;
    return *classes;
}

bool IsAtom(const wchar_t* name) {
    return reinterpret_cast<std::uintptr_t>(name) < 0x10000;
}

bool SameName(const std::wstring& left, const wchar_t* right) {
    std::size_t length = std::wcslen(right);
    if (left.size() != length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (std::towlower(left[i]) != std::towlower(right[i])) {
            return false;
        }
    }
    return true;
}

ATOM NextAtom() {
    static ATOM next = kFirstAtom;
    return next++;
}

}  // namespace

std::shared_ptr<WindowClass> FindWindowClass(const wchar_t* name) {
    if (!name) {
        return nullptr;
    }
    for (const std::shared_ptr<WindowClass>& windowClass : Classes()) {
        bool matches = IsAtom(name) ? windowClass->atom == reinterpret_cast<std::uintptr_t>(name)
                                    : SameName(windowClass->name, name);
        if (matches) {
            return windowClass;
        }
    }
    return nullptr;
}

}  // namespace plat::user

namespace plat {

ATOM RegisterClassExW(const WNDCLASSEXW* description) {
    if (!description || description->cbSize != sizeof(WNDCLASSEXW) || !description->lpszClassName ||
        user::IsAtom(description->lpszClassName) || !description->lpfnWndProc) {
        return 0;
    }
    user::Guard lock(user::WindowSystemLock());
    if (user::FindWindowClass(description->lpszClassName)) {
        return 0;
    }
    auto windowClass = std::make_shared<user::WindowClass>(user::WindowClass{
        description->lpszClassName, user::NextAtom(), description->style, description->lpfnWndProc,
        description->hInstance, description->hCursor, description->hbrBackground});
    user::Classes().push_back(windowClass);
    return windowClass->atom;
}

BOOL UnregisterClassW(const wchar_t* className, HINSTANCE) {
    user::Guard lock(user::WindowSystemLock());
    std::shared_ptr<user::WindowClass> windowClass = user::FindWindowClass(className);
    if (!windowClass || windowClass->windowCount > 0) {
        return FALSE;
    }
    std::erase(user::Classes(), windowClass);
    return TRUE;
}

int GetClassNameW(HWND window, wchar_t* buffer, int size) {
    if (!buffer || size <= 0) {
        return 0;
    }
    user::Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        buffer[0] = 0;
        return 0;
    }
    const std::wstring& name = record->windowClass->name;
    int length = std::min(static_cast<int>(name.size()), size - 1);
    std::copy_n(name.begin(), length, buffer);
    buffer[length] = 0;
    return length;
}

}  // namespace plat
