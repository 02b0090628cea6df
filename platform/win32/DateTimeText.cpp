#include "platform/DateTimeText.h"

#include <windows.h>

namespace platform {
namespace {

// Runs one of the two formatting calls twice: for the length, then the text.
template <typename Format>
std::u16string Formatted(Format format) {
    const int length = format(nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::u16string text(static_cast<size_t>(length), u'\0');
    const int written = format(reinterpret_cast<wchar_t*>(text.data()), length);
    if (written <= 0) {
        return {};
    }
    text.resize(static_cast<size_t>(written - 1));  // without the NUL
    return text;
}

bool IsValidGregorianDate(int32_t year, uint32_t month, uint32_t day) {
    static constexpr uint32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) {
        return false;
    }
    const bool leap = year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace

std::u16string FormatUserShortDate(int32_t year, uint32_t month, uint32_t day) {
    // SYSTEMTIME holds no year before 1601 or after 30827. A day past the
    // end of its month is refused here: Wine moves 29 February of a common
    // year on to 1 March.
    if (year < 1601 || year > 30827 || !IsValidGregorianDate(year, month, day)) {
        return {};
    }
    SYSTEMTIME date = {};
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    return Formatted([&](wchar_t* buffer, int capacity) {
        return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, buffer,
                               capacity, nullptr);
    });
}

std::u16string FormatUserTime(uint32_t hour, uint32_t minute, uint32_t second,
                              uint32_t milliseconds) {
    if (hour > 23 || minute > 59 || second > 59 || milliseconds > 999) {
        return {};
    }
    // Only the time fields are read; the date is any valid one.
    SYSTEMTIME time = {};
    time.wYear = 2000;
    time.wMonth = 1;
    time.wDay = 1;
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    time.wMilliseconds = static_cast<WORD>(milliseconds);
    return Formatted([&](wchar_t* buffer, int capacity) {
        return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, buffer, capacity);
    });
}

}  // namespace platform
