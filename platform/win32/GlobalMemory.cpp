#include "platform/GlobalMemory.h"

#include <windows.h>

namespace platform {

GlobalHandle GlobalAllocate(uint32_t flags, size_t bytes) {
    return GlobalAlloc(flags, bytes);
}

void* GlobalLockBlock(GlobalHandle block) {
    return block != nullptr ? GlobalLock(static_cast<HGLOBAL>(block)) : nullptr;
}

void GlobalUnlockBlock(GlobalHandle block) {
    if (block != nullptr)
        GlobalUnlock(static_cast<HGLOBAL>(block));
}

size_t GlobalBlockSize(GlobalHandle block) {
    return block != nullptr ? GlobalSize(static_cast<HGLOBAL>(block)) : 0;
}

void GlobalFreeBlock(GlobalHandle block) {
    if (block != nullptr)
        GlobalFree(static_cast<HGLOBAL>(block));
}

}  // namespace platform
