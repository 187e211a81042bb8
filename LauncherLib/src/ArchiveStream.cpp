#include "ArchiveStream.h"

#include "plat/files.h"

namespace LauncherLib {

ArchiveStream::ArchiveStream(const std::string& zipfile, std::size_t bufferSize)
    : buffer(new char[bufferSize]) {
    stream.rdbuf()->pubsetbuf(buffer.get(), static_cast<std::streamsize>(bufferSize));
    stream.open(plat::HostPath(zipfile.c_str()), std::ios::in | std::ios::binary);
}

}  // namespace LauncherLib
