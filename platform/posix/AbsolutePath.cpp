#include "platform/AbsolutePath.h"

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/TextEncoding.h"

namespace platform {
namespace {

std::u16string CurrentDirectory() {
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return u"/";
        buffer.resize(buffer.size() * 2);
    }
    return Utf8ToUtf16(buffer.data());
}

}  // namespace

std::u16string AbsolutePath(std::u16string_view path) {
    std::u16string whole = !path.empty() && path[0] == u'/'
                               ? std::u16string(path)
                               : CurrentDirectory() + u'/' + std::u16string(path);
    std::vector<std::u16string> components;
    size_t start = 0;
    while (start <= whole.size()) {
        size_t end = whole.find(u'/', start);
        if (end == std::u16string::npos)
            end = whole.size();
        const std::u16string part = whole.substr(start, end - start);
        if (part == u"..") {
            if (!components.empty())
                components.pop_back();
        } else if (!part.empty() && part != u".") {
            components.push_back(part);
        }
        start = end + 1;
    }
    std::u16string normal;
    for (const std::u16string& part : components)
        normal += u'/' + part;
    return normal.empty() ? u"/" : normal;
}

std::string DirectoryListingError(std::u16string_view path) {
    DIR* directory = opendir(Utf16ToUtf8(path).c_str());
    if (directory == nullptr)
        return std::strerror(errno);
    closedir(directory);
    return "";
}

}  // namespace platform
