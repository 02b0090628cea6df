// Locale services of the base utility library.
#pragma once

#include <cstdint>

class SLocale {
public:
    // Windows locale identifier of an RFC 1766 tag; 0 when unknown.
    // Callers map an empty tag to 1033 themselves.
    static uint32_t Rfc1766ToLcid(const char16_t* tag);
};

// The locale identifier of an empty language tag.
constexpr uint32_t kDefaultLcid = 1033;
