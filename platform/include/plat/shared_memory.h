// Named shared memory: sections that processes create or open by name and map as views, on
// POSIX shared memory under the same names (characters outside A-Z, a-z, 0-9, '_', '-' and
// '.' are written as %XX of their UTF-8 bytes). A name lasts while the process that created
// it keeps a handle or a view of the section; every mapped view lasts until it is unmapped.
#pragma once

#include <cstddef>

#include "plat/kernel_handle.h"
#include "plat/types.h"

namespace plat {

constexpr DWORD PAGE_READWRITE = 0x04;

constexpr DWORD FILE_MAP_WRITE = 0x0002;
constexpr DWORD FILE_MAP_READ = 0x0004;
constexpr DWORD FILE_MAP_ALL_ACCESS = 0x000F001F;

// Views start at multiples of this many bytes.
constexpr DWORD kAllocationGranularity = 65536;

constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_INVALID_ADDRESS = 487;
constexpr DWORD ERROR_MAPPED_ALIGNMENT = 1132;

// A section of the given size in memory (`file` must be INVALID_HANDLE_VALUE; `protect` is
// PAGE_READWRITE); `name` null makes one no other process can open. When the name exists the
// handle is to that section, whatever its size, and the last error is ERROR_ALREADY_EXISTS;
// otherwise it is ERROR_SUCCESS. Null on failure: ERROR_INVALID_PARAMETER (87) for a size of 0
// or another kind of section.
HANDLE CreateFileMappingW(HANDLE file, void* securityAttributes, DWORD protect, DWORD sizeHigh,
                          DWORD sizeLow, const wchar_t* name);
// The existing section of that name; null with ERROR_FILE_NOT_FOUND when there is none.
// `access` is FILE_MAP_READ, FILE_MAP_WRITE or FILE_MAP_ALL_ACCESS.
HANDLE OpenFileMappingW(DWORD access, BOOL inheritHandle, const wchar_t* name);
// Maps `bytes` of the section from the offset (0 bytes: up to the section's end). Null on
// failure: ERROR_INVALID_HANDLE (6), ERROR_ACCESS_DENIED for write access through a read-only
// handle or a view beyond the section's end, ERROR_MAPPED_ALIGNMENT for an offset that is no
// multiple of kAllocationGranularity.
void* MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow,
                    std::size_t bytes);
// FALSE with ERROR_INVALID_ADDRESS for an address that is not the start of a view.
BOOL UnmapViewOfFile(const void* view);

}  // namespace plat
