#include "ZipEntryReader.h"

#include <Poco/Zip/ZipException.h>

#include <cstring>

namespace LauncherLib {
namespace {

constexpr std::size_t kInputSize = 64 * 1024;
constexpr char kDescriptorSignature[] = {'P', 'K', '\x07', '\x08'};

std::uint32_t Little32(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

}  // namespace

ZipEntryReader::ZipEntryReader(std::istream& archive, const Poco::Zip::ZipLocalFileHeader& header)
    : archive(archive),
      header(header),
      deflated(header.getCompressionMethod() == Poco::Zip::ZipCommon::CM_DEFLATE) {
    if (deflated) {
        input.reset(new char[kInputSize]);
        if (inflateInit2(&inflater, -MAX_WBITS) != Z_OK) {
            throw Poco::Zip::ZipException("Cannot start inflating", header.getFileName());
        }
    } else if (header.searchCRCAndSizesAfterData()) {
        pocoStream = std::make_unique<Poco::Zip::ZipInputStream>(archive, header, false);
    } else {
        storedLeft = header.getCompressedSize();
    }
}

ZipEntryReader::~ZipEntryReader() {
    if (deflated) {
        inflateEnd(&inflater);
    }
}

std::size_t ZipEntryReader::Read(char* out, std::size_t size) {
    if (pocoStream) {
        return ReadThroughPoco(out, size);
    }
    if (finished || size == 0) {
        return 0;
    }
    std::size_t count = deflated ? ReadDeflated(out, size) : ReadStored(out, size);
    crc = static_cast<std::uint32_t>(crc32_z(crc, reinterpret_cast<const Bytef*>(out), count));
    if (finished) {
        Finish();
    }
    return count;
}

std::size_t ZipEntryReader::ReadStored(char* out, std::size_t size) {
    auto wanted = static_cast<std::streamsize>(std::min<std::uint64_t>(size, storedLeft));
    archive.read(out, wanted);
    if (archive.gcount() != wanted) {
        throw Poco::Zip::ZipException("The archive ends inside the entry", header.getFileName());
    }
    storedLeft -= static_cast<std::uint64_t>(wanted);
    finished = storedLeft == 0;
    return static_cast<std::size_t>(wanted);
}

std::size_t ZipEntryReader::ReadThroughPoco(char* out, std::size_t size) {
    pocoStream->read(out, static_cast<std::streamsize>(size));
    if (pocoStream->bad()) {
        throw Poco::Zip::ZipException("The entry's data is damaged", header.getFileName());
    }
    return static_cast<std::size_t>(pocoStream->gcount());
}

std::size_t ZipEntryReader::ReadDeflated(char* out, std::size_t size) {
    inflater.next_out = reinterpret_cast<Bytef*>(out);
    inflater.avail_out = static_cast<uInt>(size);
    while (inflater.avail_out > 0 && !finished) {
        if (inflater.avail_in == 0) {
            archive.read(input.get(), kInputSize);
            if (archive.gcount() == 0) {
                throw Poco::Zip::ZipException("The archive ends inside the entry",
                                              header.getFileName());
            }
            inflater.next_in = reinterpret_cast<Bytef*>(input.get());
            inflater.avail_in = static_cast<uInt>(archive.gcount());
        }
        int status = inflate(&inflater, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            finished = true;
        } else if (status != Z_OK) {
            PutBackReadAhead();
            throw Poco::Zip::ZipException("The entry's compressed data is damaged",
                                          header.getFileName());
        }
    }
    return size - inflater.avail_out;
}

// Puts back what was read beyond the entry's data, and takes the recorded CRC from the data
// descriptor when the entry has one.
void ZipEntryReader::Finish() {
    if (deflated) {
        PutBackReadAhead();
    }
    expectedCrc = header.searchCRCAndSizesAfterData() ? RecordedCrc() : header.getCRC();
}

// The input is read in large blocks; what inflate has not consumed goes back to the archive.
void ZipEntryReader::PutBackReadAhead() {
    archive.clear();
    archive.seekg(-static_cast<std::streamoff>(inflater.avail_in), std::ios::cur);
    inflater.avail_in = 0;
}

std::uint32_t ZipEntryReader::RecordedCrc() {
    std::streampos dataEnd = archive.tellg();
    unsigned char descriptor[8] = {};
    archive.read(reinterpret_cast<char*>(descriptor), sizeof descriptor);
    archive.clear();
    archive.seekg(dataEnd);
    bool signed_ = std::memcmp(descriptor, kDescriptorSignature, 4) == 0;
    return Little32(signed_ ? descriptor + 4 : descriptor);
}

bool ZipEntryReader::CrcValid() const {
    if (pocoStream) {
        return pocoStream->crcValid();
    }
    return finished && crc == expectedCrc;
}

}  // namespace LauncherLib
