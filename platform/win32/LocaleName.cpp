#include "platform/LocaleName.h"

#include <windows.h>

namespace platform {

int GetLocaleLanguageName(uint32_t lcid, char16_t* buffer, int capacity) {
    return GetLocaleInfoW(lcid, LOCALE_SLANGUAGE, reinterpret_cast<wchar_t*>(buffer), capacity);
}

}  // namespace platform
