// An archive opened for reading as a binary stream without share restrictions, with a read
// buffer of the given size.
#pragma once

#include <cstddef>
#include <fstream>
#include <memory>
#include <string>

namespace LauncherLib {

class ArchiveStream {
public:
    // `zipfile` is the archive's path as the launcher names it (GBK Windows path).
    ArchiveStream(const std::string& zipfile, std::size_t bufferSize);
    bool IsOpen() const { return stream.is_open(); }
    std::ifstream& Get() { return stream; }

private:
    std::unique_ptr<char[]> buffer;
    std::ifstream stream;
};

}  // namespace LauncherLib
