#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cstring>

#include "tests/security/SecurityAccounts.h"

namespace security_testing {

std::string ProcessUserName() {
    const passwd* entry = getpwuid(geteuid());
    return entry != nullptr ? entry->pw_name : "";
}

std::string ProcessGroupName() {
    const group* entry = getgrgid(getegid());
    return entry != nullptr ? entry->gr_name : "";
}

std::string LocalDomain() {
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    return std::string(host, strcspn(host, "."));
}

}  // namespace security_testing
