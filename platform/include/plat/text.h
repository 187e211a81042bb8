// Conversion between the platform's text encodings: the ANSI code page (936, GBK), UTF-8 and
// wide text (wchar_t, 32 bits on Linux) and UTF-16. Bytes that cannot be converted become "?".
#pragma once

#include <string>
#include <string_view>

namespace plat {

constexpr unsigned int CP_ACP = 0;
constexpr unsigned int CP_OEMCP = 1;
constexpr unsigned int CP_GBK = 936;
constexpr unsigned int CP_UTF8 = 65001;

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
std::wstring AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::wstring_view wide);
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
std::u16string WideToUtf16(std::wstring_view wide);
std::wstring Utf16ToWide(std::u16string_view utf16);

// The narrow/wide conversions of one code page: CP_ACP, CP_OEMCP and 936 mean GBK, 65001 UTF-8.
std::wstring MultiByteToWide(unsigned int codePage, std::string_view text);
std::string WideToMultiByte(unsigned int codePage, std::wstring_view text);

}  // namespace plat
