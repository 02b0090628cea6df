#include "platform/posix/UserLocale.h"

#include <stdlib.h>

#include <algorithm>

#include "platform/LocaleId.h"

namespace platform {
namespace {

constexpr uint32_t kEnglishUnitedStates = 0x0409;

}  // namespace

std::string EnvironmentLocale(int category) {
    const char* own = category == LC_TIME ? "LC_TIME" : "LC_MESSAGES";
    for (const char* variable : {"LC_ALL", own, "LANG"}) {
        const char* value = getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return std::string();
}

std::string EnvironmentLanguage(int category) {
    std::string name = EnvironmentLocale(category);
    name.erase(std::min(name.size(), name.find_first_of(".@")));
    if (name == "C" || name == "POSIX")
        name.clear();
    return name;
}

uint32_t UserDefaultLcid() {
    const std::string name = EnvironmentLanguage(LC_MESSAGES);
    if (name.empty())
        return kEnglishUnitedStates;

    // The answer is kept per thread for the last name seen: asking ICU costs
    // more than reading a version resource.
    thread_local std::string lastName;
    thread_local uint32_t lastLcid = 0;
    if (name != lastName || lastLcid == 0) {
        const std::u16string tag(name.begin(), name.end());
        const uint32_t lcid = LocaleNameToLcid(tag.c_str());
        lastName = name;
        lastLcid = lcid != 0 ? lcid : kEnglishUnitedStates;
    }
    return lastLcid;
}

}  // namespace platform
