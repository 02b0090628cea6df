#include "platform/StructuredStorage.h"

#include <objbase.h>
#include <windows.h>

#include <string>

namespace platform {
namespace {

// Owns one reference to a COM interface.
template <typename T>
class ComRef {
public:
    explicit ComRef(T* object) : object_(object) {}
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (object_ != nullptr)
            object_->Release();
    }
    T* get() const { return object_; }

private:
    T* object_;
};

class ComStream : public StorageStream {
public:
    explicit ComStream(IStream* stream) : stream_(stream) {}

    bool Read(void* buffer, uint32_t count, uint32_t& bytesRead) override {
        ULONG got = 0;
        HRESULT result = stream_.get()->Read(buffer, count, &got);
        bytesRead = SUCCEEDED(result) ? got : 0;
        return SUCCEEDED(result);
    }

    bool Seek(int64_t offset, SeekOrigin origin, uint64_t& position) override {
        LARGE_INTEGER move;
        move.QuadPart = offset;
        ULARGE_INTEGER now;
        now.QuadPart = 0;
        if (FAILED(stream_.get()->Seek(move, static_cast<DWORD>(origin), &now)))
            return false;
        position = now.QuadPart;
        return true;
    }

    std::unique_ptr<StorageStream> Clone() override {
        IStream* copy = nullptr;
        if (FAILED(stream_.get()->Clone(&copy)) || copy == nullptr)
            return nullptr;
        return std::make_unique<ComStream>(copy);
    }

private:
    ComRef<IStream> stream_;
};

class ComStorage : public Storage {
public:
    explicit ComStorage(IStorage* storage) : storage_(storage) {}

    std::unique_ptr<StorageStream> OpenStream(std::u16string_view name) override {
        std::wstring text(name.begin(), name.end());
        IStream* stream = nullptr;
        if (FAILED(storage_.get()->OpenStream(text.c_str(), nullptr,
                                              STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)) ||
            stream == nullptr)
            return nullptr;
        return std::make_unique<ComStream>(stream);
    }

private:
    ComRef<IStorage> storage_;
};

}  // namespace

std::unique_ptr<Storage> OpenStorage(std::u16string_view path) {
    if (path.empty())
        return nullptr;
    std::wstring text(path.begin(), path.end());
    IStorage* storage = nullptr;
    if (FAILED(StgOpenStorage(text.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0,
                              &storage)) ||
        storage == nullptr)
        return nullptr;
    return std::make_unique<ComStorage>(storage);
}

std::unique_ptr<Storage> OpenStorage(ContentFile& file) {
    return file.MayBeCompoundFile() ? OpenStorage(file.path()) : nullptr;
}

}  // namespace platform
