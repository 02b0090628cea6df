// Dates, times and their texts in the user's locale (base utility library).
#pragma once

#include <cstdint>

#include "runtime/SWCharString.h"

struct SDate {
    SDate(int16_t year, uint8_t month, uint8_t day) : year(year), month(month), day(day) {}
    int16_t year;
    uint8_t month;
    uint8_t day;
};

enum class STimeZone { TZ_Local, TZ_UTC };

struct STime {
    STime(uint8_t hour, uint8_t minute, uint8_t second, uint16_t milliseconds,
          STimeZone zone = STimeZone::TZ_Local)
        : hour(hour), minute(minute), second(second), milliseconds(milliseconds), zone(zone) {}
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
    uint16_t milliseconds;
    STimeZone zone;
};

// The locale identifier of the user's default locale.
constexpr uint32_t kUserDefaultLcid = 1024;
