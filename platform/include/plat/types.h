// Basic Windows integer types and constants, with their documented sizes and values.
#pragma once

#include <cstdint>

namespace plat {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using BOOL = int;
using ULONGLONG = std::uint64_t;

// A native window; null means none.
using HWND = struct HWND__*;
using HINSTANCE = struct HINSTANCE__*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

}  // namespace plat
