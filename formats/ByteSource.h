// Random access to a run of bytes, the one way every reader of file formats
// takes its input: a file (the platform layer opens it) or memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace formats {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Copies up to `count` bytes from `offset`; returns how many were copied
    // (fewer at the end of the source, or when reading fails).
    virtual size_t ReadAt(uint64_t offset, void* buffer, size_t count) const = 0;

    // Exactly `count` bytes at `offset`; false when they are not all there.
    bool ReadExact(uint64_t offset, void* buffer, size_t count) const {
        return ReadAt(offset, buffer, count) == count;
    }
};

// Bytes in memory: owned by the source, or borrowed from a caller who keeps
// them alive as long as the source.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string bytes) : owned_(std::move(bytes)), bytes_(owned_) {}
    MemorySource(const void* data, size_t size) : bytes_(static_cast<const char*>(data), size) {}
    MemorySource(const MemorySource&) = delete;
    MemorySource& operator=(const MemorySource&) = delete;

    uint64_t Size() const override { return bytes_.size(); }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) const override;

private:
    std::string owned_;
    std::string_view bytes_;
};

}  // namespace formats
