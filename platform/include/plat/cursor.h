// Mouse cursors: the system shapes by their documented ids, cursors made from a picture, and
// the cursor currently shown.
#pragma once

#include "plat/pixels.h"
#include "plat/types.h"

namespace plat {

using HICON = struct HICON__*;
using HCURSOR = HICON;

// System cursor ids, passed to LoadCursorW as a pointer-sized number.
constexpr std::uintptr_t IDC_ARROW = 32512;
constexpr std::uintptr_t IDC_IBEAM = 32513;
constexpr std::uintptr_t IDC_WAIT = 32514;
constexpr std::uintptr_t IDC_CROSS = 32515;
constexpr std::uintptr_t IDC_UPARROW = 32516;
constexpr std::uintptr_t IDC_SIZE = 32640;
constexpr std::uintptr_t IDC_SIZENWSE = 32642;
constexpr std::uintptr_t IDC_SIZENESW = 32643;
constexpr std::uintptr_t IDC_SIZEWE = 32644;
constexpr std::uintptr_t IDC_SIZENS = 32645;
constexpr std::uintptr_t IDC_SIZEALL = 32646;
constexpr std::uintptr_t IDC_NO = 32648;
constexpr std::uintptr_t IDC_HAND = 32649;
constexpr std::uintptr_t IDC_HELP = 32651;

// With a null instance and a system id: the shared system cursor, the same handle on every
// call. Anything else: null, since the program carries no cursor resources.
HCURSOR LoadCursorW(HINSTANCE instance, const wchar_t* name);

// A cursor showing `picture` (premultiplied BGRA, copied) whose hot spot is `hotSpot` from its
// top-left corner; null for an empty picture. Free it with DestroyCursor.
HCURSOR CreateCursorFromPicture(const PixelBuffer& picture, POINT hotSpot);

// Frees a cursor made from a picture; system cursors are shared and stay.
BOOL DestroyCursor(HCURSOR cursor);

// Shows `cursor` (null hides the pointer) and answers the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

// The system id of a system cursor, 0 for a cursor made from a picture or an unknown handle.
std::uintptr_t SystemCursorId(HCURSOR cursor);

}  // namespace plat
