// Movable memory blocks named by a handle, as data exchanged between programs (a dragged text)
// travels: the block is locked to reach its bytes and freed by whoever owns it.
#pragma once

#include <cstddef>

#include "plat/types.h"

namespace plat {

using HGLOBAL = void*;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// A block of `bytes` bytes, zeroed with GMEM_ZEROINIT; null when there is no memory.
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
// The block's bytes, null for a null handle. Every lock is paired with GlobalUnlock.
void* GlobalLock(HGLOBAL block);
// TRUE while the block stays locked by earlier locks.
BOOL GlobalUnlock(HGLOBAL block);
std::size_t GlobalSize(HGLOBAL block);
// Null when freed, the handle again when it could not be.
HGLOBAL GlobalFree(HGLOBAL block);

}  // namespace plat
