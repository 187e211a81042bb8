// Reads one entry's data straight from the archive stream, which stands at the entry's data:
// stored data is copied, deflated data inflated with zlib's raw inflate, and the CRC-32 of the
// output is kept. At the end the stream stands right after the entry's data, where the archive
// walk expects it (and finds a data descriptor when the entry has one). A stored entry whose
// size is only in a data descriptor has no known end; POCO's entry stream finds it.
#pragma once

#include <zlib.h>

#include <Poco/Zip/ZipLocalFileHeader.h>
#include <Poco/Zip/ZipStream.h>

#include <cstdint>
#include <istream>
#include <memory>

namespace LauncherLib {

class ZipEntryReader {
public:
    ZipEntryReader(std::istream& archive, const Poco::Zip::ZipLocalFileHeader& header);
    ~ZipEntryReader();
    ZipEntryReader(const ZipEntryReader&) = delete;
    ZipEntryReader& operator=(const ZipEntryReader&) = delete;

    // Up to `size` bytes of the entry's content; 0 at its end. Throws Poco::Zip::ZipException
    // when the data is damaged or the archive ends early; after damaged deflated data the
    // stream stands where inflating stopped.
    std::size_t Read(char* out, std::size_t size);

    // After the end: whether the content's CRC-32 is the one the entry records.
    bool CrcValid() const;

private:
    std::size_t ReadStored(char* out, std::size_t size);
    std::size_t ReadThroughPoco(char* out, std::size_t size);
    std::size_t ReadDeflated(char* out, std::size_t size);
    void Finish();
    void PutBackReadAhead();
    std::uint32_t RecordedCrc();

    std::istream& archive;
    const Poco::Zip::ZipLocalFileHeader& header;
    bool deflated;
    bool finished = false;
    std::uint64_t storedLeft = 0;
    std::uint32_t crc = 0;
    std::uint32_t expectedCrc = 0;
    z_stream inflater{};
    std::unique_ptr<char[]> input;
    std::unique_ptr<Poco::Zip::ZipInputStream> pocoStream;
};

}  // namespace LauncherLib
