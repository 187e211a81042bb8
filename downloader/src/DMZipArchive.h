// The skin archive's own ZIP reader over zlib's raw inflate: the end record in the last 22
// bytes (so an archive comment is not supported), fewer than 1000 entries, names with "\"
// separators compared without regard to case, stored and deflated entries, and the
// traditional PKWARE encryption.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DMDef.h"

namespace DM {

class DMZipArchive {
public:
    // The archive is read in place: `data` must outlive the reader.
    bool OpenMemory(const void* data, std::size_t size);
    // The file's bytes are kept by the reader.
    bool OpenFile(const DMStringT& path);
    void Close();

    // At most 62 characters; longer passwords are not applied.
    bool SetPassword(const std::string& password);

    // The uncompressed size of the first entry of that path.
    std::optional<std::size_t> EntrySize(const DMStringT& path) const;
    // The entry's bytes: stored or inflated, decrypted when the entry is encrypted and a
    // password is set. Nothing when the entry is missing, damaged or the password is wrong.
    std::optional<std::vector<unsigned char>> ReadEntry(const DMStringT& path) const;

private:
    struct Entry {
        DMStringT name;  // "/" turned into "\"
        std::uint16_t flags;
        std::uint16_t method;
        std::uint32_t crc;
        std::uint32_t compressedSize;
        std::uint32_t uncompressedSize;
        std::uint32_t localHeaderOffset;
    };

    struct LocalEntry {
        std::uint16_t flags;
        std::uint16_t method;
        std::uint16_t modifiedTime;
        std::uint32_t crc;
        std::size_t compressedSize;
        std::size_t uncompressedSize;
        std::size_t dataOffset;
    };

    bool ReadDirectory();
    const Entry* Find(const DMStringT& path) const;
    std::optional<LocalEntry> ReadLocalHeader(const Entry& entry) const;
    bool Decrypt(const LocalEntry& header, std::vector<unsigned char>& data) const;

    std::vector<unsigned char> m_ownedBytes;
    const unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    std::vector<Entry> m_entries;
    std::string m_password;
};

}  // namespace DM
