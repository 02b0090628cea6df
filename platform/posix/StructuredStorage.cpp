#include "platform/StructuredStorage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

#include "platform/TextEncoding.h"
#include "platform/posix/CompoundFile.h"

namespace platform {
namespace {

// Small files are read whole with one call; larger ones sector by sector,
// since a summary needs only a few of their sectors.
constexpr uint64_t kWholeFileLimit = 256 * 1024;

class FileSource : public cfb::ByteSource {
public:
    FileSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
    ~FileSource() override { close(fd_); }
    uint64_t Size() const override { return size_; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
        size_t done = 0;
        while (done < count && offset + done < size_) {
            ssize_t n = pread(fd_, static_cast<char*>(buffer) + done, count - done,
                              static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        return done;
    }

private:
    int fd_;
    uint64_t size_;
};

// Reads the whole file when it is small; false when that fails.
bool ReadWhole(int fd, uint64_t size, std::string& bytes) {
    bytes.resize(static_cast<size_t>(size));
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = read(fd, &bytes[done], bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);  // the file may have shrunk since fstat
    return true;
}

class CompoundStream : public StorageStream {
public:
    CompoundStream(std::shared_ptr<cfb::CompoundFile> file,
                   std::shared_ptr<const cfb::StreamLayout> layout)
        : file_(std::move(file)), layout_(std::move(layout)) {}

    bool Read(void* buffer, uint32_t count, uint32_t& bytesRead) override {
        bytesRead = static_cast<uint32_t>(file_->ReadStream(*layout_, position_, buffer, count));
        position_ += bytesRead;
        return true;
    }

    bool Seek(int64_t offset, SeekOrigin origin, uint64_t& position) override {
        if (!SeekTarget(position_, layout_->size, offset, origin, position_))
            return false;
        position = position_;
        return true;
    }

    std::unique_ptr<StorageStream> Clone() override {
        return std::make_unique<CompoundStream>(*this);
    }

private:
    std::shared_ptr<cfb::CompoundFile> file_;
    std::shared_ptr<const cfb::StreamLayout> layout_;
    uint64_t position_ = 0;
};

class CompoundStorage : public Storage {
public:
    explicit CompoundStorage(std::shared_ptr<cfb::CompoundFile> file) : file_(std::move(file)) {}

    std::unique_ptr<StorageStream> OpenStream(std::u16string_view name) override {
        uint32_t index = file_->FindChild(0, name);
        auto layout = std::make_shared<cfb::StreamLayout>();
        if (index == cfb::kNoEntry || !file_->OpenStream(index, *layout))
            return nullptr;
        return std::make_unique<CompoundStream>(file_, std::move(layout));
    }

private:
    std::shared_ptr<cfb::CompoundFile> file_;
};

}  // namespace

std::unique_ptr<Storage> OpenStorage(std::u16string_view path) {
    std::string native = Utf16ToUtf8(path);
    if (native.empty())
        return nullptr;
    // Not blocking: a FIFO met on the walk must not stall the read.
    int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    std::shared_ptr<cfb::ByteSource> source;
    if (size <= kWholeFileLimit) {
        std::string bytes;
        bool read = ReadWhole(fd, size, bytes);
        close(fd);
        if (!read)
            return nullptr;
        source = cfb::MemoryByteSource(std::move(bytes));
    } else {
        source = std::make_shared<FileSource>(fd, size);
    }
    auto file = cfb::CompoundFile::Open(std::move(source));
    if (!file)
        return nullptr;
    return std::make_unique<CompoundStorage>(std::move(file));
}

}  // namespace platform
