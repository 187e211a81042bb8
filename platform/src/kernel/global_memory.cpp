#include "plat/global_memory.h"

#include <new>
#include <vector>

namespace plat {
namespace {

struct Block {
    std::vector<std::byte> bytes;
    int locks = 0;
};

Block* BlockOf(HGLOBAL handle) {
    return static_cast<Block*>(handle);
}

}  // namespace

HGLOBAL GlobalAlloc(UINT, std::size_t bytes) {
    auto* block = new (std::nothrow) Block;
    if (!block) {
        return nullptr;
    }
    try {
        block->bytes.resize(bytes);
    } catch (const std::bad_alloc&) {
        delete block;
        return nullptr;
    }
    return block;
}

void* GlobalLock(HGLOBAL handle) {
    Block* block = BlockOf(handle);
    if (!block) {
        return nullptr;
    }
    ++block->locks;
    return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL handle) {
    Block* block = BlockOf(handle);
    if (!block || block->locks == 0) {
        return FALSE;
    }
    --block->locks;
    return block->locks > 0 ? TRUE : FALSE;
}

std::size_t GlobalSize(HGLOBAL handle) {
    Block* block = BlockOf(handle);
    return block ? block->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
    delete BlockOf(handle);
    return nullptr;
}

}  // namespace plat
