// The version resource of an executable file (RT_VERSION), read and queried
// the way GetFileVersionInfoSizeW, GetFileVersionInfoW and VerQueryValueW do.
//
// Windows: the real functions. POSIX: our own reader of the PE resource
// section (PE32 and PE32+), which answers the same queries with the same
// results.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/ContentFile.h"

namespace platform {

// GetFileVersionInfoSizeW: the size of the block that GetFileVersionInfo
// fills (twice the resource's size plus 4), or 0 when the file has no version
// resource or cannot be read. `handle` is set to 0.
uint32_t FileVersionInfoSize(std::u16string_view path, uint32_t* handle);

// GetFileVersionInfoW: copies the version information into `block` (at most
// `size` bytes); false when the file has none or cannot be read.
bool ReadFileVersionInfo(std::u16string_view path, uint32_t handle, uint32_t size, void* block);

// The two above on a file already opened: what they give for its path.
uint32_t FileVersionInfoSize(ContentFile& file, uint32_t* handle);
bool ReadFileVersionInfo(ContentFile& file, uint32_t handle, uint32_t size, void* block);

// VerQueryValueW on a block that GetFileVersionInfo filled. `subBlock` is a
// path of names separated by backslashes ("\" the fixed information,
// "\VarFileInfo\Translation", "\StringFileInfo\040904b0\CompanyName"), compared
// without regard to case. On success `value` points into the block and
// `length` is the value's length: characters including the NUL for a string,
// bytes otherwise, 0 for a block that only holds others.
bool QueryVersionValue(const void* block, const char16_t* subBlock, const void** value,
                       uint32_t* length);

// VS_FIXEDFILEINFO, the value of "\".
struct FixedFileInfo {
    uint32_t dwSignature;  // 0xFEEF04BD
    uint32_t dwStrucVersion;
    uint32_t dwFileVersionMS;
    uint32_t dwFileVersionLS;
    uint32_t dwProductVersionMS;
    uint32_t dwProductVersionLS;
    uint32_t dwFileFlagsMask;
    uint32_t dwFileFlags;
    uint32_t dwFileOS;
    uint32_t dwFileType;
    uint32_t dwFileSubtype;
    uint32_t dwFileDateMS;
    uint32_t dwFileDateLS;
};
static_assert(sizeof(FixedFileInfo) == 52, "VS_FIXEDFILEINFO is 52 bytes");

}  // namespace platform
