#include "DMZipArchive.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "DMAttrTable.h"
#include "DMHelper.h"
#include "DMZipCrypto.h"
#include "plat/text.h"

namespace DM {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kDirectorySignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kDirectoryEntrySize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kMaxEntries = 1000;
constexpr std::size_t kMaxPassword = 62;
constexpr std::size_t kCryptHeaderSize = 12;
constexpr std::uint16_t kEncrypted = 1;
constexpr std::uint16_t kSizesAfterData = 8;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;

// Deflate codes a match of at most 258 bytes in no fewer than two bits.
constexpr std::uint64_t kMostInflatedPerByte = 1032;

// The most content the entry's compressed bytes can give; a larger recorded size is forged and
// is never allocated.
std::uint64_t MostContent(std::uint16_t method, std::uint16_t flags, std::uint64_t compressed) {
    std::uint64_t data = (flags & kEncrypted)
                             ? compressed - std::min<std::uint64_t>(compressed, kCryptHeaderSize)
                             : compressed;
    switch (method) {
        case kStored:
            return data;
        case kDeflated:
            return data * kMostInflatedPerByte;
        default:
            return 0;
    }
}

std::uint16_t U16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t U32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

DMStringT EntryName(const unsigned char* bytes, std::size_t length) {
    DMStringT name = plat::MultiByteToWide(
        plat::CP_OEMCP, std::string_view(reinterpret_cast<const char*>(bytes), length));
    for (wchar_t& c : name) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return name;
}

std::optional<std::vector<unsigned char>> Inflate(const unsigned char* data, std::size_t size,
                                                  std::size_t uncompressedSize) {
    std::vector<unsigned char> out(uncompressedSize);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return std::nullopt;
    }
    stream.next_in = const_cast<unsigned char*>(data);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    int result = inflate(&stream, Z_FINISH);
    bool complete = stream.total_out == out.size();
    inflateEnd(&stream);
    if ((result != Z_STREAM_END && result != Z_OK) || !complete) {
        return std::nullopt;
    }
    return out;
}

}  // namespace

bool DMZipArchive::OpenMemory(const void* data, std::size_t size) {
    Close();
    m_data = static_cast<const unsigned char*>(data);
    m_size = size;
    if (!m_data || !ReadDirectory()) {
        Close();
        return false;
    }
    return true;
}

bool DMZipArchive::OpenFile(const DMStringT& path) {
    std::optional<std::vector<char>> bytes = ReadFileBytes(path);
    if (!bytes) {
        Close();
        return false;
    }
    std::vector<unsigned char> owned(bytes->begin(), bytes->end());
    if (!OpenMemory(owned.data(), owned.size())) {
        return false;
    }
    m_ownedBytes = std::move(owned);
    return true;
}

void DMZipArchive::Close() {
    m_ownedBytes.clear();
    m_data = nullptr;
    m_size = 0;
    m_entries.clear();
}

bool DMZipArchive::SetPassword(const std::string& password) {
    if (password.size() > kMaxPassword) {
        return false;
    }
    m_password = password;
    return true;
}

// The end record must fill the last 22 bytes; the directory lies right before it.
bool DMZipArchive::ReadDirectory() {
    if (m_size < kEndSize) {
        return false;
    }
    const unsigned char* end = m_data + m_size - kEndSize;
    std::size_t count = U16(end + 10);
    std::size_t directorySize = U32(end + 12);
    if (U32(end) != kEndSignature || count >= kMaxEntries || directorySize > m_size - kEndSize) {
        return false;
    }
    const unsigned char* at = end - directorySize;
    for (std::size_t i = 0; i < count; ++i) {
        if (static_cast<std::size_t>(end - at) < kDirectoryEntrySize ||
            U32(at) != kDirectorySignature) {
            return false;
        }
        std::size_t nameLength = U16(at + 28);
        std::size_t length = kDirectoryEntrySize + nameLength + U16(at + 30) + U16(at + 32);
        if (static_cast<std::size_t>(end - at) < length) {
            return false;
        }
        m_entries.push_back({EntryName(at + kDirectoryEntrySize, nameLength), U16(at + 8),
                             U16(at + 10), U32(at + 16), U32(at + 20), U32(at + 24), U32(at + 42)});
        at += length;
    }
    return true;
}

const DMZipArchive::Entry* DMZipArchive::Find(const DMStringT& path) const {
    std::size_t start = !path.empty() && (path[0] == L'\\' || path[0] == L'/') ? 1 : 0;
    for (const Entry& entry : m_entries) {
        if (EqualNoCase(entry.name.c_str(), path.c_str() + start)) {
            return &entry;
        }
    }
    return nullptr;
}

std::optional<std::size_t> DMZipArchive::EntrySize(const DMStringT& path) const {
    const Entry* entry = Find(path);
    if (!entry || entry->compressedSize > m_size ||
        entry->uncompressedSize > MostContent(entry->method, entry->flags, entry->compressedSize)) {
        return std::nullopt;
    }
    return entry->uncompressedSize;
}

// What the local header says about the entry's data, with the directory's sizes when the
// header leaves them to a data descriptor.
std::optional<DMZipArchive::LocalEntry> DMZipArchive::ReadLocalHeader(const Entry& entry) const {
    if (entry.localHeaderOffset > m_size || m_size - entry.localHeaderOffset < kLocalHeaderSize) {
        return std::nullopt;
    }
    const unsigned char* local = m_data + entry.localHeaderOffset;
    if (U32(local) != kLocalSignature) {
        return std::nullopt;
    }
    LocalEntry header{U16(local + 6),
                      U16(local + 8),
                      U16(local + 10),
                      U32(local + 14),
                      U32(local + 18),
                      U32(local + 22),
                      0};
    if (header.flags & kSizesAfterData) {
        header.crc = entry.crc;
        header.compressedSize = entry.compressedSize;
        header.uncompressedSize = entry.uncompressedSize;
    }
    header.dataOffset =
        entry.localHeaderOffset + kLocalHeaderSize + U16(local + 26) + U16(local + 28);
    if (header.dataOffset > m_size || m_size - header.dataOffset < header.compressedSize ||
        header.uncompressedSize > MostContent(header.method, header.flags, header.compressedSize)) {
        return std::nullopt;
    }
    return header;
}

// The password check byte is the CRC's high byte, or the file time's when the CRC follows the
// data (the application note's rule for streamed entries).
bool DMZipArchive::Decrypt(const LocalEntry& header, std::vector<unsigned char>& data) const {
    unsigned char check = static_cast<unsigned char>(
        header.flags & kSizesAfterData ? header.modifiedTime >> 8 : header.crc >> 24);
    DMZipCrypto crypto(m_password);
    if (m_password.empty() || data.size() < kCryptHeaderSize ||
        !crypto.DecryptHeader(data.data(), check)) {
        return false;
    }
    crypto.Decrypt(data.data() + kCryptHeaderSize, data.size() - kCryptHeaderSize);
    data.erase(data.begin(), data.begin() + kCryptHeaderSize);
    return true;
}

std::optional<std::vector<unsigned char>> DMZipArchive::ReadEntry(const DMStringT& path) const {
    const Entry* entry = Find(path);
    std::optional<LocalEntry> header = entry ? ReadLocalHeader(*entry) : std::nullopt;
    if (!header) {
        return std::nullopt;
    }
    const unsigned char* start = m_data + header->dataOffset;
    std::vector<unsigned char> data(start, start + header->compressedSize);
    if ((header->flags & kEncrypted) && !Decrypt(*header, data)) {
        return std::nullopt;
    }
    std::optional<std::vector<unsigned char>> bytes;
    if (header->method == kStored) {
        bytes = std::move(data);
    } else if (header->method == kDeflated) {
        bytes = Inflate(data.data(), data.size(), header->uncompressedSize);
    }
    // A checksum that does not match means damaged data, or a wrong password that passed the
    // one-byte check.
    if (bytes && crc32(0, bytes->data(), static_cast<uInt>(bytes->size())) != header->crc) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace DM
