// The compound-file reader on arbitrary bytes: opening, looking names up in
// the directory tree and reading every stream must not crash, read outside
// the input, allocate beyond it or hang.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/CompoundFile.h"

namespace {

using namespace formats::cfb;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto file = CompoundFile::Open(std::make_shared<formats::MemorySource>(
        std::string(reinterpret_cast<const char*>(data), size)));
    if (!file)
        return 0;
    Check(file->sectorSize() == 512 || file->sectorSize() == 4096);
    // Every directory sector is a sector of the input.
    Check(static_cast<uint64_t>(file->EntryCount()) * 128 <= size);

    const uint32_t entries = std::min<uint32_t>(file->EntryCount(), 512);
    std::vector<uint8_t> buffer(1000);
    for (uint32_t index = 0; index < entries; ++index) {
        DirectoryEntry entry;
        if (!file->ReadEntry(index, entry))
            continue;
        Check(entry.name.size() <= 31);
        // A name found from the root is an entry of that name.
        const uint32_t found = file->FindChild(0, entry.name);
        if (found != kNoEntry) {
            DirectoryEntry other;
            Check(file->ReadEntry(found, other));
            Check(CompareEntryNames(other.name, entry.name) == 0);
        }
        if (entry.type == kEntryStorage)
            file->FindChild(index, u"\x05SummaryInformation");

        StreamLayout layout;
        if (!file->OpenStream(index, layout))
            continue;
        const uint32_t unit = layout.mini ? 64 : file->sectorSize();
        Check(layout.size <= static_cast<uint64_t>(layout.sectors.size()) * unit);
        Check(layout.sectors.size() <= size / 64 + 1);
        uint64_t position = 0;
        for (;;) {
            const size_t got = file->ReadStream(layout, position, buffer.data(), buffer.size());
            Check(got <= buffer.size());
            if (got == 0)
                break;
            position += got;
        }
        Check(position <= layout.size);
        // Reads at odd places, past the end included.
        file->ReadStream(layout, layout.size / 3 + 1, buffer.data(), 77);
        Check(file->ReadStream(layout, layout.size, buffer.data(), 10) == 0);
    }
    file->FindChild(0, u"\x05SummaryInformation");
    return 0;
}
