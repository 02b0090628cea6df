// Locale services of the base utility library.
#pragma once

#include <cstdint>

#include "runtime/DateTime.h"
#include "runtime/SWCharString.h"

class SLocale {
public:
    // Windows locale identifier of an RFC 1766 tag; 0 when unknown.
    // Callers map an empty tag to 1033 themselves.
    static uint32_t Rfc1766ToLcid(const char16_t* tag);

    // The short date (four-digit year) and the time in the locale `lcid`;
    // the driver passes kUserDefaultLcid, the user's default locale.
    static SWCharString FormatDate(uint32_t lcid, const SDate& date);
    static SWCharString FormatTime(uint32_t lcid, const STime& time, STimeZone zone);
};

// The locale identifier of an empty language tag.
constexpr uint32_t kDefaultLcid = 1033;
