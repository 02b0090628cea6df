// Structured storage (compound files), read-only: a storage opened by path,
// the streams of its root, and the three stream operations the property-set
// reader uses.
//
// Windows: StgOpenStorage, IStorage::OpenStream and IStream Read/Seek/Clone.
// POSIX: our own reader of the compound file format (versions 3 and 4).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/ContentFile.h"

namespace platform {

enum class SeekOrigin : uint32_t { Begin = 0, Current = 1, End = 2 };

class StorageStream {
public:
    virtual ~StorageStream() = default;

    // Reads up to `count` bytes at the current position and moves past them;
    // `bytesRead` gets how many (fewer, or none, at the end of the stream).
    // False when the read itself failed.
    virtual bool Read(void* buffer, uint32_t count, uint32_t& bytesRead) = 0;

    // Moves the position; `position` gets the new one. A position past the
    // end is allowed (reads there return nothing); one before the start fails
    // and leaves the position where it was.
    virtual bool Seek(int64_t offset, SeekOrigin origin, uint64_t& position) = 0;

    // A second stream over the same bytes, starting at the same position and
    // moving independently; null when it cannot be made.
    virtual std::unique_ptr<StorageStream> Clone() = 0;
};

class Storage {
public:
    virtual ~Storage() = default;

    // The stream `name` in the root of the storage (names compare without
    // regard to case), opened for reading; null when there is none.
    virtual std::unique_ptr<StorageStream> OpenStream(std::u16string_view name) = 0;
};

// Opens the file at `path` for reading while denying others write access
// (STGM_READ | STGM_SHARE_DENY_WRITE); null for a missing or unreadable
// file, a directory, and anything that is not a compound file.
std::unique_ptr<Storage> OpenStorage(std::u16string_view path);
// The same on a file already opened.
std::unique_ptr<Storage> OpenStorage(ContentFile& file);

// A stream over a copy of `bytes` held in memory: our own on both builds,
// with the stream rules above.
std::unique_ptr<StorageStream> OpenMemoryStream(std::string_view bytes);

// Where a seek from `current` in a stream of `size` bytes leads; false
// before the start (or beyond what a signed 64-bit offset reaches).
bool SeekTarget(uint64_t current, uint64_t size, int64_t offset, SeekOrigin origin,
                uint64_t& position);

}  // namespace platform
