#include "runtime/SLocale.h"

#include "platform/LocaleId.h"

uint32_t SLocale::Rfc1766ToLcid(const char16_t* tag) {
    // LocaleNameToLCID reads a null name as the user's locale; a null tag is
    // no tag here.
    if (tag == nullptr) {
        return 0;
    }
    return platform::LocaleNameToLcid(tag);
}
