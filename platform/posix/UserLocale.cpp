#include "platform/posix/UserLocale.h"

#include <cstdlib>
#include <string>

#include "platform/LocaleId.h"

namespace platform {
namespace {

constexpr uint32_t kEnglishUnitedStates = 0x0409;

}  // namespace

uint32_t UserDefaultLcid() {
    std::string name;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            name = value;
            break;
        }
    }
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX")
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
