#include "formats/PeVersion.h"

#include <cstring>
#include <vector>

#include "formats/LittleEndian.h"
#include "platform/CaseMapping.h"

namespace formats {
namespace pe {
namespace {

constexpr uint32_t kResourceTypeVersion = 16;  // RT_VERSION
constexpr uint32_t kVersionResourceId = 1;     // VS_VERSION_INFO
constexpr uint16_t kLanguageNeutral = 0x0000;
constexpr uint16_t kLanguageEnglishUs = 0x0409;

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kSubdirectoryBit = 0x80000000;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kDirectoryEntrySize = 8;

// Version block nodes: wLength, wValueLength, wType, then szKey.
constexpr size_t kNodeHeaderSize = 6;

size_t Align4(size_t offset) {
    return (offset + 3) & ~static_cast<size_t>(3);
}

struct Section {
    uint32_t virtualAddress;
    uint32_t rawSize;
    uint32_t rawPointer;
};

struct DirectoryEntry {
    uint32_t name;  // an id, or a name's offset with the top bit set
    uint32_t data;  // a subdirectory's offset with the top bit set, else a data entry's
};

class Image {
public:
    explicit Image(const ByteSource& file) : file_(file) {}

    // Reads the headers and the section table; false when they are not those
    // of a PE32 or PE32+ image with a resource directory.
    bool Open() {
        uint8_t dos[64];
        if (!file_.ReadExact(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
            return false;
        const uint64_t peOffset = U32At(dos + 0x3C);
        uint8_t headers[24];
        if (!file_.ReadExact(peOffset, headers, sizeof headers) ||
            std::memcmp(headers, "PE\0\0", 4) != 0)
            return false;
        const uint16_t sectionCount = U16At(headers + 6);
        const uint16_t optionalSize = U16At(headers + 20);
        const uint64_t optionalOffset = peOffset + sizeof headers;

        uint8_t magic[2];
        if (!file_.ReadExact(optionalOffset, magic, sizeof magic))
            return false;
        size_t countOffset = 0;
        if (U16At(magic) == kPe32Magic)
            countOffset = 92;
        else if (U16At(magic) == kPe32PlusMagic)
            countOffset = 108;
        else
            return false;
        const size_t directoryOffset = countOffset + 4 + kResourceDirectoryIndex * 8;
        if (optionalSize < directoryOffset + 8)
            return false;
        uint8_t count[4], directory[8];
        if (!file_.ReadExact(optionalOffset + countOffset, count, sizeof count) ||
            U32At(count) <= kResourceDirectoryIndex ||
            !file_.ReadExact(optionalOffset + directoryOffset, directory, sizeof directory))
            return false;
        const uint32_t resourceRva = U32At(directory);
        if (resourceRva == 0 || U32At(directory + 4) == 0)
            return false;

        // The table is read whole, once it is known to lie inside the file.
        const uint64_t tableOffset = optionalOffset + optionalSize;
        const uint64_t tableSize = uint64_t{sectionCount} * kSectionHeaderSize;
        if (tableOffset > file_.Size() || tableSize > file_.Size() - tableOffset)
            return false;
        std::vector<uint8_t> table(static_cast<size_t>(tableSize));
        if (!file_.ReadExact(tableOffset, table.data(), table.size()))
            return false;
        sections_.reserve(sectionCount);
        for (size_t i = 0; i < sectionCount; ++i) {
            const uint8_t* header = table.data() + i * kSectionHeaderSize;
            sections_.push_back({U32At(header + 12), U32At(header + 16), U32At(header + 20)});
        }
        return FileOffset(resourceRva, resourceBase_);
    }

    // The file offset of an address in the loaded image.
    bool FileOffset(uint32_t rva, uint64_t& offset) const {
        for (const Section& section : sections_) {
            if (rva >= section.virtualAddress && rva - section.virtualAddress < section.rawSize) {
                offset = uint64_t{section.rawPointer} + (rva - section.virtualAddress);
                return offset < file_.Size();
            }
        }
        return false;
    }

    // The entries of the resource directory at `offset` (from the start of
    // the resource section).
    bool ReadDirectory(uint32_t offset, std::vector<DirectoryEntry>& entries) const {
        uint8_t header[16];
        const uint64_t at = resourceBase_ + offset;
        if (!file_.ReadExact(at, header, sizeof header))
            return false;
        const size_t count = size_t{U16At(header + 12)} + U16At(header + 14);
        const uint64_t first = at + sizeof header;
        if (first > file_.Size() || count * kDirectoryEntrySize > file_.Size() - first)
            return false;
        std::vector<uint8_t> bytes(count * kDirectoryEntrySize);
        if (!file_.ReadExact(first, bytes.data(), bytes.size()))
            return false;
        entries.clear();
        entries.reserve(count);
        for (size_t i = 0; i < count; ++i)
            entries.push_back({U32At(&bytes[i * kDirectoryEntrySize]),
                               U32At(&bytes[i * kDirectoryEntrySize + 4])});
        return true;
    }

    // The offset of the subdirectory named by `id`.
    bool Subdirectory(uint32_t offset, uint32_t id, uint32_t& subdirectory) const {
        std::vector<DirectoryEntry> entries;
        if (!ReadDirectory(offset, entries))
            return false;
        for (const DirectoryEntry& entry : entries) {
            if (entry.name == id) {
                if ((entry.data & kSubdirectoryBit) == 0)
                    return false;
                subdirectory = entry.data & ~kSubdirectoryBit;
                return true;
            }
        }
        return false;
    }

    bool DataEntry(uint32_t offset, ResourceLocation& where) const {
        uint8_t entry[8];
        uint64_t dataOffset = 0;
        if (!file_.ReadExact(resourceBase_ + offset, entry, sizeof entry) ||
            !FileOffset(U32At(entry), dataOffset))
            return false;
        const uint32_t size = U32At(entry + 4);
        if (size > file_.Size() - dataOffset)
            return false;
        where.offset = dataOffset;
        where.size = size;
        return true;
    }

private:
    const ByteSource& file_;
    std::vector<Section> sections_;
    uint64_t resourceBase_ = 0;
};

const DirectoryEntry* ChooseLanguage(const std::vector<DirectoryEntry>& entries,
                                     uint16_t userLanguage) {
    for (uint16_t language : {userLanguage, kLanguageNeutral, kLanguageEnglishUs})
        for (const DirectoryEntry& entry : entries)
            if (entry.name == language)
                return &entry;
    return entries.empty() ? nullptr : &entries.front();
}

// One node of a version block.
struct Node {
    size_t end;       // where the node ends, within its parent
    size_t keyStart;  // szKey, in units
    size_t keyLength;
    size_t value;     // the value's offset
    size_t children;  // the first child's offset
    uint16_t length;  // wLength
    uint16_t valueLength;
    uint16_t type;
};

bool ReadNode(const uint8_t* block, size_t limit, size_t start, Node& node) {
    if (start > limit || limit - start < kNodeHeaderSize)
        return false;
    node.length = U16At(block + start);
    node.valueLength = U16At(block + start + 2);
    node.type = U16At(block + start + 4);
    if (node.length < kNodeHeaderSize)
        return false;
    node.end = start + node.length < limit ? start + node.length : limit;
    node.keyStart = start + kNodeHeaderSize;
    size_t at = node.keyStart;
    while (at + 2 <= node.end && U16At(block + at) != 0)
        at += 2;
    if (at + 2 > node.end)
        return false;  // a key without its NUL
    node.keyLength = (at - node.keyStart) / 2;
    node.value = Align4(at + 2);
    node.children = Align4(node.value + size_t{node.valueLength} * (node.type != 0 ? 2 : 1));
    return true;
}

bool KeyMatches(const uint8_t* block, const Node& node, std::u16string_view name) {
    if (node.keyLength != name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char16_t unit = static_cast<char16_t>(U16At(block + node.keyStart + 2 * i));
        if (platform::UpperCaseUnit(unit) != platform::UpperCaseUnit(name[i]))
            return false;
    }
    return true;
}

bool FindChild(const uint8_t* block, const Node& parent, std::u16string_view name, Node& found) {
    size_t at = parent.children;
    while (at < parent.end) {
        Node child;
        if (!ReadNode(block, parent.end, at, child))
            return false;
        if (KeyMatches(block, child, name)) {
            found = child;
            return true;
        }
        at += Align4(child.length);  // at least 8: every step moves on
    }
    return false;
}

}  // namespace

bool FindVersionResource(const ByteSource& file, uint16_t userLanguage, ResourceLocation& where) {
    Image image(file);
    uint32_t names = 0, languages = 0;
    if (!image.Open() || !image.Subdirectory(0, kResourceTypeVersion, names) ||
        !image.Subdirectory(names, kVersionResourceId, languages))
        return false;
    std::vector<DirectoryEntry> entries;
    if (!image.ReadDirectory(languages, entries))
        return false;
    const DirectoryEntry* chosen = ChooseLanguage(entries, userLanguage);
    if (chosen == nullptr || (chosen->data & kSubdirectoryBit) != 0)
        return false;
    return image.DataEntry(chosen->data, where);
}

bool QueryVersionBlock(const uint8_t* block, size_t size, std::u16string_view subBlock,
                       size_t& valueOffset, uint32_t& length) {
    Node node;
    if (!ReadNode(block, size, 0, node))
        return false;
    size_t at = 0;
    while (at < subBlock.size()) {
        if (subBlock[at] == u'\\') {
            ++at;
            continue;
        }
        size_t end = subBlock.find(u'\\', at);
        if (end == std::u16string_view::npos)
            end = subBlock.size();
        Node child;
        if (!FindChild(block, node, subBlock.substr(at, end - at), child))
            return false;
        node = child;
        at = end;
    }
    // The length is the node's own; only what lies inside the block is
    // handed out.
    const size_t unit = node.type != 0 ? 2 : 1;
    valueOffset = node.value < size ? node.value : size;
    const size_t room = (size - valueOffset) / unit;
    length = node.valueLength < room ? node.valueLength : static_cast<uint32_t>(room);
    return true;
}

}  // namespace pe
}  // namespace formats
