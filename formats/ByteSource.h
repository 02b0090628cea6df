// Random access to a run of bytes, the one way every reader of file formats
// takes its input: a file (the platform layer opens it) or memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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

// Bytes held in memory, owned by the source.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
    uint64_t Size() const override { return bytes_.size(); }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) const override;

private:
    std::string bytes_;
};

}  // namespace formats
