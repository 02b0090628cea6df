// A read-only reader of the compound file format (MS-CFB, versions 3 and 4)
// over any source of bytes: header, DIFAT with its chain of extra sectors,
// FAT, mini FAT and mini stream, and the directory, searched as the
// red-black tree it is.
//
// Damaged files never make it read outside the source, allocate more than
// the source holds or loop: a chain that loops, leaves the file or ends early
// is cut where it goes wrong, and a stream is as long as what its chain holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formats/ByteSource.h"

namespace formats {
namespace cfb {

constexpr uint32_t kNoEntry = 0xFFFFFFFF;

enum EntryType : uint8_t {
    kEntryUnused = 0,
    kEntryStorage = 1,
    kEntryStream = 2,
    kEntryRoot = 5,
};

struct DirectoryEntry {
    std::u16string name;
    uint8_t type = kEntryUnused;
    uint32_t left = kNoEntry;
    uint32_t right = kNoEntry;
    uint32_t child = kNoEntry;
    uint32_t startSector = 0;
    uint64_t size = 0;
};

// The sectors of one open stream, resolved once.
struct StreamLayout {
    bool mini = false;  // in the mini stream, in 64-byte sectors
    // The bytes that can be read: the recorded size, cut to what the
    // stream's chain holds.
    uint64_t size = 0;
    std::vector<uint32_t> sectors;
};

// Directory names order by length first, then unit by unit after simple
// upper-casing: below, at or above 0.
int CompareEntryNames(std::u16string_view a, std::u16string_view b);

class CompoundFile {
public:
    // Null unless the source starts with a valid header and its directory
    // holds a root entry.
    static std::shared_ptr<CompoundFile> Open(std::shared_ptr<ByteSource> source);

    uint16_t majorVersion() const { return majorVersion_; }
    uint32_t sectorSize() const { return sectorSize_; }

    // Directory entries there is room for in the directory's chain.
    uint32_t EntryCount() const;
    bool ReadEntry(uint32_t index, DirectoryEntry& entry);

    // The entry called `name` among the children of the storage at
    // `parent` (0 for the root); kNoEntry when there is none.
    uint32_t FindChild(uint32_t parent, std::u16string_view name);

    // The layout of the stream at entry `index`; false when that entry is
    // not a stream.
    bool OpenStream(uint32_t index, StreamLayout& layout);

    // Copies up to `count` bytes of a stream from `position`; returns how many.
    size_t ReadStream(const StreamLayout& layout, uint64_t position, void* buffer, size_t count);

private:
    CompoundFile() = default;
    bool ReadHeader();
    bool LoadFatSectorList(const uint8_t* header);
    // The FAT's entry for `sector`; false when it cannot be read.
    bool FatEntry(uint32_t sector, uint32_t& next);
    bool MiniFatEntry(uint32_t sector, uint32_t& next);
    // The chain from `start` through the FAT, at most `limit` sectors long,
    // cut at the first sector outside the file or already in the chain.
    std::vector<uint32_t> RegularChain(uint32_t start, uint64_t limit);
    std::vector<uint32_t> MiniChain(uint32_t start, uint64_t limit);
    bool EnsureMiniStream();
    uint64_t SectorOffset(uint32_t sector) const {
        return (static_cast<uint64_t>(sector) + 1) * sectorSize_;
    }
    uint64_t StreamSize(const uint8_t* entryBytes) const;

    std::shared_ptr<ByteSource> source_;
    uint16_t majorVersion_ = 0;
    uint32_t sectorSize_ = 512;
    uint32_t sectorCount_ = 0;  // sectors that start inside the source
    uint32_t miniStreamCutoff_ = 4096;
    uint32_t firstDirectorySector_ = 0;
    uint32_t firstMiniFatSector_ = 0;
    std::vector<uint32_t> fatSectors_;
    std::vector<uint32_t> directorySectors_;

    // The FAT sector read last, which most chain steps find again.
    uint32_t cachedFatIndex_ = kNoEntry;
    std::vector<uint32_t> cachedFat_;

    bool miniStreamLoaded_ = false;
    uint64_t miniStreamSize_ = 0;
    std::vector<uint32_t> miniStreamSectors_;
    std::vector<uint32_t> miniFatSectors_;
};

}  // namespace cfb
}  // namespace formats
