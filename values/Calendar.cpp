#include "values/Calendar.h"

#include <cmath>

namespace {

constexpr int32_t kGregorianStart = 15821015;  // 15 October 1582 as yyyymmdd
constexpr int32_t kFirstGregorianDay = 2299160;

int DaysInMonth(int32_t year, uint16_t month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month != 2)
        return kDays[month - 1];
    bool leap = year >= 1582 ? (year % 400 == 0 || (year % 4 == 0 && year % 100 != 0))
                             : (year & 3) == 0;  // negative years by their low bits
    return leap ? 29 : 28;
}

int32_t Truncate(double x) {
    return static_cast<int32_t>(std::trunc(x));
}

}  // namespace

int32_t MakeDateNumber(int16_t year, uint16_t month, uint16_t day) {
    if (year < -4713 || month < 1 || month > 12 || day == 0)
        return -1;
    if (day > DaysInMonth(year, month))
        return -1;

    int32_t jm = month < 3 ? month + 12 : month;
    int32_t jy = year < 0 ? year + 1 : year;
    if (month < 3)
        jy -= 1;

    int32_t correction = 0;
    if (day + 100.0 * jm + 10000.0 * jy >= kGregorianStart) {
        int16_t a = static_cast<int16_t>(jy / 100);
        correction = static_cast<int16_t>(2 - a + a / 4);
    }
    return day + Truncate(365.25 * jy) + Truncate(30.6001 * (jm + 1)) + correction + 1720994;
}

void SplitDateNumber(int32_t date, int16_t& year, uint16_t& month, uint16_t& day) {
    int64_t j = static_cast<int64_t>(date) + 1;
    int64_t a = j;
    if (date >= kFirstGregorianDay) {
        int64_t alpha = static_cast<int64_t>(std::trunc((j - 1867216.25) / 36524.25));
        a = j + 1 + alpha - alpha / 4;
    }
    int64_t b = a >= 1721424 ? a + 1524 : a + 1158;
    int64_t g = static_cast<int64_t>(std::trunc((b - 122.1) / 365.25));
    int64_t d = b - static_cast<int64_t>(std::trunc(365.25 * g));
    int64_t e = static_cast<int64_t>(std::trunc(d / 30.6001));

    day = static_cast<uint16_t>(d - static_cast<int64_t>(std::trunc(30.6001 * e)));
    month = static_cast<uint16_t>(e < 14 ? e - 1 : e - 13);
    int64_t y = g - 4715;
    if (month > 2)
        y -= 1;
    year = static_cast<int16_t>(y);
}

void SplitTimeOfDay(int32_t time, uint16_t& hour, uint16_t& minute, uint16_t& second) {
    second = static_cast<uint16_t>(time - 60 * (time / 60));
    minute = static_cast<uint16_t>((time / 60) - 60 * ((time / 60) / 60));
    hour = static_cast<uint16_t>(time / 3600);
}

DbDateTime DateTimeFromSystemTime(const platform::SystemTime& time) {
    DbDateTime result;
    result.date = MakeDateNumber(static_cast<int16_t>(time.wYear), time.wMonth, time.wDay);
    result.time = time.wHour * 3600 + time.wMinute * 60 + time.wSecond;
    result.nanoseconds = static_cast<uint32_t>(time.wMilliseconds) * 1000000u;
    return result;
}
