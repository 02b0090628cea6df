// Windows global memory blocks: GlobalAlloc, GlobalLock, GlobalUnlock,
// GlobalSize and GlobalFree. POSIX: small handle blocks of our own that
// behave the same way for the flags the driver uses.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

using GlobalHandle = void*;

constexpr uint32_t kGlobalMoveable = 0x0002;
constexpr uint32_t kGlobalZeroInit = 0x0040;
constexpr uint32_t kGlobalShare = 0x2000;

// Null when nothing can be allocated.
GlobalHandle GlobalAllocate(uint32_t flags, size_t bytes);
// The block's bytes, or null for a null handle or an empty (discarded) block.
void* GlobalLockBlock(GlobalHandle block);
void GlobalUnlockBlock(GlobalHandle block);
// 0 for a null handle or an empty block.
size_t GlobalBlockSize(GlobalHandle block);
void GlobalFreeBlock(GlobalHandle block);

}  // namespace platform
