// Text conversions for ZIP entry names, which the archives carry in GBK.
#pragma once

#include <string>

namespace LauncherLib {

// GBK to UTF-8; what cannot be converted becomes "?".
std::string GbkToUtf8(const std::string& gbk);
// UTF-8 to wide text.
std::wstring Utf8ToWide(const std::string& utf8);

}  // namespace LauncherLib
