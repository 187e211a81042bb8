#include "ZipEntryRangeReader.h"

#include <Poco/Zip/ZipException.h>

#include <algorithm>

#include "Crc32.h"

namespace LauncherLib {
namespace {

constexpr std::size_t kInputSize = 256 * 1024;

}  // namespace

ZipEntryRangeReader::ZipEntryRangeReader(std::istream& archive,
                                         const Poco::Zip::ZipLocalFileHeader& header)
    : archive(archive),
      header(header),
      deflated(header.getCompressionMethod() == Poco::Zip::ZipCommon::CM_DEFLATE),
      compressedLeft(header.getCompressedSize()) {
    archive.clear();
    archive.seekg(header.getDataStartPos());
    if (deflated) {
        inflater = std::make_unique<inflate_state>();
        isal_inflate_init(inflater.get());
        inflater->crc_flag = ISAL_DEFLATE;
        input.reset(new char[kInputSize]);
    }
}

std::size_t ZipEntryRangeReader::Read(char* out, std::size_t size) {
    if (finished || size == 0) {
        return 0;
    }
    std::size_t count = deflated ? ReadDeflated(out, size) : ReadStored(out, size);
    crc = UpdateCrc32(crc, out, count);
    return count;
}

std::size_t ZipEntryRangeReader::ReadStored(char* out, std::size_t size) {
    std::size_t count =
        ReadArchive(out, static_cast<std::size_t>(std::min<std::uint64_t>(size, compressedLeft)));
    finished = compressedLeft == 0;
    return count;
}

std::size_t ZipEntryRangeReader::ReadDeflated(char* out, std::size_t size) {
    inflater->next_out = reinterpret_cast<std::uint8_t*>(out);
    inflater->avail_out = static_cast<std::uint32_t>(std::min<std::size_t>(size, UINT32_MAX));
    std::uint32_t wanted = inflater->avail_out;
    while (inflater->avail_out > 0 && !finished) {
        bool inputLeft = inflater->avail_in > 0 || compressedLeft > 0;
        if (inflater->avail_in == 0 && compressedLeft > 0) {
            FillInput();
        }
        std::uint32_t before = inflater->avail_out;
        if (isal_inflate(inflater.get()) != ISAL_DECOMP_OK) {
            throw Poco::Zip::ZipException("The entry's compressed data is damaged",
                                          header.getFileName());
        }
        finished = inflater->block_state == ISAL_BLOCK_FINISH;
        // Without input, a call that writes nothing means the data stops before its end.
        if (!finished && !inputLeft && inflater->avail_out == before) {
            throw Poco::Zip::ZipException("The entry's compressed data is damaged",
                                          header.getFileName());
        }
    }
    return wanted - inflater->avail_out;
}

void ZipEntryRangeReader::FillInput() {
    std::size_t count = ReadArchive(
        input.get(), static_cast<std::size_t>(std::min<std::uint64_t>(kInputSize, compressedLeft)));
    inflater->next_in = reinterpret_cast<std::uint8_t*>(input.get());
    inflater->avail_in = static_cast<std::uint32_t>(count);
}

std::size_t ZipEntryRangeReader::ReadArchive(char* out, std::size_t size) {
    archive.read(out, static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(archive.gcount()) != size) {
        throw Poco::Zip::ZipException("The archive ends inside the entry", header.getFileName());
    }
    compressedLeft -= size;
    return size;
}

bool ZipEntryRangeReader::CrcValid() const {
    return finished && crc == header.getCRC();
}

}  // namespace LauncherLib
