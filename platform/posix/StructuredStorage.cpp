#include "platform/StructuredStorage.h"

#include <cstdint>
#include <string>

#include "formats/CompoundFile.h"
#include "platform/posix/FileSource.h"

namespace platform {

namespace cfb = formats::cfb;

namespace {

// Small files are read whole with one call; larger ones a few pages at a
// time, since a summary needs only a few of their sectors.
constexpr uint64_t kWholeFileLimit = 256 * 1024;

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

std::unique_ptr<Storage> OpenStorage(ContentFile& file) {
    ContentFile::Native* native = file.native();
    if (native == nullptr || !file.MayBeCompoundFile())
        return nullptr;
    std::shared_ptr<formats::ByteSource> source = native->source;
    if (native->source->Size() <= kWholeFileLimit) {
        std::string bytes;
        if (!native->source->ReadAll(bytes, kWholeFileLimit))
            return nullptr;
        source = std::make_shared<formats::MemorySource>(std::move(bytes));
    }
    auto compound = cfb::CompoundFile::Open(std::move(source));
    if (!compound)
        return nullptr;
    return std::make_unique<CompoundStorage>(std::move(compound));
}

std::unique_ptr<Storage> OpenStorage(std::u16string_view path) {
    ContentFile file(path);
    return OpenStorage(file);
}

}  // namespace platform
