// Display names of Windows locale identifiers.
#pragma once

#include <cstdint>

namespace platform {

// GetLocaleInfoW(lcid, LOCALE_SLANGUAGE): the locale's language and country
// as a person reads them ("English (United States)"), into `buffer` of
// `capacity` characters. Returns the characters written including the NUL, or
// 0 for an unknown locale or too small a buffer. The user's and system's
// default locales (0, 0x0400, 0x0800) name the user's locale.
//
// Windows: the system's names. POSIX: ICU's English display name of the
// locale, with its likely country added where the identifier names a language
// only (0x0009 is "English (United States)"); these need not equal Windows's
// ("Chinese (China)" against "Chinese (Simplified, China)").
int GetLocaleLanguageName(uint32_t lcid, char16_t* buffer, int capacity);

}  // namespace platform
