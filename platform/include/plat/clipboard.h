// The clipboard's text, through the user-interface driver.
#pragma once

#include <string>

namespace plat {

void SetClipboardText(const std::wstring& text);
std::wstring GetClipboardText();

}  // namespace plat
