#include "platform/posix/QuietOpen.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform {
namespace {

int OpenAt(int directory, const char* path, int flags) {
    const int fd = openat(directory, path, flags | O_NOATIME);
    if (fd >= 0 || errno != EPERM)
        return fd;
    return openat(directory, path, flags);
}

// Each directory on the way is opened from the one before it, so no single
// call sees more than one name.
int OpenLongPath(const std::string& path, int flags) {
    int directory = path[0] == '/' ? open("/", O_PATH | O_DIRECTORY | O_CLOEXEC)
                                   : open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    size_t start = 0;
    while (directory >= 0) {
        start = path.find_first_not_of('/', start);
        const size_t end = start == std::string::npos ? std::string::npos : path.find('/', start);
        const bool last =
            end == std::string::npos || path.find_first_not_of('/', end) == std::string::npos;
        if (start == std::string::npos || last) {
            const std::string name =
                start == std::string::npos ? "." : path.substr(start, end - start);
            const int fd = OpenAt(directory, name.c_str(), flags);
            const int error = errno;
            close(directory);
            errno = error;
            return fd;
        }
        const int next = openat(directory, path.substr(start, end - start).c_str(),
                                O_PATH | O_DIRECTORY | O_CLOEXEC);
        const int error = errno;
        close(directory);
        errno = error;
        directory = next;
        start = end;
    }
    return -1;
}

}  // namespace

int OpenQuietly(const char* path, int flags) {
    const int fd = OpenAt(AT_FDCWD, path, flags);
    if (fd >= 0 || errno != ENAMETOOLONG || *path == 0)
        return fd;
    return OpenLongPath(path, flags);
}

}  // namespace platform
