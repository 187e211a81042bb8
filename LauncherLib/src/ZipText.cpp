#include "ZipText.h"

#include <Poco/TextConverter.h>
#include <Poco/UTF8Encoding.h>
#include <Poco/UnicodeConverter.h>
#include <Poco/Windows936Encoding.h>
#include <zlib.h>

#include <cstdint>
#include <optional>

namespace LauncherLib {
namespace {

constexpr std::uint16_t kUtf8NameFlag = 0x0800;
constexpr std::size_t kFlagsOffset = 6;
constexpr std::uint16_t kUnicodePathField = 0x7075;
constexpr unsigned char kUnicodePathVersion = 1;
// Version byte and the CRC-32 of the raw name, then the UTF-8 name.
constexpr std::size_t kUnicodePathPrefix = 5;

std::uint16_t Little16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::uint32_t Little32(const std::string& bytes, std::size_t at) {
    return Little16(bytes, at) | static_cast<std::uint32_t>(Little16(bytes, at + 2)) << 16;
}

bool IsUtf8(const std::string& text) {
    Poco::UTF8Encoding utf8;
    Poco::TextConverter converter(utf8, utf8);
    std::string checked;
    return converter.convert(text, checked) == 0;
}

bool FlaggedUtf8(const Poco::Zip::ZipLocalFileHeader& header) {
    return Little16(header.createHeader(), kFlagsOffset) & kUtf8NameFlag;
}

// The extra field is a run of blocks: id, data size, data.
std::optional<std::string> UnicodePath(const Poco::Zip::ZipLocalFileHeader& header) {
    const std::string& extra = header.getExtraField();
    const std::string& raw = header.getFileName();
    for (std::size_t at = 0; at + 4 <= extra.size();) {
        std::uint16_t id = Little16(extra, at);
        std::size_t size = Little16(extra, at + 2);
        std::size_t data = at + 4;
        if (data + size > extra.size()) {
            break;
        }
        if (id == kUnicodePathField && size >= kUnicodePathPrefix &&
            static_cast<unsigned char>(extra[data]) == kUnicodePathVersion &&
            Little32(extra, data + 1) ==
                crc32_z(0, reinterpret_cast<const Bytef*>(raw.data()), raw.size())) {
            return extra.substr(data + kUnicodePathPrefix, size - kUnicodePathPrefix);
        }
        at = data + size;
    }
    return std::nullopt;
}

}  // namespace

std::string EntryNameToUtf8(const Poco::Zip::ZipLocalFileHeader& header) {
    const std::string& raw = header.getFileName();
    if (FlaggedUtf8(header) && IsUtf8(raw)) {
        return raw;
    }
    if (std::optional<std::string> unicode = UnicodePath(header); unicode && IsUtf8(*unicode)) {
        return *unicode;
    }
    return GbkToUtf8(raw);
}

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
