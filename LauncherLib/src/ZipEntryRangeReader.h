// Reads one entry whose data has a known place and size in the archive, from a stream of its
// own (so that several entries can be read at once): stored data is copied, deflated data
// inflated with ISA-L's raw inflate, and the CRC-32 of the output is kept. Exactly the entry's
// compressed bytes are read, in large blocks.
#pragma once

#include <isa-l/igzip_lib.h>

#include <Poco/Zip/ZipLocalFileHeader.h>

#include <cstdint>
#include <istream>
#include <memory>

#include "EntryContent.h"

namespace LauncherLib {

class ZipEntryRangeReader : public EntryContent {
public:
    ZipEntryRangeReader(std::istream& archive, const Poco::Zip::ZipLocalFileHeader& header);

    std::size_t Read(char* out, std::size_t size) override;
    bool CrcValid() const override;

private:
    std::size_t ReadStored(char* out, std::size_t size);
    std::size_t ReadDeflated(char* out, std::size_t size);
    void FillInput();
    std::size_t ReadArchive(char* out, std::size_t size);

    std::istream& archive;
    const Poco::Zip::ZipLocalFileHeader& header;
    bool deflated;
    bool finished = false;
    std::uint64_t compressedLeft;
    std::uint32_t crc = 0;
    std::unique_ptr<inflate_state> inflater;
    std::unique_ptr<char[]> input;
};

}  // namespace LauncherLib
