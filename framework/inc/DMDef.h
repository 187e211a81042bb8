// The framework's basic vocabulary: result codes, the wide string, widget handles and the
// layout markers.
#pragma once

#include <cstdint>
#include <string>

#include "plat/types.h"

namespace DM {

using plat::BYTE;
using plat::COLORREF;
using plat::DWORD;
using plat::HINSTANCE;
using plat::HWND;
using plat::LONG;
using plat::LPARAM;
using plat::LRESULT;
using plat::POINT;
using plat::RECT;
using plat::SIZE;
using plat::UINT;
using plat::WPARAM;

// The framework's wide string, with value semantics.
using DMStringT = std::wstring;

// Result codes of the framework's operations.
using DMCode = int;
constexpr DMCode DM_ECODE_OK = 0;
constexpr DMCode DM_ECODE_FAIL = 1;
constexpr DMCode DM_ECODE_NOTIMPL = 5;
constexpr DMCode DM_ECODE_SMALLBUF = 6;
constexpr DMCode DM_ECODE_NOXMLLOAD = 200;
constexpr DMCode DM_ECODE_NOLOOP = 301;
constexpr DMCode DM_ECODE_REGISTERED = 400;
constexpr DMCode DM_ECODE_NONAME = 401;
constexpr DMCode DM_ECODE_NOREG = 402;
constexpr DMCode DM_ECODE_ISDEFAULT = 403;

// Result codes of attribute handlers: what the object has to do after an attribute changed.
constexpr DMCode DMATTR_OK = 0;
constexpr DMCode DMATTR_FAIL = 1;
constexpr DMCode DMATTR_PAINT = 2;
constexpr DMCode DMATTR_PARENTPAINT = 3;
constexpr DMCode DMATTR_PARENTLAYOUT = 4;

// A widget named process-wide through the widget pool: 1, 2, 3, … and never reused.
using DUIWND = std::uint32_t;

// Widget coordinates: not laid out yet, and not resolved by the current layout pass yet.
constexpr LONG POS_INIT = 0x11000000;
constexpr LONG POS_WAIT = 0x12000000;

// A colour value that means "no colour set".
constexpr std::uint32_t PBGRA_NONE = 0x00FFFFFF;

}  // namespace DM
