// The PE version reader on arbitrary bytes: finding the resource must not
// read outside the file, allocate more than it holds, or loop; every answer
// of a query must lie inside the version block.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "formats/PeVersion.h"

namespace {

using formats::pe::QueryVersionBlock;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// Queries a version block the way the loader does, and touches every byte of
// every answer so that an answer outside the block shows.
void QueryAll(const uint8_t* block, size_t size, const std::u16string& extra) {
    static const char16_t* const kNames[] = {
        u"FileVersion", u"FileDescription", u"InternalName",    u"CompanyName",
        u"Comments",    u"LegalCopyright",  u"LegalTrademarks", u"OriginalFilename",
        u"ProductName", u"ProductVersion",  u"PrivateBuild",    u"SpecialBuild"};
    std::vector<std::u16string> paths = {
        u"\\", u"", u"\\\\", u"\\VarFileInfo\\Translation", u"\\StringFileInfo", u"VarFileInfo\\",
        extra};
    size_t offset = 0;
    uint32_t length = 0;
    if (QueryVersionBlock(block, size, u"\\VarFileInfo\\Translation", offset, length) &&
        length >= 4) {
        const uint8_t* value = block + offset;
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", Word(value),
                      Word(value + 2));
        const std::u16string table(prefix, prefix + std::strlen(prefix));
        for (const char16_t* name : kNames)
            paths.push_back(table + name);
    }
    for (const std::u16string& path : paths) {
        if (!QueryVersionBlock(block, size, path, offset, length))
            continue;
        Check(offset <= size);
        // The length counts characters or bytes: either way inside the block.
        Check(length <= size - offset);
        std::vector<uint8_t> copy(block + offset, block + offset + length);
        Check(copy.size() == length);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A query path taken from the input's first bytes.
    std::u16string extra;
    for (size_t i = 0; i + 1 < size && i < 64; i += 2)
        extra += static_cast<char16_t>(Word(data + i));

    // The input as a PE file.
    const formats::MemorySource file(data, size);
    for (uint16_t language : {uint16_t{0x0409}, uint16_t{0x0407}}) {
        formats::pe::ResourceLocation where;
        if (!formats::pe::FindVersionResource(file, language, where))
            continue;
        Check(where.offset <= size && where.size <= size - where.offset);
        // What the block of GetFileVersionInfo holds: the resource, its root
        // length kept within what was copied.
        std::vector<uint8_t> block(data + where.offset, data + where.offset + where.size);
        if (block.size() >= 2 && Word(block.data()) > block.size()) {
            block[0] = static_cast<uint8_t>(block.size());
            block[1] = static_cast<uint8_t>(block.size() >> 8);
        }
        QueryAll(block.data(), block.size() >= 2 ? Word(block.data()) : 0, extra);
    }

    // The input as a version block.
    QueryAll(data, size, extra);
    return 0;
}
