// A small writer of compound files for the tests: one root storage holding
// streams, version 3 (512-byte sectors) or 4 (4096-byte sectors). Streams
// under 4096 bytes go to the mini stream. The layout it reports lets a test
// damage the file in known places.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_cfb {

struct StreamSpec {
    std::u16string name;
    std::string bytes;
};

struct WriterOptions {
    int version = 3;
    // Free sectors placed before the large streams, so that those lie far
    // into the file (enough of them need FAT sectors listed in DIFAT sectors).
    uint32_t fillerSectors = 0;
};

struct WrittenLayout {
    uint32_t sectorSize = 0;
    std::vector<uint32_t> fatSectors;
    std::vector<uint32_t> difatSectors;
    uint32_t firstDirectorySector = 0;
    uint32_t directorySectorCount = 0;
    // Directory index of each stream, in the order given.
    std::vector<uint32_t> streamEntries;
    // First sector of each stream that is not in the mini stream (else the
    // first mini sector).
    std::vector<uint32_t> streamStarts;
    uint32_t miniStreamStart = 0;

    uint64_t SectorOffset(uint32_t sector) const {
        return (static_cast<uint64_t>(sector) + 1) * sectorSize;
    }
    uint64_t EntryOffset(uint32_t index) const;
    // Where the FAT entry of `sector` is stored.
    uint64_t FatEntryOffset(uint32_t sector) const;
};

std::string WriteCompoundFile(const std::vector<StreamSpec>& streams,
                              const WriterOptions& options = {}, WrittenLayout* layout = nullptr);

// Little-endian helpers for tests that patch bytes.
void PutU16(std::string& bytes, uint64_t offset, uint16_t value);
void PutU32(std::string& bytes, uint64_t offset, uint32_t value);
void PutU64(std::string& bytes, uint64_t offset, uint64_t value);

}  // namespace testing_cfb
