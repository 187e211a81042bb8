#include "ZipText.h"

#include <Poco/TextConverter.h>
#include <Poco/UTF8Encoding.h>
#include <Poco/UnicodeConverter.h>
#include <Poco/Windows936Encoding.h>

namespace LauncherLib {

std::string GbkToUtf8(const std::string& gbk) {
    Poco::Windows936Encoding from;
    Poco::UTF8Encoding to;
    Poco::TextConverter converter(from, to, '?');
    std::string utf8;
    converter.convert(gbk, utf8);
    return utf8;
}

std::wstring Utf8ToWide(const std::string& utf8) {
    std::wstring wide;
    Poco::UnicodeConverter::convert(utf8, wide);
    return wide;
}

}  // namespace LauncherLib
