// The CRC-32 of ZIP entries (reflected IEEE polynomial, as zlib's crc32), computed with ISA-L.
#pragma once

#include <isa-l/crc.h>

#include <cstddef>
#include <cstdint>

namespace LauncherLib {

inline std::uint32_t UpdateCrc32(std::uint32_t crc, const char* data, std::size_t size) {
    return crc32_gzip_refl(crc, reinterpret_cast<const unsigned char*>(data), size);
}

}  // namespace LauncherLib
