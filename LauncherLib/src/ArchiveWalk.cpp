#include "ArchiveWalk.h"

#include <Poco/Zip/ZipArchiveInfo.h>
#include <Poco/Zip/ZipCommon.h>
#include <Poco/Zip/ZipException.h>
#include <Poco/Zip/ZipFileInfo.h>
#include <Poco/Zip/ZipLocalFileHeader.h>
#include <Poco/Zip/ZipUtil.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace LauncherLib {
namespace {

using Poco::Zip::ZipCommon;

constexpr std::size_t kSignatureSize = ZipCommon::HEADER_SIZE;

// The local header after its signature: version needed (version, host system), flags, method,
// time, date, CRC, compressed size, uncompressed size, name length, extra field length.
constexpr std::size_t kLocalFixedSize = 26;
constexpr std::size_t kLocalVersion = 0;
constexpr std::size_t kLocalHostSystem = 1;
constexpr std::size_t kLocalMethod = 4;
constexpr std::size_t kLocalCompressedSize = 14;
constexpr std::size_t kLocalUncompressedSize = 18;
constexpr std::size_t kLocalNameLength = 22;
constexpr std::size_t kLocalExtraLength = 24;
// POCO parses ZIP versions up to 4.x.
constexpr unsigned kHighestMajorVersion = 4;

// The central directory header after its signature, up to its three variable-length parts.
constexpr std::size_t kDirectoryFixedSize = 42;
constexpr std::size_t kDirectoryNameLength = 24;
constexpr std::size_t kDirectoryExtraLength = 26;
constexpr std::size_t kDirectoryCommentLength = 28;

enum class Record { LocalHeader, DirectoryHeader, DirectoryEnd, Unknown };

Record Identify(const char* signature) {
    auto is = [&](const char* known) { return std::memcmp(signature, known, kSignatureSize) == 0; };
    if (is(Poco::Zip::ZipLocalFileHeader::HEADER)) {
        return Record::LocalHeader;
    }
    if (is(Poco::Zip::ZipFileInfo::HEADER)) {
        return Record::DirectoryHeader;
    }
    if (is(Poco::Zip::ZipArchiveInfo::HEADER) || is(Poco::Zip::ZipArchiveInfo64::HEADER) ||
        is(Poco::Zip::ZipArchiveInfo64::LOCATOR_HEADER)) {
        return Record::DirectoryEnd;
    }
    return Record::Unknown;
}

std::uint16_t Get16(const char* at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(at[0]) |
                                      static_cast<unsigned char>(at[1]) << 8);
}

std::uint32_t Get32(const char* at) {
    return Get16(at) | static_cast<std::uint32_t>(Get16(at + 2)) << 16;
}

// POCO reads a ZIP64 record's 8-byte values (the uncompressed, then the compressed size, each
// only where the header holds 0xFFFFFFFF for it and the record declares room for it), then goes
// on after the values it read or after the whole record, depending on its version. Every
// record reachable either way must keep those reads inside the field.
bool Zip64ValuesFit(const std::string& extra, std::size_t valuesInField) {
    std::vector<bool> visited(extra.size());
    std::vector<std::size_t> pending{0};
    while (!pending.empty()) {
        std::size_t at = pending.back();
        pending.pop_back();
        if (at + 4 > extra.size() || visited[at]) {
            continue;
        }
        visited[at] = true;
        std::size_t id = Get16(extra.data() + at);
        std::size_t size = Get16(extra.data() + at + 2);
        std::size_t data = at + 4;
        if (id == ZipCommon::ZIP64_EXTRA_ID) {
            std::size_t read = 8 * std::min(valuesInField, size / 8);
            if (data + read > extra.size()) {
                return false;
            }
            pending.push_back(data + read);
        }
        pending.push_back(data + size);
    }
    return true;
}

Poco::Zip::ZipException DamagedHeader(const std::string& what, std::streamoff at) {
    return Poco::Zip::ZipException(what + " in the local header at byte " + std::to_string(at));
}

// Gives the bytes just read back to the stream: from its buffer while they are still there
// (no new read of the file for every entry), else by seeking back to `start`.
void Unread(std::istream& archive, const std::string& bytes, std::streampos start) {
    std::streambuf* buffer = archive.rdbuf();
    for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte) {
        if (buffer->sputbackc(*byte) == std::char_traits<char>::eof()) {
            archive.seekg(start);
            return;
        }
    }
}

// Reads the local header that follows the signature just read, leaves the stream where it was,
// and throws for what POCO's parse would read outside of or stop on with an assertion.
void CheckLocalHeader(std::istream& archive) {
    std::streampos start = archive.tellg();
    std::streamoff headerAt = static_cast<std::streamoff>(start) - kSignatureSize;
    std::string header(kLocalFixedSize, '\0');
    archive.read(header.data(), kLocalFixedSize);
    if (archive) {
        std::size_t variable =
            Get16(header.data() + kLocalNameLength) + Get16(header.data() + kLocalExtraLength);
        header.resize(kLocalFixedSize + variable);
        archive.read(header.data() + kLocalFixedSize, static_cast<std::streamsize>(variable));
    }
    if (!archive) {
        throw DamagedHeader("The archive ends", headerAt);
    }
    Unread(archive, header, start);

    const char* fixed = header.data();
    std::string extra = header.substr(kLocalFixedSize + Get16(fixed + kLocalNameLength));
    auto version = static_cast<unsigned char>(fixed[kLocalVersion]);
    auto hostSystem = static_cast<unsigned char>(fixed[kLocalHostSystem]);
    if (version / 10 > kHighestMajorVersion || hostSystem >= ZipCommon::HS_UNUSED) {
        throw DamagedHeader("Unsupported ZIP version " + std::to_string(version / 10) + "." +
                                std::to_string(version % 10) + " of host system " +
                                std::to_string(hostSystem),
                            headerAt);
    }
    std::uint16_t method = Get16(fixed + kLocalMethod);
    if (method >= ZipCommon::CM_UNUSED) {
        throw DamagedHeader("Unsupported compression method (" + std::to_string(method) + ")",
                            headerAt);
    }
    std::size_t zip64Values =
        (Get32(fixed + kLocalUncompressedSize) == ZipCommon::ZIP64_MAGIC ? 1 : 0) +
        (Get32(fixed + kLocalCompressedSize) == ZipCommon::ZIP64_MAGIC ? 1 : 0);
    if (!Zip64ValuesFit(extra, zip64Values)) {
        throw DamagedHeader("A ZIP64 extra field shorter than its values", headerAt);
    }
}

// Steps over the central directory header that follows the signature just read (through the
// stream's buffer: the headers follow each other closely).
void SkipDirectoryHeader(std::istream& archive) {
    char fixed[kDirectoryFixedSize];
    archive.read(fixed, kDirectoryFixedSize);
    if (archive) {
        archive.ignore(Get16(fixed + kDirectoryNameLength) + Get16(fixed + kDirectoryExtraLength) +
                       Get16(fixed + kDirectoryCommentLength));
    }
}

}  // namespace

int WalkArchive(std::istream& archive, Poco::Zip::ParseCallback& entries) {
    int directoryHeaders = 0;
    // Bytes that are no record are stepped over once, to the next signature (a self-extracting
    // stub before the first entry); a second unknown record in a row ends the walk.
    bool synced = false;
    while (archive.good()) {
        char signature[kSignatureSize] = {};
        archive.read(signature, kSignatureSize);
        if (archive.eof()) {
            break;
        }
        Record record = Identify(signature);
        if (record == Record::LocalHeader) {
            CheckLocalHeader(archive);
            Poco::Zip::ZipLocalFileHeader entry(archive, true, entries);
        } else if (record == Record::DirectoryHeader) {
            SkipDirectoryHeader(archive);
            ++directoryHeaders;
        } else if (record == Record::DirectoryEnd) {
            break;
        } else if (synced) {
            std::streamoff recordAt = static_cast<std::streamoff>(archive.tellg()) - kSignatureSize;
            throw Poco::Zip::ZipException("Illegal header in zip file at byte " +
                                          std::to_string(recordAt));
        } else {
            Poco::Zip::ZipUtil::sync(archive);
        }
        synced = record == Record::Unknown;
    }
    return directoryHeaders;
}

}  // namespace LauncherLib
