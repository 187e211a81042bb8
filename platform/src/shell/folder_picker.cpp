#include "plat/folder_picker.h"

#include <cwchar>
#include <mutex>
#include <string>

#include "plat/drive_map.h"
#include "plat/shell.h"

namespace plat {
namespace {

std::mutex presenterLock;
FolderPickerPresenter presenter;

}  // namespace

void SetFolderPickerPresenter(FolderPickerPresenter newPresenter) {
    std::lock_guard<std::mutex> guard(presenterLock);
    presenter = std::move(newPresenter);
}

PIDLIST_ABSOLUTE SHBrowseForFolderW(const BROWSEINFOW* info) {
    FolderPickerPresenter current;
    {
        std::lock_guard<std::mutex> guard(presenterLock);
        current = presenter;
    }
    if (!current || !info) {
        return nullptr;
    }
    std::optional<std::filesystem::path> chosen =
        current(info->hwndOwner, info->lpszTitle ? info->lpszTitle : L"");
    return chosen ? new ITEMIDLIST{*chosen} : nullptr;
}

BOOL SHGetPathFromIDListW(PIDLIST_ABSOLUTE item, wchar_t* path) {
    if (!path) {
        return FALSE;
    }
    path[0] = L'\0';
    if (!item) {
        return FALSE;
    }
    std::wstring windowsPath = WindowsPathFromHostW(item->folder);
    if (windowsPath.size() >= static_cast<size_t>(MAX_PATH)) {
        return FALSE;
    }
    std::wcscpy(path, windowsPath.c_str());
    return TRUE;
}

void CoTaskMemFree(void* memory) {
    delete static_cast<ITEMIDLIST*>(memory);
}

}  // namespace plat
