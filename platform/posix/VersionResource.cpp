#include "platform/VersionResource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/TextEncoding.h"
#include "platform/posix/PeVersionReader.h"
#include "platform/posix/UserLocale.h"

namespace platform {
namespace {

// A regular file, read with pread through a few cached pages: the headers
// and directories the reader walks are small reads close to each other.
class FileSource : public pe::ByteSource {
public:
    explicit FileSource(std::u16string_view path) {
        const std::string native = Utf16ToUtf8(path);
        if (native.empty())
            return;
        // Non-blocking, so that a FIFO cannot stall the open.
        fd_ = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ >= 0 && fstat(fd_, &info_) == 0 && S_ISREG(info_.st_mode))
            size_ = static_cast<uint64_t>(info_.st_size);
        else
            Close();
    }
    ~FileSource() override { Close(); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    const struct stat& info() const { return info_; }
    uint64_t size() const override { return size_; }

    bool Read(uint64_t offset, void* destination, size_t count) const override {
        if (offset > size_ || count > size_ - offset)
            return false;
        auto* out = static_cast<uint8_t*>(destination);
        if (count > kPageSize)
            return ReadFully(offset, out, count);
        while (count > 0) {
            const Page* page = PageAt(offset - offset % kPageSize);
            if (page == nullptr)
                return false;
            const size_t within = static_cast<size_t>(offset - page->start);
            const size_t n = std::min(count, page->length - within);
            std::memcpy(out, page->bytes + within, n);
            out += n;
            offset += n;
            count -= n;
        }
        return true;
    }

private:
    static constexpr size_t kPageSize = 4096;
    static constexpr size_t kPages = 4;

    struct Page {
        uint64_t start = 0;
        size_t length = 0;  // 0: empty
        uint8_t bytes[kPageSize];
    };

    const Page* PageAt(uint64_t start) const {
        for (const Page& page : pages_)
            if (page.length != 0 && page.start == start)
                return &page;
        Page& page = pages_[next_];
        next_ = (next_ + 1) % kPages;
        const size_t length = static_cast<size_t>(std::min<uint64_t>(kPageSize, size_ - start));
        page.length = 0;
        if (length == 0 || !ReadFully(start, page.bytes, length))
            return nullptr;
        page.start = start;
        page.length = length;
        return &page;
    }

    bool ReadFully(uint64_t offset, uint8_t* out, size_t count) const {
        while (count > 0) {
            const ssize_t n = pread(fd_, out, count, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;  // an error, or the file became shorter
            out += n;
            offset += static_cast<uint64_t>(n);
            count -= static_cast<size_t>(n);
        }
        return true;
    }

    void Close() {
        if (fd_ >= 0)
            close(fd_);
        fd_ = -1;
        size_ = 0;
    }

    int fd_ = -1;
    struct stat info_ {};
    uint64_t size_ = 0;
    mutable Page pages_[kPages];
    mutable size_t next_ = 0;
};

// The resource found by the last size query of this thread: the read that
// follows it finds the same file without walking its directories again.
struct LastLocation {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    struct timespec modified {};
    uint16_t language = 0;
    pe::ResourceLocation where;
};
thread_local LastLocation lastLocation;

bool SameFile(const LastLocation& last, const struct stat& info, uint16_t language) {
    return last.size == info.st_size && last.device == info.st_dev && last.inode == info.st_ino &&
           last.modified.tv_sec == info.st_mtim.tv_sec &&
           last.modified.tv_nsec == info.st_mtim.tv_nsec && last.language == language;
}

bool Locate(const FileSource& file, pe::ResourceLocation& where) {
    if (!file.isOpen())
        return false;
    const uint16_t language = static_cast<uint16_t>(UserDefaultLcid());
    if (SameFile(lastLocation, file.info(), language)) {
        where = lastLocation.where;
        return true;
    }
    if (!pe::FindVersionResource(file, language, where))
        return false;
    const struct stat& info = file.info();
    lastLocation = {info.st_dev, info.st_ino, info.st_size, info.st_mtim, language, where};
    return true;
}

uint16_t ReadWord(const void* at) {
    const auto* bytes = static_cast<const uint8_t*>(at);
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

}  // namespace

uint32_t FileVersionInfoSize(std::u16string_view path, uint32_t* handle) {
    if (handle != nullptr)
        *handle = 0;
    FileSource file(path);
    pe::ResourceLocation where;
    if (!Locate(file, where) || where.size == 0 || where.size > (UINT32_MAX - 4) / 2)
        return 0;
    return where.size * 2 + 4;
}

bool ReadFileVersionInfo(std::u16string_view path, uint32_t /*handle*/, uint32_t size,
                         void* block) {
    FileSource file(path);
    pe::ResourceLocation where;
    if (block == nullptr || !Locate(file, where))
        return false;
    const uint32_t copied = where.size < size ? where.size : size;
    if (copied < 6 || !file.Read(where.offset, block, copied))
        return false;
    // Queries are bounded by the root's length: keep it inside what was copied.
    if (ReadWord(block) > copied) {
        auto* bytes = static_cast<uint8_t*>(block);
        bytes[0] = static_cast<uint8_t>(copied & 0xFF);
        bytes[1] = static_cast<uint8_t>(copied >> 8);
    }
    return true;
}

bool QueryVersionValue(const void* block, const char16_t* subBlock, const void** value,
                       uint32_t* length) {
    if (block == nullptr || subBlock == nullptr || value == nullptr || length == nullptr)
        return false;
    size_t offset = 0;
    uint32_t found = 0;
    if (!pe::QueryVersionBlock(static_cast<const uint8_t*>(block), ReadWord(block), subBlock,
                               offset, found))
        return false;
    *value = static_cast<const uint8_t*>(block) + offset;
    *length = found;
    return true;
}

}  // namespace platform
