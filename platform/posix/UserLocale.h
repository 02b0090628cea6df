// The user's locale as Windows would name it, from the environment.
#pragma once

#include <cstdint>

namespace platform {

// The LCID of the first of LC_ALL, LC_MESSAGES and LANG that is set ("de_DE.UTF-8"
// is 0x0407); 0x0409 for "C", "POSIX", none, or a locale Windows does not know.
uint32_t UserDefaultLcid();

}  // namespace platform
