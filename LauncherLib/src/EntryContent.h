// The content of one archive entry, read block by block; after the end it tells whether the
// content's CRC-32 is the one the entry records.
#pragma once

#include <cstddef>

namespace LauncherLib {

class EntryContent {
public:
    virtual ~EntryContent() = default;

    // Up to `size` bytes of the entry's content; 0 at its end. Throws Poco::Zip::ZipException
    // when the data is damaged or the archive ends early.
    virtual std::size_t Read(char* out, std::size_t size) = 0;
    virtual bool CrcValid() const = 0;
};

}  // namespace LauncherLib
