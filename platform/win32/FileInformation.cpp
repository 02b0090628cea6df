// Sizes and file times through the real API; FileTime and SystemTime are laid
// out as FILETIME and SYSTEMTIME.

#include "platform/FileInformation.h"

#include <windows.h>
// windows.h maps this name to its wide or narrow function; ours is neither.
#undef GetCompressedFileSize

#include <cstddef>
#include <string>

namespace platform {
namespace {

static_assert(sizeof(FileTime) == sizeof(FILETIME), "FILETIME");
static_assert(offsetof(FileTime, dwLowDateTime) == offsetof(FILETIME, dwLowDateTime), "low");
static_assert(offsetof(FileTime, dwHighDateTime) == offsetof(FILETIME, dwHighDateTime), "high");
static_assert(sizeof(SystemTime) == sizeof(SYSTEMTIME), "SYSTEMTIME");
static_assert(offsetof(SystemTime, wYear) == offsetof(SYSTEMTIME, wYear), "wYear");
static_assert(offsetof(SystemTime, wMonth) == offsetof(SYSTEMTIME, wMonth), "wMonth");
static_assert(offsetof(SystemTime, wDayOfWeek) == offsetof(SYSTEMTIME, wDayOfWeek), "wDayOfWeek");
static_assert(offsetof(SystemTime, wDay) == offsetof(SYSTEMTIME, wDay), "wDay");
static_assert(offsetof(SystemTime, wHour) == offsetof(SYSTEMTIME, wHour), "wHour");
static_assert(offsetof(SystemTime, wMinute) == offsetof(SYSTEMTIME, wMinute), "wMinute");
static_assert(offsetof(SystemTime, wSecond) == offsetof(SYSTEMTIME, wSecond), "wSecond");
static_assert(offsetof(SystemTime, wMilliseconds) == offsetof(SYSTEMTIME, wMilliseconds),
              "wMilliseconds");

}  // namespace

uint32_t GetCompressedFileSizeOf(const FindData&, std::u16string_view path, uint32_t* high) {
    return GetCompressedFileSize(path, high);
}

uint32_t GetCompressedFileSize(std::u16string_view path, uint32_t* high) {
    const std::wstring terminated(path.begin(), path.end());
    static_assert(sizeof(DWORD) == sizeof(uint32_t), "DWORD");
    return ::GetCompressedFileSizeW(terminated.c_str(), reinterpret_cast<DWORD*>(high));
}

uint32_t LastErrorCode() {
    return GetLastError();
}

bool FileTimeToLocalFileTime(const FileTime& utc, FileTime& local) {
    return ::FileTimeToLocalFileTime(reinterpret_cast<const FILETIME*>(&utc),
                                     reinterpret_cast<FILETIME*>(&local)) != FALSE;
}

bool FileTimeToSystemTime(const FileTime& time, SystemTime& fields) {
    return ::FileTimeToSystemTime(reinterpret_cast<const FILETIME*>(&time),
                                  reinterpret_cast<SYSTEMTIME*>(&fields)) != FALSE;
}

}  // namespace platform
