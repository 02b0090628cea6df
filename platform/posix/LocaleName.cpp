#include "platform/LocaleName.h"

#include <unicode/uloc.h>

#include <string>

#include "platform/posix/UserLocale.h"

namespace platform {
namespace {

// The sort-order bits (16 to 19) do not change the name; the bits above them
// are reserved.
constexpr uint32_t kLanguageMask = 0xFFFF;
constexpr uint32_t kReservedBits = 0xFFF00000;

bool IsDefaultLocale(uint32_t lcid) {
    // LOCALE_NEUTRAL, USER_DEFAULT, SYSTEM_DEFAULT, CUSTOM_DEFAULT, CUSTOM_UNSPECIFIED.
    return lcid == 0 || lcid == 0x0400 || lcid == 0x0800 || lcid == 0x0C00 || lcid == 0x1000;
}

std::string Part(int32_t (*get)(const char*, char*, int32_t, UErrorCode*), const char* id) {
    char buffer[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = get(id, buffer, sizeof buffer, &status);
    if (U_FAILURE(status) || length <= 0 || length >= static_cast<int32_t>(sizeof buffer))
        return {};
    return std::string(buffer, static_cast<size_t>(length));
}

}  // namespace

int GetLocaleLanguageName(uint32_t lcid, char16_t* buffer, int capacity) {
    if ((lcid & kReservedBits) != 0)
        return 0;
    uint32_t language = lcid & kLanguageMask;
    if (IsDefaultLocale(language))
        language = UserDefaultLcid() & kLanguageMask;

    char id[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t idLength = uloc_getLocaleForLCID(language, id, sizeof id, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || idLength <= 0)
        return 0;
    const std::string languageCode = Part(uloc_getLanguage, id);
    if (languageCode.empty() || languageCode == "root")
        return 0;

    // A language alone is named with the country it is most used in.
    std::string named = id;
    if (Part(uloc_getCountry, id).empty()) {
        char likely[ULOC_FULLNAME_CAPACITY] = {};
        status = U_ZERO_ERROR;
        uloc_addLikelySubtags(id, likely, sizeof likely, &status);
        const std::string country = U_SUCCESS(status) ? Part(uloc_getCountry, likely) : "";
        if (!country.empty()) {
            named = languageCode;
            const std::string script = Part(uloc_getScript, id);
            if (!script.empty())
                named += "_" + script;
            named += "_" + country;
        }
    }

    UChar name[ULOC_FULLNAME_CAPACITY] = {};
    status = U_ZERO_ERROR;
    const int32_t length =
        uloc_getDisplayName(named.c_str(), "en", name, ULOC_FULLNAME_CAPACITY, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || length <= 0)
        return 0;
    if (capacity == 0)
        return length + 1;  // the size query
    if (length >= capacity || buffer == nullptr)
        return 0;
    for (int32_t i = 0; i < length; ++i)
        buffer[i] = static_cast<char16_t>(name[i]);
    buffer[length] = u'\0';
    return length + 1;
}

}  // namespace platform
