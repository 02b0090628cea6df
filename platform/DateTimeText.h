// Date and time texts in the user's default locale.
//
// Windows: GetDateFormatEx (short date) and GetTimeFormatEx. POSIX: ICU in
// the locale of LC_ALL, else LC_TIME, else LANG ("C", "POSIX" or none mean
// en_US): the short date with a four-digit year ("1/1/1970") and the medium
// time style ("1:02:03 PM").
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Years are numbered without a year 0 (-1 is 1 BC); the Julian calendar
// applies before 15 October 1582. Empty when the date cannot be formatted.
std::u16string FormatUserShortDate(int32_t year, uint32_t month, uint32_t day);
std::u16string FormatUserTime(uint32_t hour, uint32_t minute, uint32_t second,
                              uint32_t milliseconds);

}  // namespace platform
