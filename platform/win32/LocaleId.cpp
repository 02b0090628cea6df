#include "platform/LocaleId.h"

#include <windows.h>

namespace platform {

uint32_t LocaleNameToLcid(const char16_t* tag) {
    return LocaleNameToLCID(reinterpret_cast<const wchar_t*>(tag), 0);
}

}  // namespace platform
