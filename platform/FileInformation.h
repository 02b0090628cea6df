// File sizes and times as Windows reports them.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/FindData.h"

namespace platform {

// GetCompressedFileSizeW: the low 32 bits, the high ones in `high`. On
// failure 0xFFFFFFFF with LastErrorCode() set and `high` untouched. POSIX:
// the allocated bytes (blocks x 512).
uint32_t GetCompressedFileSize(std::u16string_view path, uint32_t* high);

// GetCompressedFileSize of the entry a directory search returned in `found`
// at `path`. POSIX takes the allocated bytes from the search's own statx,
// which it leaves in the find data's reserved words, and asks the file
// system only when the search did not learn them; Windows always asks.
uint32_t GetCompressedFileSizeOf(const FindData& found, std::u16string_view path, uint32_t* high);

// GetLastError of the calling thread after the calls of this header.
uint32_t LastErrorCode();

// A SYSTEMTIME, member for member.
struct SystemTime {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};

// FileTimeToLocalFileTime. Windows applies today's offset from UTC; POSIX
// the offset in force at that instant.
bool FileTimeToLocalFileTime(const FileTime& utc, FileTime& local);
// FileTimeToSystemTime: fails for times at or past 0x8000000000000000.
bool FileTimeToSystemTime(const FileTime& time, SystemTime& fields);

}  // namespace platform
