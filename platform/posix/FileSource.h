// Reading files on POSIX: one source of a file's bytes for the format
// readers, and one whole-file read.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "formats/ByteSource.h"
#include "formats/PeVersion.h"
#include "platform/ContentFile.h"

namespace platform {

// A regular file, read with pread through a few cached pages: the headers
// and tables the readers walk are small reads close to each other.
class FileSource : public formats::ByteSource {
public:
    // Opens the file at `path` (the native bytes); not open unless it is a
    // regular file that can be read.
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    const struct stat& info() const { return info_; }
    uint64_t Size() const override { return size_; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) const override;

    // The whole file, read to its end (it may have changed since it was
    // opened); false when reading fails or it holds more than `maxBytes`.
    bool ReadAll(std::string& bytes, size_t maxBytes) const;

    // Reads past the cached pages: for a one-off look that should not cost
    // a page's copy.
    size_t ReadUncached(uint64_t offset, void* buffer, size_t count) const {
        return ReadDirect(offset, static_cast<uint8_t*>(buffer), count);
    }

private:
    static constexpr size_t kPageSize = 4096;
    static constexpr size_t kPages = 4;

    struct Page {
        uint64_t start = 0;
        size_t length = 0;  // 0: empty
        uint8_t bytes[kPageSize];
    };

    const Page* PageAt(uint64_t start) const;
    size_t ReadDirect(uint64_t offset, uint8_t* out, size_t count) const;

    int fd_ = -1;
    struct stat info_ {};
    uint64_t size_ = 0;
    mutable Page pages_[kPages];
    mutable size_t next_ = 0;
};

// The open file of a ContentFile, and where its version resource lies once
// the size query has found it.
struct ContentFile::Native {
    std::shared_ptr<FileSource> source;
    std::optional<formats::pe::ResourceLocation> version;
};

enum class FileState { Missing, Unusable, Read };

// Reads the whole regular file at `path` (native bytes) into `bytes`:
// Missing when there is no such file, Unusable when it is not a regular file,
// cannot be read or holds more than `maxBytes`. `info`, when given, gets the
// file's status as it was opened.
FileState ReadWholeFile(const std::string& path, size_t maxBytes, std::string& bytes,
                        struct stat* info = nullptr);

}  // namespace platform
