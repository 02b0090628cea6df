// The find data of a directory entry, member for member as Windows'
// WIN32_FIND_DATAW lays it out, and the FILETIME it holds.
#pragma once

#include <cstdint>

namespace platform {

// 100-nanosecond intervals since 1 January 1601 (UTC).
struct FileTime {
    uint32_t dwLowDateTime;
    uint32_t dwHighDateTime;
};

struct FindData {
    uint32_t dwFileAttributes;
    FileTime ftCreationTime;
    FileTime ftLastAccessTime;
    FileTime ftLastWriteTime;
    uint32_t nFileSizeHigh;
    uint32_t nFileSizeLow;
    uint32_t dwReserved0;
    uint32_t dwReserved1;
    char16_t cFileName[260];
    char16_t cAlternateFileName[14];
};
static_assert(sizeof(FindData) == 592, "WIN32_FIND_DATAW's size");

// File attribute bits.
enum : uint32_t {
    kAttributeReadOnly = 0x1,
    kAttributeHidden = 0x2,
    kAttributeSystem = 0x4,
    kAttributeDirectory = 0x10,
    kAttributeArchive = 0x20,
    kAttributeNormal = 0x80,
    kAttributeTemporary = 0x100,
    kAttributeReparsePoint = 0x400,
    kAttributeCompressed = 0x800,
    kAttributeOffline = 0x1000,
};

}  // namespace platform
