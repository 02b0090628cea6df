#include "tests/summary/CompoundFileWriter.h"

#include <algorithm>
#include <functional>

namespace testing_cfb {
namespace {

constexpr uint32_t kFree = 0xFFFFFFFF;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFatMark = 0xFFFFFFFD;
constexpr uint32_t kDifatMark = 0xFFFFFFFC;
constexpr uint32_t kNoEntry = 0xFFFFFFFF;
constexpr uint32_t kMiniCutoff = 4096;
constexpr uint32_t kMiniSector = 64;
constexpr uint32_t kHeaderFatEntries = 109;

uint32_t CeilDiv(uint64_t value, uint64_t unit) {
    return static_cast<uint32_t>((value + unit - 1) / unit);
}

// The directory's order: shorter names first, then by upper-cased units
// (ASCII is all the tests use).
bool NameLess(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size())
        return a.size() < b.size();
    for (size_t i = 0; i < a.size(); ++i) {
        auto up = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
        if (up(a[i]) != up(b[i]))
            return up(a[i]) < up(b[i]);
    }
    return false;
}

struct Entry {
    std::u16string name;
    uint8_t type = 0;
    uint32_t left = kNoEntry, right = kNoEntry, child = kNoEntry;
    uint32_t start = kEndOfChain;
    uint64_t size = 0;
};

}  // namespace

void PutU16(std::string& bytes, uint64_t offset, uint16_t value) {
    bytes[offset] = static_cast<char>(value);
    bytes[offset + 1] = static_cast<char>(value >> 8);
}

void PutU32(std::string& bytes, uint64_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

void PutU64(std::string& bytes, uint64_t offset, uint64_t value) {
    PutU32(bytes, offset, static_cast<uint32_t>(value));
    PutU32(bytes, offset + 4, static_cast<uint32_t>(value >> 32));
}

uint64_t WrittenLayout::EntryOffset(uint32_t index) const {
    const uint64_t at = static_cast<uint64_t>(index) * 128;
    return SectorOffset(firstDirectorySector + static_cast<uint32_t>(at / sectorSize)) +
           at % sectorSize;
}

uint64_t WrittenLayout::FatEntryOffset(uint32_t sector) const {
    const uint32_t perSector = sectorSize / 4;
    return SectorOffset(fatSectors[sector / perSector]) + (sector % perSector) * 4;
}

std::string WriteCompoundFile(const std::vector<StreamSpec>& streams, const WriterOptions& options,
                              WrittenLayout* layoutOut) {
    WrittenLayout layout;
    const uint32_t sectorSize = options.version == 4 ? 4096 : 512;
    const uint32_t perFatSector = sectorSize / 4;
    layout.sectorSize = sectorSize;

    // Directory: the root, then the streams in the order given.
    std::vector<Entry> entries(1 + streams.size());
    entries[0].name = u"Root Entry";
    entries[0].type = 5;
    for (size_t i = 0; i < streams.size(); ++i) {
        entries[i + 1].name = streams[i].name;
        entries[i + 1].type = 2;
        entries[i + 1].size = streams[i].bytes.size();
        layout.streamEntries.push_back(static_cast<uint32_t>(i + 1));
    }
    // A balanced search tree over the sorted names (all black).
    std::vector<uint32_t> sorted;
    for (uint32_t i = 1; i < entries.size(); ++i)
        sorted.push_back(i);
    std::sort(sorted.begin(), sorted.end(),
              [&](uint32_t a, uint32_t b) { return NameLess(entries[a].name, entries[b].name); });
    std::function<uint32_t(size_t, size_t)> build = [&](size_t from, size_t to) -> uint32_t {
        if (from >= to)
            return kNoEntry;
        size_t middle = (from + to) / 2;
        uint32_t node = sorted[middle];
        entries[node].left = build(from, middle);
        entries[node].right = build(middle + 1, to);
        return node;
    };
    entries[0].child = build(0, sorted.size());

    // The mini stream holds the small streams, each from a fresh mini sector.
    std::string miniStream;
    std::vector<uint32_t> miniFat;
    std::vector<size_t> large;
    layout.streamStarts.assign(streams.size(), kEndOfChain);
    for (size_t i = 0; i < streams.size(); ++i) {
        const std::string& bytes = streams[i].bytes;
        if (bytes.size() >= kMiniCutoff) {
            large.push_back(i);
            continue;
        }
        if (bytes.empty())
            continue;
        const uint32_t first = static_cast<uint32_t>(miniStream.size() / kMiniSector);
        const uint32_t count = CeilDiv(bytes.size(), kMiniSector);
        for (uint32_t k = 0; k < count; ++k)
            miniFat.push_back(k + 1 < count ? first + k + 1 : kEndOfChain);
        miniStream += bytes;
        miniStream.resize(static_cast<size_t>(first + count) * kMiniSector, '\0');
        entries[i + 1].start = first;
        layout.streamStarts[i] = first;
    }

    const uint32_t directorySectors = CeilDiv(entries.size() * 128, sectorSize);
    const uint32_t miniFatSectors = CeilDiv(miniFat.size() * 4, sectorSize);
    const uint32_t miniStreamSectors = CeilDiv(miniStream.size(), sectorSize);
    uint32_t largeSectors = 0;
    for (size_t i : large)
        largeSectors += CeilDiv(streams[i].bytes.size(), sectorSize);
    const uint32_t others = directorySectors + miniFatSectors + miniStreamSectors +
                            options.fillerSectors + largeSectors;
    uint32_t fatCount = 1, difatCount = 0;
    for (;;) {
        uint32_t total = others + fatCount + difatCount;
        uint32_t needFat = CeilDiv(total, perFatSector);
        uint32_t needDifat = needFat > kHeaderFatEntries
                                 ? CeilDiv(needFat - kHeaderFatEntries, perFatSector - 1)
                                 : 0;
        if (needFat == fatCount && needDifat == difatCount)
            break;
        fatCount = needFat;
        difatCount = needDifat;
    }
    const uint32_t totalSectors = others + fatCount + difatCount;

    // Placement: FAT, DIFAT, directory, mini FAT, mini stream, filler, large streams.
    std::vector<uint32_t> fat(static_cast<size_t>(fatCount) * perFatSector, kFree);
    uint32_t next = 0;
    auto chain = [&](uint32_t count) {
        const uint32_t first = next;
        for (uint32_t k = 0; k < count; ++k)
            fat[first + k] = k + 1 < count ? first + k + 1 : kEndOfChain;
        next += count;
        return count ? first : kEndOfChain;
    };
    for (uint32_t k = 0; k < fatCount; ++k) {
        layout.fatSectors.push_back(next);
        fat[next++] = kFatMark;
    }
    for (uint32_t k = 0; k < difatCount; ++k) {
        layout.difatSectors.push_back(next);
        fat[next++] = kDifatMark;
    }
    layout.firstDirectorySector = chain(directorySectors);
    layout.directorySectorCount = directorySectors;
    const uint32_t firstMiniFat = chain(miniFatSectors);
    layout.miniStreamStart = chain(miniStreamSectors);
    entries[0].start = layout.miniStreamStart;
    entries[0].size = miniStream.size();
    next += options.fillerSectors;
    for (size_t i : large) {
        entries[i + 1].start = chain(CeilDiv(streams[i].bytes.size(), sectorSize));
        layout.streamStarts[i] = entries[i + 1].start;
    }

    std::string file(static_cast<size_t>(totalSectors + 1) * sectorSize, '\0');
    // Header.
    const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    file.replace(0, 8, reinterpret_cast<const char*>(signature), 8);
    PutU16(file, 24, 0x3E);
    PutU16(file, 26, static_cast<uint16_t>(options.version));
    PutU16(file, 28, 0xFFFE);
    PutU16(file, 30, options.version == 4 ? 12 : 9);
    PutU16(file, 32, 6);
    PutU32(file, 40, options.version == 4 ? directorySectors : 0);
    PutU32(file, 44, fatCount);
    PutU32(file, 48, layout.firstDirectorySector);
    PutU32(file, 56, kMiniCutoff);
    PutU32(file, 60, firstMiniFat);
    PutU32(file, 64, miniFatSectors);
    PutU32(file, 68, difatCount ? layout.difatSectors[0] : kEndOfChain);
    PutU32(file, 72, difatCount);
    for (uint32_t k = 0; k < kHeaderFatEntries; ++k)
        PutU32(file, 76 + 4 * k, k < fatCount ? layout.fatSectors[k] : kFree);

    // DIFAT sectors.
    for (uint32_t d = 0; d < difatCount; ++d) {
        const uint64_t at = layout.SectorOffset(layout.difatSectors[d]);
        for (uint32_t k = 0; k + 1 < perFatSector; ++k) {
            const uint32_t index = kHeaderFatEntries + d * (perFatSector - 1) + k;
            PutU32(file, at + 4 * k, index < fatCount ? layout.fatSectors[index] : kFree);
        }
        PutU32(file, at + 4 * (perFatSector - 1),
               d + 1 < difatCount ? layout.difatSectors[d + 1] : kEndOfChain);
    }
    // FAT.
    for (uint32_t k = 0; k < fatCount; ++k)
        for (uint32_t e = 0; e < perFatSector; ++e)
            PutU32(file, layout.SectorOffset(layout.fatSectors[k]) + 4 * e,
                   fat[static_cast<size_t>(k) * perFatSector + e]);
    // Directory; unused slots have no siblings.
    const uint32_t slots = directorySectors * (sectorSize / 128);
    for (uint32_t index = 0; index < slots; ++index) {
        const uint64_t at = layout.EntryOffset(index);
        Entry entry;
        if (index < entries.size())
            entry = entries[index];
        for (size_t u = 0; u < entry.name.size() && u < 31; ++u)
            PutU16(file, at + 2 * u, entry.name[u]);
        PutU16(file, at + 64,
               entry.name.empty() ? 0 : static_cast<uint16_t>(2 * (entry.name.size() + 1)));
        file[at + 66] = static_cast<char>(entry.type);
        file[at + 67] = 1;  // black
        PutU32(file, at + 68, entry.left);
        PutU32(file, at + 72, entry.right);
        PutU32(file, at + 76, entry.child);
        PutU32(file, at + 116, entry.type ? entry.start : 0);
        PutU64(file, at + 120, entry.size);
    }
    // Mini FAT and mini stream.
    for (size_t k = 0; k < miniFat.size(); ++k)
        PutU32(file, layout.SectorOffset(firstMiniFat) + 4 * k, miniFat[k]);
    for (uint32_t k = 0; k < miniFatSectors * perFatSector; ++k)
        if (k >= miniFat.size())
            PutU32(file, layout.SectorOffset(firstMiniFat) + 4 * k, kFree);
    for (size_t k = 0; k < miniStream.size(); k += sectorSize)
        file.replace(
            layout.SectorOffset(layout.miniStreamStart + static_cast<uint32_t>(k / sectorSize)),
            std::min<size_t>(sectorSize, miniStream.size() - k), miniStream, k,
            std::min<size_t>(sectorSize, miniStream.size() - k));
    // Large streams, in consecutive sectors.
    for (size_t i : large)
        file.replace(layout.SectorOffset(entries[i + 1].start), streams[i].bytes.size(),
                     streams[i].bytes);

    if (layoutOut != nullptr)
        *layoutOut = layout;
    return file;
}

}  // namespace testing_cfb
