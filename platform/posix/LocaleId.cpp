#include "platform/LocaleId.h"

#include <unicode/uloc.h>

#include <cctype>
#include <string>

namespace platform {
namespace {

// Windows names an alternate sort order after '_' ("de-DE_phoneb", and also
// accepts '-' there); these are
// the ones ICU can map to an LCID through its collation keyword. The others
// (technical Hungarian, modern Georgian, the Chinese and Japanese
// radical/stroke and pronunciation orders) are unknown to ICU.
struct SortName {
    const char* windows;
    const char* collation;
};
constexpr SortName kSortNames[] = {
    {"phoneb", "phonebook"},
    {"tradnl", "traditional"},
    {"stroke", "stroke"},
};

constexpr size_t kMaxTagLength = 85;  // LOCALE_NAME_MAX_LENGTH

// LocaleNameToLCID without LOCALE_ALLOW_NEUTRAL_NAMES never returns a neutral
// identifier: a language alone (sublanguage 0) or a script-neutral one
// (sublanguages 0x1E and 0x1F, e.g. 0x7C1A for Serbian).
bool IsNeutral(uint32_t lcid) {
    const uint32_t subLanguage = (lcid >> 10) & 0x3F;
    return (lcid & 0x3FF) == 0 || subLanguage == 0 || subLanguage >= 0x1E;
}

std::string Component(int32_t (*get)(const char*, char*, int32_t, UErrorCode*),
                      const char* localeId) {
    char buffer[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = get(localeId, buffer, sizeof buffer, &status);
    if (U_FAILURE(status) || length <= 0 || length >= static_cast<int32_t>(sizeof buffer)) {
        return {};
    }
    return std::string(buffer, static_cast<size_t>(length));
}

struct LocaleParts {
    std::string language, script, country, variant;
};

std::string Join(const LocaleParts& parts, bool withScript, const std::string& collation) {
    std::string id = parts.language;
    if (withScript && !parts.script.empty()) {
        id += '_' + parts.script;
    }
    if (!parts.country.empty() || !parts.variant.empty()) {
        id += '_' + parts.country;
    }
    if (!parts.variant.empty()) {
        id += '_' + parts.variant;
    }
    if (!collation.empty()) {
        id += "@collation=" + collation;
    }
    return id;
}

// The locale's LCID, tried with its script and then without (ICU knows
// "en_US" but gives the neutral 0x0009 for "en_Latn_US"); 0 when neutral.
uint32_t CountryLcid(const LocaleParts& parts, const std::string& collation) {
    for (const bool withScript : {true, false}) {
        if (!withScript && parts.script.empty()) {
            break;
        }
        const uint32_t lcid = uloc_getLCID(Join(parts, withScript, collation).c_str());
        if (!IsNeutral(lcid)) {
            return lcid;
        }
    }
    return 0;
}

// The tag as ASCII; empty when it holds anything but letters, digits and
// separators, or is longer than Windows allows.
std::string AsciiTag(const char16_t* tag) {
    std::string text;
    for (const char16_t* unit = tag; *unit != u'\0'; ++unit) {
        const bool allowed = *unit < 0x80 && (std::isalnum(*unit) || *unit == '-' || *unit == '_');
        if (!allowed || text.size() == kMaxTagLength) {
            return {};
        }
        text += static_cast<char>(*unit);
    }
    return text;
}

// Removes a Windows sort order from the end of the tag and gives ICU's
// collation for it; empty when the tag names none.
std::string TakeSortOrder(std::string& text) {
    const size_t lastSeparator = text.find_last_of("-_");
    if (lastSeparator == std::string::npos) {
        return {};
    }
    std::string suffix = text.substr(lastSeparator + 1);
    for (char& c : suffix) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const SortName& sort : kSortNames) {
        if (suffix == sort.windows) {
            text.resize(lastSeparator);
            return sort.collation;
        }
    }
    return {};
}

// ICU's locale ID of a BCP 47 tag, with the likely country added where the
// tag names none; empty when the tag is not a Windows locale name.
std::string FullLocaleId(std::string text) {
    for (char& c : text) {
        if (c == '_') {
            c = '-';
        }
    }
    char localeId[ULOC_FULLNAME_CAPACITY] = {};
    int32_t parsedLength = 0;
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        uloc_forLanguageTag(text.c_str(), localeId, sizeof localeId, &parsedLength, &status);
    // The whole tag must parse, and extensions and private use ("-u-...",
    // "-x-...") are not part of a Windows locale name.
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || length <= 0 ||
        parsedLength != static_cast<int32_t>(text.size()) ||
        std::string(localeId).find('@') != std::string::npos) {
        return {};
    }

    // A tag without a country means the language's (or script's) main
    // country, as LocaleNameToLCID gives without LOCALE_ALLOW_NEUTRAL_NAMES.
    if (!Component(uloc_getCountry, localeId).empty()) {
        return localeId;
    }
    char likely[ULOC_FULLNAME_CAPACITY] = {};
    status = U_ZERO_ERROR;
    uloc_addLikelySubtags(localeId, likely, sizeof likely, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING) {
        return {};
    }
    return likely;
}

}  // namespace

uint32_t LocaleNameToLcid(const char16_t* tag) {
    if (tag == nullptr) {
        return 0;
    }
    std::string text = AsciiTag(tag);
    if (text.empty()) {
        return 0;
    }
    const std::string collation = TakeSortOrder(text);
    const std::string fullId = FullLocaleId(text);
    if (fullId.empty()) {
        return 0;
    }

    const LocaleParts parts{
        Component(uloc_getLanguage, fullId.c_str()),
        Component(uloc_getScript, fullId.c_str()),
        Component(uloc_getCountry, fullId.c_str()),
        Component(uloc_getVariant, fullId.c_str()),
    };
    if (parts.language.empty()) {
        return 0;
    }
    const uint32_t lcid = CountryLcid(parts, collation);
    // A sort order that the locale does not have makes the name unknown.
    if (!collation.empty() && lcid == CountryLcid(parts, {})) {
        return 0;
    }
    return lcid;
}

}  // namespace platform
