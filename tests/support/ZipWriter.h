// Writes ZIP archives byte by byte, so that tests can build the hostile and damaged archives
// that no archiver produces: raw GBK names, names that climb out, wrong CRCs and sizes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vael::test {

struct ZipEntry {
    std::string name;  // raw bytes as stored; a trailing "/" makes a folder entry
    std::string data;
    bool deflate = false;
    bool dataDescriptor = false;  // sizes and CRC after the data instead of in the header
    bool corruptCrc = false;      // the stored CRC is off by one
    std::int64_t sizeError = 0;   // added to the stored uncompressed size
    bool damagedData = false;     // the compressed bytes are not valid deflate data
    std::uint16_t method = 0;     // a method other than stored/deflate when non-zero
    std::uint16_t flags = 0;      // further general-purpose flags, such as 0x800 (UTF-8 name)
    std::string extra;            // the extra field, in the local header and the directory
};

// The archive's bytes: local entries, then the central directory, then its end record.
std::string BuildZip(const std::vector<ZipEntry>& entries);
void WriteZip(const std::filesystem::path& path, const std::vector<ZipEntry>& entries);

}  // namespace vael::test
