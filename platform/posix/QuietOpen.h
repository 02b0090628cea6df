// Reading a file's fields must not change it, not even its last-access time:
// the next report's Last Accessed column would show this one.
#pragma once

#include <fcntl.h>

#include <cerrno>

namespace platform {

// open() with O_NOATIME where the kernel permits it (to the file's owner or
// a caller with CAP_FOWNER), else a plain open().
inline int OpenQuietly(const char* path, int flags) {
    const int fd = open(path, flags | O_NOATIME);
    if (fd >= 0 || errno != EPERM)
        return fd;
    return open(path, flags);
}

}  // namespace platform
