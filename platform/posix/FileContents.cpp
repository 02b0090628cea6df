#include "platform/FileContents.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/TextEncoding.h"
#include "platform/posix/FileSource.h"
#include "platform/posix/QuietOpen.h"

namespace platform {

FileSource::FileSource(const std::string& path) {
    // Non-blocking, so that a FIFO met on the walk cannot stall the open.
    fd_ = path.empty() ? -1 : OpenQuietly(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        return;
    if (fstat(fd_, &info_) == 0 && S_ISREG(info_.st_mode)) {
        size_ = static_cast<uint64_t>(info_.st_size);
        return;
    }
    close(fd_);
    fd_ = -1;
    errno = EINVAL;  // there is a file, but not one to read
}

FileSource::~FileSource() {
    if (fd_ >= 0)
        close(fd_);
}

size_t FileSource::ReadAt(uint64_t offset, void* buffer, size_t count) const {
    if (fd_ < 0 || offset >= size_)
        return 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
    auto* out = static_cast<uint8_t*>(buffer);
    if (count > kPageSize)
        return ReadDirect(offset, out, count);
    size_t done = 0;
    while (done < count) {
        const uint64_t at = offset + done;
        const Page* page = PageAt(at - at % kPageSize);
        if (page == nullptr || at - page->start >= page->length)
            break;
        const size_t within = static_cast<size_t>(at - page->start);
        const size_t n = std::min(count - done, page->length - within);
        std::memcpy(out + done, page->bytes + within, n);
        done += n;
    }
    return done;
}

const FileSource::Page* FileSource::PageAt(uint64_t start) const {
    for (const Page& page : pages_)
        if (page.length != 0 && page.start == start)
            return &page;
    Page& page = pages_[next_];
    next_ = (next_ + 1) % kPages;
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(kPageSize, size_ - start));
    page.start = start;
    page.length = ReadDirect(start, page.bytes, wanted);
    return page.length != 0 ? &page : nullptr;
}

size_t FileSource::ReadDirect(uint64_t offset, uint8_t* out, size_t count) const {
    size_t done = 0;
    while (done < count) {
        const ssize_t n = pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;  // an error, or the file became shorter
        done += static_cast<size_t>(n);
    }
    return done;
}

bool FileSource::ReadAll(std::string& bytes, size_t maxBytes) const {
    bytes.clear();
    if (fd_ < 0 || size_ > maxBytes)
        return false;
    // One byte more than the file held when opened: a read that fills it
    // shows that the file has grown since.
    bytes.resize(static_cast<size_t>(size_) + 1);
    size_t done = 0;
    for (;;) {
        const ssize_t n = pread(fd_, &bytes[done], bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            bytes.clear();
            return false;
        }
        done += static_cast<size_t>(n);
        if (done < bytes.size())  // a short read of a regular file: its end
            break;
        if (done > maxBytes) {
            bytes.clear();
            return false;
        }
        bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
    }
    bytes.resize(done);
    return true;
}

FileState ReadWholeFile(const std::string& path, size_t maxBytes, std::string& bytes,
                        struct stat* info) {
    bytes.clear();
    FileSource file(path);
    if (!file.isOpen()) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        return missing ? FileState::Missing : FileState::Unusable;
    }
    if (!file.ReadAll(bytes, maxBytes))
        return FileState::Unusable;
    if (info != nullptr)
        *info = file.info();
    return FileState::Read;
}

bool ReadFileBytes(std::u16string_view path, std::string& bytes, size_t maxBytes) {
    return ReadWholeFile(Utf16ToUtf8(path), maxBytes, bytes) == FileState::Read;
}

}  // namespace platform
