// Basic Windows integer types and constants, with their documented sizes and values.
#pragma once

#include <cstdint>

namespace plat {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using SHORT = std::int16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using BOOL = int;
using ULONGLONG = std::uint64_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
// Red in the low byte, then green, then blue.
using COLORREF = std::uint32_t;

// A native window; null means none.
using HWND = struct HWND__*;
using HINSTANCE = struct HINSTANCE__*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

// A numeric id passed where a resource or cursor name is expected.
inline const wchar_t* MAKEINTRESOURCEW(std::uintptr_t id) {
    return reinterpret_cast<const wchar_t*>(id);
}
inline bool IS_INTRESOURCE(const wchar_t* name) {
    return reinterpret_cast<std::uintptr_t>(name) <= 0xFFFF;
}

constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
    return static_cast<COLORREF>(red) | static_cast<COLORREF>(green) << 8 |
           static_cast<COLORREF>(blue) << 16;
}

}  // namespace plat
