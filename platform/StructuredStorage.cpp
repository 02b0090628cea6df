// The parts of structured storage that need no operating system: the seek
// arithmetic of a stream and a stream over bytes in memory.
#include "platform/StructuredStorage.h"

#include <algorithm>
#include <limits>
#include <string>

namespace platform {
namespace {

class MemoryStream : public StorageStream {
public:
    explicit MemoryStream(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}

    bool Read(void* buffer, uint32_t count, uint32_t& bytesRead) override {
        bytesRead = 0;
        if (position_ < bytes_->size()) {
            bytesRead =
                static_cast<uint32_t>(std::min<uint64_t>(count, bytes_->size() - position_));
            bytes_->copy(static_cast<char*>(buffer), bytesRead, static_cast<size_t>(position_));
            position_ += bytesRead;
        }
        return true;
    }

    bool Seek(int64_t offset, SeekOrigin origin, uint64_t& position) override {
        if (!SeekTarget(position_, bytes_->size(), offset, origin, position_))
            return false;
        position = position_;
        return true;
    }

    std::unique_ptr<StorageStream> Clone() override {
        return std::make_unique<MemoryStream>(*this);
    }

private:
    std::shared_ptr<const std::string> bytes_;
    uint64_t position_ = 0;
};

}  // namespace

bool SeekTarget(uint64_t current, uint64_t size, int64_t offset, SeekOrigin origin,
                uint64_t& position) {
    uint64_t base;
    switch (origin) {
        case SeekOrigin::Begin:
            base = 0;
            break;
        case SeekOrigin::Current:
            base = current;
            break;
        case SeekOrigin::End:
            base = size;
            break;
        default:
            return false;
    }
    constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (offset < 0) {
        const uint64_t back = static_cast<uint64_t>(-(offset + 1)) + 1;
        if (back > base)
            return false;
        position = base - back;
    } else {
        if (static_cast<uint64_t>(offset) > kMax - std::min(base, kMax))
            return false;
        position = base + static_cast<uint64_t>(offset);
    }
    return true;
}

std::unique_ptr<StorageStream> OpenMemoryStream(std::string_view bytes) {
    return std::make_unique<MemoryStream>(std::make_shared<const std::string>(bytes));
}

}  // namespace platform
