// Allocated sizes and file-time conversions with Windows' calling
// conventions: a thread-local last error, FILETIME ticks since 1601.

#include "platform/FileInformation.h"

#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <string>

#include "platform/PathSplit.h"
#include "platform/TextEncoding.h"
#include "platform/posix/AllocatedBytes.h"

namespace platform {
namespace {

constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidParameter = 87;

constexpr uint64_t kTicksPerMillisecond = 10000;
constexpr uint64_t kTicksPerSecond = 10000000;
constexpr uint64_t kTicksPerDay = 86400 * kTicksPerSecond;
constexpr int64_t kSecondsFrom1601To1970 = 11644473600;

thread_local uint32_t lastError = kErrorSuccess;

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Windows tells a missing file (its folder exists) from a missing folder.
uint32_t ErrorFor(int error, std::u16string_view path) {
    switch (error) {
        case ENOENT: {
            size_t separator = path.size();
            while (separator > 0 && !IsPathSeparator(path[separator - 1])) {
                --separator;
            }
            const std::string folder =
                separator == 0 ? std::string(".") : Utf16ToUtf8(path.substr(0, separator));
            return Exists(folder) ? kErrorFileNotFound : kErrorPathNotFound;
        }
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return kErrorPathNotFound;
        case EACCES:
        case EPERM:
            return kErrorAccessDenied;
        default:
            return kErrorFileNotFound;
    }
}

uint64_t Ticks(const FileTime& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FileTime FromTicks(uint64_t ticks) {
    return FileTime{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

bool IsLeapYear(uint32_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

uint32_t GetCompressedFileSize(std::u16string_view path, uint32_t* high) {
    const std::string bytes = Utf16ToUtf8(path);
    struct stat st;
    if (bytes.empty() || bytes.find('\0') != std::string::npos) {
        lastError = bytes.empty() ? kErrorPathNotFound : kErrorFileNotFound;
        return 0xFFFFFFFF;
    }
    if (stat(bytes.c_str(), &st) != 0) {
        lastError = ErrorFor(errno, path);
        return 0xFFFFFFFF;
    }
    const uint64_t allocated = static_cast<uint64_t>(st.st_blocks) * 512;
    if (high != nullptr) {
        *high = static_cast<uint32_t>(allocated >> 32);
    }
    lastError = kErrorSuccess;
    return static_cast<uint32_t>(allocated);
}

uint32_t GetCompressedFileSizeOf(const FindData& found, std::u16string_view path, uint32_t* high) {
    uint64_t allocated = 0;
    if (!AllocatedBytesOf(found, allocated))
        return GetCompressedFileSize(path, high);
    if (high != nullptr)
        *high = static_cast<uint32_t>(allocated >> 32);
    lastError = kErrorSuccess;
    return static_cast<uint32_t>(allocated);
}

uint32_t LastErrorCode() {
    return lastError;
}

bool FileTimeToLocalFileTime(const FileTime& utc, FileTime& local) {
    const uint64_t ticks = Ticks(utc);
    const time_t seconds =
        static_cast<time_t>(static_cast<int64_t>(ticks / kTicksPerSecond) - kSecondsFrom1601To1970);
    struct tm fields;
    if (localtime_r(&seconds, &fields) == nullptr) {
        return false;
    }
    // Wraps around past either end, as Windows does.
    const uint64_t offset =
        static_cast<uint64_t>(static_cast<int64_t>(fields.tm_gmtoff)) * kTicksPerSecond;
    local = FromTicks(ticks + offset);
    return true;
}

bool FileTimeToSystemTime(const FileTime& time, SystemTime& fields) {
    const uint64_t ticks = Ticks(time);
    if (ticks >= 0x8000000000000000ULL) {
        lastError = kErrorInvalidParameter;
        return false;
    }
    uint64_t days = ticks / kTicksPerDay;
    const uint64_t ofDay = ticks % kTicksPerDay;

    SystemTime result;
    result.wDayOfWeek = static_cast<uint16_t>((days + 1) % 7);  // 1601-01-01 was a Monday
    result.wHour = static_cast<uint16_t>(ofDay / (3600 * kTicksPerSecond));
    result.wMinute = static_cast<uint16_t>(ofDay / (60 * kTicksPerSecond) % 60);
    result.wSecond = static_cast<uint16_t>(ofDay / kTicksPerSecond % 60);
    result.wMilliseconds = static_cast<uint16_t>(ofDay / kTicksPerMillisecond % 1000);

    // 1601 begins a 400-year Gregorian cycle; peel off cycles, centuries,
    // four-year spans and years.
    uint64_t year = 1601 + 400 * (days / 146097);
    days %= 146097;
    const uint64_t centuries = days / 36524 < 3 ? days / 36524 : 3;
    year += 100 * centuries;
    days -= 36524 * centuries;
    year += 4 * (days / 1461);
    days %= 1461;
    const uint64_t years = days / 365 < 3 ? days / 365 : 3;
    year += years;
    days -= 365 * years;

    static const uint16_t kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    uint16_t month = 0;
    for (; month < 12; ++month) {
        const uint64_t length =
            kMonthDays[month] + (month == 1 && IsLeapYear(static_cast<uint32_t>(year)) ? 1 : 0);
        if (days < length) {
            break;
        }
        days -= length;
    }
    result.wYear = static_cast<uint16_t>(year);
    result.wMonth = static_cast<uint16_t>(month + 1);
    result.wDay = static_cast<uint16_t>(days + 1);
    fields = result;
    return true;
}

}  // namespace platform
