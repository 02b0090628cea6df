#include "platform/PathSplit.h"

namespace platform {

const char16_t kPathSeparator = u'/';

bool IsPathSeparator(char16_t c) {
    return c == u'/';
}

// _wsplitpath without drives: a path that begins with the separator is the
// POSIX counterpart of a drive path, and stays in the directory.
PathParts SplitPath(std::u16string_view path) {
    path = path.substr(0, path.find(u'\0'));
    const size_t lastSeparator = path.find_last_of(u'/');
    const size_t nameStart = lastSeparator == std::u16string_view::npos ? 0 : lastSeparator + 1;
    const std::u16string_view name = path.substr(nameStart);
    const size_t dot = name.rfind(u'.');

    PathParts parts;
    parts.directory = path.substr(0, nameStart);
    parts.fileName = name.substr(0, dot);
    if (dot != std::u16string_view::npos) {
        parts.extension = name.substr(dot);
    }
    return parts;
}

}  // namespace platform
