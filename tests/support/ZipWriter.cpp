#include "ZipWriter.h"

#include <zlib.h>

#include <fstream>
#include <stdexcept>

namespace vael::test {
namespace {

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::string RawDeflate(const std::string& data) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw std::runtime_error("deflateInit2 failed");
    }
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

struct Stored {
    std::uint16_t method;
    std::uint16_t flags;
    std::uint32_t crc;
    std::uint32_t compressedSize;
    std::uint32_t size;
    std::uint32_t offset;
};

void PutCommonFields(std::string& out, const ZipEntry& entry, const Stored& s, bool inHeader) {
    Put16(out, 20);  // version needed
    Put16(out, s.flags);
    Put16(out, s.method);
    Put16(out, 0);     // time
    Put16(out, 0x21);  // date
    Put32(out, inHeader ? s.crc : 0);
    Put32(out, inHeader ? s.compressedSize : 0);
    Put32(out, inHeader ? s.size : 0);
    Put16(out, static_cast<std::uint32_t>(entry.name.size()));
    Put16(out, static_cast<std::uint32_t>(entry.extra.size()));
}

}  // namespace

std::string BuildZip(const std::vector<ZipEntry>& entries) {
    std::string out;
    std::string directory;
    for (const ZipEntry& entry : entries) {
        std::string payload = entry.deflate ? RawDeflate(entry.data) : entry.data;
        if (entry.damagedData) {
            payload.assign(payload.size(), '\xFF');  // a block of the reserved type
        }
        Stored s{};
        s.method = entry.method ? entry.method : (entry.deflate ? 8 : 0);
        s.flags = static_cast<std::uint16_t>((entry.dataDescriptor ? 0x8 : 0) | entry.flags);
        s.crc =
            static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()),
                                             static_cast<uInt>(entry.data.size())) +
                                       (entry.corruptCrc ? 1 : 0));
        s.compressedSize = static_cast<std::uint32_t>(payload.size());
        s.size = static_cast<std::uint32_t>(static_cast<std::int64_t>(entry.data.size()) +
                                            entry.sizeError);
        s.offset = static_cast<std::uint32_t>(out.size());

        Put32(out, 0x04034b50);
        PutCommonFields(out, entry, s, !entry.dataDescriptor);
        out += entry.name;
        out += entry.extra;
        out += payload;
        if (entry.dataDescriptor) {
            Put32(out, 0x08074b50);
            Put32(out, s.crc);
            Put32(out, s.compressedSize);
            Put32(out, s.size);
        }

        Put32(directory, 0x02014b50);
        Put16(directory, 20);  // version made by
        PutCommonFields(directory, entry, s, true);
        Put16(directory, 0);  // comment length
        Put16(directory, 0);  // disk number
        Put16(directory, 0);  // internal attributes
        Put32(directory, entry.name.ends_with('/') ? 0x10 : 0);
        Put32(directory, s.offset);
        directory += entry.name;
        directory += entry.extra;
    }
    auto directoryOffset = static_cast<std::uint32_t>(out.size());
    out += directory;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put32(out, static_cast<std::uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);
    return out;
}

void WriteZip(const std::filesystem::path& path, const std::vector<ZipEntry>& entries) {
    std::ofstream(path, std::ios::binary) << BuildZip(entries);
}

}  // namespace vael::test
