#include "formats/CompoundFile.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "formats/LittleEndian.h"
#include "platform/CaseMapping.h"

namespace formats {
namespace cfb {
namespace {

constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr size_t kHeaderBytes = 512;
constexpr size_t kHeaderFatEntries = 109;
constexpr uint32_t kEntryBytes = 128;
constexpr uint32_t kMiniSectorSize = 64;
// Sector numbers above this one are markers (free, end of chain, ...).
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;

uint64_t CeilDiv(uint64_t value, uint64_t unit) {
    return value / unit + (value % unit != 0 ? 1 : 0);
}

// Follows a chain from `start` through `next`, at most `limit` links,
// stopping at the first sector outside `count` or already on the chain.
// What is remembered grows with the chain, never with the file.
template <typename Next>
std::vector<uint32_t> WalkChain(uint32_t start, uint64_t limit, uint64_t count, Next next) {
    constexpr size_t kScanned = 32;  // short chains are searched, longer ones hashed
    std::vector<uint32_t> chain;
    std::unordered_set<uint32_t> seen;
    uint32_t sector = start;
    while (chain.size() < limit && sector < count) {
        if (chain.size() < kScanned) {
            if (std::find(chain.begin(), chain.end(), sector) != chain.end())
                break;
        } else {
            if (seen.empty())
                seen.insert(chain.begin(), chain.end());
            if (!seen.insert(sector).second)
                break;
        }
        chain.push_back(sector);
        if (chain.size() == limit || !next(sector, sector))
            break;
    }
    return chain;
}

}  // namespace

int CompareEntryNames(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = platform::UpperCaseUnit(a[i]), y = platform::UpperCaseUnit(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

std::shared_ptr<CompoundFile> CompoundFile::Open(std::shared_ptr<ByteSource> source) {
    if (!source)
        return nullptr;
    std::shared_ptr<CompoundFile> file(new CompoundFile());
    file->source_ = std::move(source);
    if (!file->ReadHeader())
        return nullptr;
    return file;
}

bool CompoundFile::ReadHeader() {
    uint8_t header[kHeaderBytes];
    if (source_->ReadAt(0, header, kHeaderBytes) != kHeaderBytes)
        return false;
    if (std::memcmp(header, kSignature, sizeof kSignature) != 0 || U16At(header + 28) != 0xFFFE)
        return false;
    majorVersion_ = U16At(header + 26);
    const uint16_t sectorShift = U16At(header + 30);
    if (!(majorVersion_ == 3 && sectorShift == 9) && !(majorVersion_ == 4 && sectorShift == 12))
        return false;
    if (U16At(header + 32) != 6)
        return false;
    miniStreamCutoff_ = U32At(header + 56);
    if (miniStreamCutoff_ != 4096)
        return false;
    sectorSize_ = 1u << sectorShift;
    const uint64_t size = source_->Size();
    const uint64_t sectors = size > sectorSize_ ? CeilDiv(size - sectorSize_, sectorSize_) : 0;
    sectorCount_ = static_cast<uint32_t>(std::min<uint64_t>(sectors, kMaxRegularSector + 1ull));
    firstDirectorySector_ = U32At(header + 48);
    firstMiniFatSector_ = U32At(header + 60);
    if (!LoadFatSectorList(header))
        return false;

    directorySectors_ = RegularChain(firstDirectorySector_, sectorCount_);
    DirectoryEntry root;
    return ReadEntry(0, root) && root.type == kEntryRoot;
}

bool CompoundFile::LoadFatSectorList(const uint8_t* header) {
    // Every FAT sector is a sector of the file, so a larger count is false.
    const uint32_t wanted = std::min(U32At(header + 44), sectorCount_);
    fatSectors_.reserve(wanted);
    for (size_t i = 0; i < kHeaderFatEntries && fatSectors_.size() < wanted; ++i)
        fatSectors_.push_back(U32At(header + 76 + 4 * i));

    // The rest are listed in DIFAT sectors, each ending with the next one's
    // number. The count bounds the walk, so a loop only repeats entries.
    uint32_t difatSector = U32At(header + 68);
    const uint32_t difatCount = std::min(U32At(header + 72), sectorCount_);
    const uint32_t perSector = sectorSize_ / 4 - 1;
    std::vector<uint8_t> bytes(sectorSize_);
    for (uint32_t n = 0; n < difatCount && fatSectors_.size() < wanted; ++n) {
        if (difatSector >= sectorCount_)
            break;
        size_t got = source_->ReadAt(SectorOffset(difatSector), bytes.data(), sectorSize_);
        if (got < sectorSize_)
            break;
        for (uint32_t i = 0; i < perSector && fatSectors_.size() < wanted; ++i)
            fatSectors_.push_back(U32At(bytes.data() + 4 * i));
        difatSector = U32At(bytes.data() + 4 * perSector);
    }
    return true;
}

bool CompoundFile::FatEntry(uint32_t sector, uint32_t& next) {
    const uint32_t perSector = sectorSize_ / 4;
    const uint32_t index = sector / perSector;
    if (index >= fatSectors_.size() || fatSectors_[index] >= sectorCount_)
        return false;
    if (cachedFatIndex_ != index) {
        std::vector<uint8_t> bytes(sectorSize_);
        size_t got = source_->ReadAt(SectorOffset(fatSectors_[index]), bytes.data(), sectorSize_);
        cachedFat_.assign(perSector, 0xFFFFFFFF);  // a cut sector holds free entries
        for (size_t i = 0; i < got / 4; ++i)
            cachedFat_[i] = U32At(bytes.data() + 4 * i);
        cachedFatIndex_ = index;
    }
    next = cachedFat_[sector % perSector];
    return true;
}

bool CompoundFile::MiniFatEntry(uint32_t sector, uint32_t& next) {
    const uint64_t offset = static_cast<uint64_t>(sector) * 4;
    const uint64_t index = offset / sectorSize_;
    if (index >= miniFatSectors_.size())
        return false;
    uint8_t bytes[4];
    if (source_->ReadAt(SectorOffset(miniFatSectors_[index]) + offset % sectorSize_, bytes, 4) != 4)
        return false;
    next = U32At(bytes);
    return true;
}

std::vector<uint32_t> CompoundFile::RegularChain(uint32_t start, uint64_t limit) {
    limit = std::min<uint64_t>(limit, sectorCount_);
    return WalkChain(start, limit, sectorCount_,
                     [this](uint32_t sector, uint32_t& next) { return FatEntry(sector, next); });
}

std::vector<uint32_t> CompoundFile::MiniChain(uint32_t start, uint64_t limit) {
    const uint64_t miniSectors = CeilDiv(miniStreamSize_, kMiniSectorSize);
    limit = std::min(limit, miniSectors);
    return WalkChain(start, limit, miniSectors, [this](uint32_t sector, uint32_t& next) {
        return MiniFatEntry(sector, next);
    });
}

bool CompoundFile::EnsureMiniStream() {
    if (miniStreamLoaded_)
        return true;
    miniStreamLoaded_ = true;
    DirectoryEntry root;
    if (!ReadEntry(0, root))
        return false;
    miniStreamSectors_ = RegularChain(root.startSector, CeilDiv(root.size, sectorSize_));
    miniStreamSize_ = std::min<uint64_t>(
        root.size, static_cast<uint64_t>(miniStreamSectors_.size()) * sectorSize_);
    miniFatSectors_ = RegularChain(firstMiniFatSector_, sectorCount_);
    return true;
}

uint32_t CompoundFile::EntryCount() const {
    return static_cast<uint32_t>(std::min<uint64_t>(
        static_cast<uint64_t>(directorySectors_.size()) * (sectorSize_ / kEntryBytes), kNoEntry));
}

uint64_t CompoundFile::StreamSize(const uint8_t* entryBytes) const {
    uint64_t size = U64At(entryBytes + 120);
    // Version 3 writers may leave garbage in the upper half.
    return majorVersion_ == 3 ? size & 0xFFFFFFFFu : size;
}

bool CompoundFile::ReadEntry(uint32_t index, DirectoryEntry& entry) {
    if (index >= EntryCount())
        return false;
    const uint64_t offset = static_cast<uint64_t>(index) * kEntryBytes;
    const uint32_t sector = directorySectors_[offset / sectorSize_];
    uint8_t bytes[kEntryBytes];
    if (source_->ReadAt(SectorOffset(sector) + offset % sectorSize_, bytes, kEntryBytes) !=
        kEntryBytes)
        return false;
    entry = DirectoryEntry();
    const uint16_t nameBytes = U16At(bytes + 64);
    if (nameBytes >= 2 && nameBytes <= 64 && nameBytes % 2 == 0) {
        for (size_t i = 0; i + 1 < nameBytes / 2u; ++i) {
            char16_t unit = U16At(bytes + 2 * i);
            if (unit == 0)
                break;
            entry.name += unit;
        }
    }
    entry.type = bytes[66];
    entry.left = U32At(bytes + 68);
    entry.right = U32At(bytes + 72);
    entry.child = U32At(bytes + 76);
    entry.startSector = U32At(bytes + 116);
    entry.size = StreamSize(bytes);
    return true;
}

uint32_t CompoundFile::FindChild(uint32_t parent, std::u16string_view name) {
    DirectoryEntry entry;
    if (!ReadEntry(parent, entry) || (entry.type != kEntryStorage && entry.type != kEntryRoot))
        return kNoEntry;
    // A sound tree is searched in fewer steps than it has entries; more
    // steps mean a cycle.
    const uint32_t maxSteps = EntryCount();
    uint32_t node = entry.child;
    for (uint32_t steps = 0; node != kNoEntry && steps < maxSteps; ++steps) {
        if (!ReadEntry(node, entry) || entry.type == kEntryUnused)
            return kNoEntry;
        int order = CompareEntryNames(name, entry.name);
        if (order == 0)
            return node;
        node = order < 0 ? entry.left : entry.right;
    }
    return kNoEntry;
}

bool CompoundFile::OpenStream(uint32_t index, StreamLayout& layout) {
    layout = StreamLayout();
    DirectoryEntry entry;
    if (!ReadEntry(index, entry) || entry.type != kEntryStream)
        return false;
    if (entry.size < miniStreamCutoff_) {
        layout.mini = true;
        EnsureMiniStream();
        layout.sectors = MiniChain(entry.startSector, CeilDiv(entry.size, kMiniSectorSize));
        layout.size = std::min<uint64_t>(
            entry.size, static_cast<uint64_t>(layout.sectors.size()) * kMiniSectorSize);
    } else {
        layout.sectors = RegularChain(entry.startSector, CeilDiv(entry.size, sectorSize_));
        layout.size = std::min<uint64_t>(
            entry.size, static_cast<uint64_t>(layout.sectors.size()) * sectorSize_);
    }
    return true;
}

size_t CompoundFile::ReadStream(const StreamLayout& layout, uint64_t position, void* buffer,
                                size_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    const uint32_t unit = layout.mini ? kMiniSectorSize : sectorSize_;
    size_t done = 0;
    while (done < count && position < layout.size) {
        const uint64_t index = position / unit;
        const uint32_t within = static_cast<uint32_t>(position % unit);
        if (index >= layout.sectors.size())
            break;
        const size_t wanted = static_cast<size_t>(
            std::min<uint64_t>({unit - within, count - done, layout.size - position}));
        uint64_t offset;
        if (layout.mini) {
            // A mini sector never straddles two sectors: 64 divides both sizes.
            const uint64_t inMiniStream =
                static_cast<uint64_t>(layout.sectors[index]) * kMiniSectorSize + within;
            const uint64_t sector = inMiniStream / sectorSize_;
            if (sector >= miniStreamSectors_.size())
                break;
            offset = SectorOffset(miniStreamSectors_[sector]) + inMiniStream % sectorSize_;
        } else {
            offset = SectorOffset(layout.sectors[index]) + within;
        }
        const size_t got = source_->ReadAt(offset, out + done, wanted);
        done += got;
        position += got;
        if (got < wanted)
            break;
    }
    return done;
}

}  // namespace cfb
}  // namespace formats
