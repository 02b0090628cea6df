#include "formats/PosixAcl.h"

#include "formats/LittleEndian.h"

namespace formats::posixacl {

namespace {
constexpr uint32_t kVersion = 2;
constexpr size_t kHeaderSize = 4;
constexpr size_t kEntrySize = 8;
}  // namespace

bool ReadAclAttribute(const uint8_t* bytes, size_t size, std::vector<Entry>& entries) {
    entries.clear();
    if (bytes == nullptr || size < kHeaderSize || (size - kHeaderSize) % kEntrySize != 0 ||
        U32At(bytes) != kVersion)
        return false;
    entries.reserve((size - kHeaderSize) / kEntrySize);
    for (size_t at = kHeaderSize; at < size; at += kEntrySize)
        entries.push_back({U16At(bytes + at), static_cast<uint16_t>(U16At(bytes + at + 2) & 7),
                           U32At(bytes + at + 4)});
    return true;
}

}  // namespace formats::posixacl
