// Splitting a path into drive, directory, file name and extension, as the C
// runtime's _wsplitpath does.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// '\\' on Windows, '/' on POSIX.
extern const char16_t kPathSeparator;

struct PathParts {
    std::u16string drive;      // "C:" on Windows; always empty on POSIX
    std::u16string directory;  // up to and including the last separator
    std::u16string fileName;   // the last component without its extension
    std::u16string extension;  // from the last '.' of the last component on
};

PathParts SplitPath(std::u16string_view path);

// True for every character this platform accepts as a separator.
bool IsPathSeparator(char16_t c);

}  // namespace platform
