#include <cstdlib>

#include "tests/security/SecurityAccounts.h"

namespace security_testing {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::string ProcessUserName() {
    return Environment("USERNAME");
}

std::string ProcessGroupName() {
    return "";
}

std::string LocalDomain() {
    return Environment("USERDOMAIN");
}

}  // namespace security_testing
