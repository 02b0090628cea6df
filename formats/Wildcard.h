// Windows wildcard matching on long names, the rules FindFirstFileW applies
// to its mask. Both builds compile it; the Linux directory search uses it.
#pragma once

#include <string_view>

namespace formats {

// True when `name` matches `mask` by the Windows wildcard rules, ignoring
// case ("*" and "*.*" match everything, "*." names without a dot, "?" one
// character or nothing before a dot or the end).
bool MatchesWildcard(std::u16string_view mask, std::u16string_view name);

}  // namespace formats
