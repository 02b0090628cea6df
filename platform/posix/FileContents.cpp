#include "platform/FileContents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/TextEncoding.h"

namespace platform {

bool ReadFileBytes(std::u16string_view path, std::string& bytes, size_t maxBytes) {
    bytes.clear();
    std::string native = Utf16ToUtf8(path);
    if (native.empty())
        return false;
    int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<unsigned long long>(info.st_size) <= maxBytes;
    if (ok) {
        // Read to the end rather than trusting st_size: the file may change.
        char chunk[16384];
        for (;;) {
            ssize_t n = read(fd, chunk, sizeof chunk);
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0)
                break;
            if (bytes.size() + static_cast<size_t>(n) > maxBytes) {
                ok = false;
                break;
            }
            bytes.append(chunk, static_cast<size_t>(n));
        }
    }
    close(fd);
    if (!ok)
        bytes.clear();
    return ok;
}

}  // namespace platform
