#include "platform/PathSplit.h"

#include <stdlib.h>

#include <vector>

namespace platform {

const char16_t kPathSeparator = u'\\';

bool IsPathSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

PathParts SplitPath(std::u16string_view path) {
    // Every part fits a buffer as long as the whole path, so the call cannot
    // fail for want of room, whatever the path's length.
    const std::wstring input(reinterpret_cast<const wchar_t*>(path.data()), path.size());
    const size_t size = path.size() + 3;
    std::vector<wchar_t> drive(size), directory(size), fileName(size), extension(size);
    PathParts parts;
    if (_wsplitpath_s(input.c_str(), drive.data(), size, directory.data(), size, fileName.data(),
                      size, extension.data(), size) != 0) {
        return parts;
    }
    parts.drive = reinterpret_cast<const char16_t*>(drive.data());
    parts.directory = reinterpret_cast<const char16_t*>(directory.data());
    parts.fileName = reinterpret_cast<const char16_t*>(fileName.data());
    parts.extension = reinterpret_cast<const char16_t*>(extension.data());
    return parts;
}

}  // namespace platform
