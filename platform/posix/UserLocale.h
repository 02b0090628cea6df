// The user's locale, read from the environment in one place.
#pragma once

#include <locale.h>

#include <cstdint>
#include <string>

namespace platform {

// The locale the C library would pick for `category` (LC_MESSAGES or
// LC_TIME): the first of LC_ALL, the category's own variable and LANG that is set,
// as it stands ("de_DE.UTF-8@euro"); empty when none is.
std::string EnvironmentLocale(int category);

// That name without codeset and modifier ("de_DE"); empty for "C", "POSIX"
// or none.
std::string EnvironmentLanguage(int category);

// The LCID of the messages locale ("de_DE.UTF-8" is 0x0407); 0x0409 for
// "C", "POSIX", none, or a locale Windows does not know.
uint32_t UserDefaultLcid();

}  // namespace platform
