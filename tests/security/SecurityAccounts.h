// The accounts that files made by the test program belong to, as each build
// names them.
#pragma once

#include <string>

namespace security_testing {

// The owner of new files: the user running the tests (under Wine, the
// Windows user named after the Unix one).
std::string ProcessUserName();
// The group of new files on POSIX; empty on Windows.
std::string ProcessGroupName();
// The domain of local accounts: POSIX the host name up to its first dot,
// Windows the computer name.
std::string LocalDomain();

}  // namespace security_testing
