#include "platform/GlobalMemory.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace platform {
namespace {

// The handle points at this header; the bytes follow it. A moveable block of
// 0 bytes is a "discarded" block: it has a handle but cannot be locked.
struct BlockHeader {
    size_t size;
    uint32_t locks;
    uint32_t flags;
};

constexpr size_t kHeaderBytes = (sizeof(BlockHeader) + 15) & ~size_t{15};

BlockHeader* Header(GlobalHandle block) {
    return static_cast<BlockHeader*>(block);
}

}  // namespace

GlobalHandle GlobalAllocate(uint32_t flags, size_t bytes) {
    if (bytes > SIZE_MAX - kHeaderBytes)
        return nullptr;
    void* memory = std::malloc(kHeaderBytes + bytes);
    if (memory == nullptr)
        return nullptr;
    if (flags & kGlobalZeroInit)
        std::memset(memory, 0, kHeaderBytes + bytes);
    new (memory) BlockHeader{bytes, 0, flags};
    return memory;
}

void* GlobalLockBlock(GlobalHandle block) {
    if (block == nullptr || Header(block)->size == 0)
        return nullptr;
    ++Header(block)->locks;
    return static_cast<unsigned char*>(block) + kHeaderBytes;
}

void GlobalUnlockBlock(GlobalHandle block) {
    if (block != nullptr && Header(block)->locks > 0)
        --Header(block)->locks;
}

size_t GlobalBlockSize(GlobalHandle block) {
    return block != nullptr ? Header(block)->size : 0;
}

void GlobalFreeBlock(GlobalHandle block) {
    std::free(block);
}

}  // namespace platform
