// Modal message boxes. The user-interface driver in use decides how a box is shown: it
// installs a presenter. Without one the text goes to standard error and the answer is IDOK.
#pragma once

#include <functional>
#include <string>

#include "plat/types.h"

namespace plat {

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

using MessageBoxPresenter = std::function<int(HWND owner, const std::wstring& text,
                                              const std::wstring& caption, UINT type)>;

// Replaces the presenter; an empty one restores the default.
void SetMessageBoxPresenter(MessageBoxPresenter presenter);

// Shows the box and answers the button that closed it.
int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

}  // namespace plat
