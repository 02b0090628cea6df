// A path as a user typed it, made absolute and plain, and why it cannot be
// listed.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The absolute form of `path` against the current directory, normalised
// lexically: no "." or ".." components, no doubled separators, no trailing
// separator but the root's. Links are not resolved.
std::u16string AbsolutePath(std::u16string_view path);

// Why the directory `path` cannot be listed, in the system's words
// ("No such file or directory"); empty when it can be.
std::string DirectoryListingError(std::u16string_view path);

}  // namespace platform
