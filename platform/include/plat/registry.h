// The registry below HKEY_LOCAL_MACHINE, kept in a file of the prefix. Keys are paths
// compared without regard to case; values keep their type and bytes. String data of the wide
// functions is wchar_t text whose sizes count UTF-16 bytes, as on Windows.
#pragma once

#include <cstdint>

#include "plat/files.h"
#include "plat/types.h"

namespace plat {

using HKEY = struct HKEY__*;
using LSTATUS = LONG;

inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr DWORD KEY_QUERY_VALUE = 0x0001;
constexpr DWORD KEY_SET_VALUE = 0x0002;
constexpr DWORD KEY_CREATE_SUB_KEY = 0x0004;
constexpr DWORD KEY_READ = 0x20019;
constexpr DWORD KEY_WRITE = 0x20006;
constexpr DWORD KEY_ALL_ACCESS = 0xF003F;

constexpr LSTATUS ERROR_MORE_DATA = 234;
constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
constexpr LSTATUS ERROR_WRITE_FAULT = 29;

// Opens an existing key; ERROR_FILE_NOT_FOUND (2) when it is not there.
LSTATUS RegOpenKeyExW(HKEY key, const wchar_t* subKey, DWORD options, DWORD access, HKEY* result);
// Opens a key, creating it and its missing parents.
LSTATUS RegCreateKeyW(HKEY key, const wchar_t* subKey, HKEY* result);
LSTATUS RegSetValueExW(HKEY key, const wchar_t* name, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size);
// `size` in: the room at `data` in bytes (UTF-16 bytes for strings); out: the value's size.
LSTATUS RegQueryValueExW(HKEY key, const wchar_t* name, DWORD* reserved, DWORD* type, BYTE* data,
                         DWORD* size);
LSTATUS RegCloseKey(HKEY key);

}  // namespace plat
