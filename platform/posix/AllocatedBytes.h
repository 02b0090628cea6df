// The allocated bytes of an entry, as the POSIX directory search learnt them
// from its statx, carried in the find data's reserved words (which Windows
// leaves undefined but for reparse tags, which POSIX does not have): the low
// 32 bits in dwReserved0, the next 31 in dwReserved1 with its top bit set.
#pragma once

#include <cstdint>

#include "platform/FindData.h"

namespace platform {

constexpr uint32_t kAllocatedBytesKnown = 0x80000000u;

inline void SetAllocatedBytes(FindData& data, uint64_t bytes) {
    data.dwReserved0 = static_cast<uint32_t>(bytes);
    data.dwReserved1 = static_cast<uint32_t>(bytes >> 32) | kAllocatedBytesKnown;
}

inline bool AllocatedBytesOf(const FindData& data, uint64_t& bytes) {
    if ((data.dwReserved1 & kAllocatedBytesKnown) == 0)
        return false;
    bytes = (uint64_t{data.dwReserved1 & ~kAllocatedBytesKnown} << 32) | data.dwReserved0;
    return true;
}

}  // namespace platform
