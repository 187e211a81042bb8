// The shell's folder picker. The user-interface driver in use decides how the picker is shown:
// it installs a presenter (gtk: a folder chooser dialog; headless: the answer a test gave).
// Without one the picker is cancelled at once.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "plat/types.h"

namespace plat {

constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;
constexpr UINT BIF_NEWDIALOGSTYLE = 0x0040;

struct BROWSEINFOW {
    HWND hwndOwner;
    const void* pidlRoot;
    wchar_t* pszDisplayName;
    const wchar_t* lpszTitle;
    UINT ulFlags;
};

// The item a picker answers: here always a folder of the host's file system.
struct ITEMIDLIST {
    std::filesystem::path folder;
};
using PIDLIST_ABSOLUTE = ITEMIDLIST*;

// The host folder the user chose, or nothing when the picker was cancelled.
using FolderPickerPresenter =
    std::function<std::optional<std::filesystem::path>(HWND owner, const std::wstring& title)>;

// Replaces the presenter; an empty one restores the default.
void SetFolderPickerPresenter(FolderPickerPresenter presenter);

// Shows the picker modally; the chosen item (free it with CoTaskMemFree), or null when the user
// cancelled.
PIDLIST_ABSOLUTE SHBrowseForFolderW(const BROWSEINFOW* info);

// Writes the item's folder as a wide Windows path into `path` (MAX_PATH characters); FALSE with
// an empty text when there is no item or the path does not fit.
BOOL SHGetPathFromIDListW(PIDLIST_ABSOLUTE item, wchar_t* path);

void CoTaskMemFree(void* memory);

}  // namespace plat
