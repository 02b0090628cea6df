// The reader of version resources in PE files (PE32 and PE32+).
//
// It reads the file through a ByteSource and never touches the file system
// itself, so it can be fuzzed and runs on both builds. Every offset and size the file
// claims is checked against the file before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/ByteSource.h"

namespace formats {
namespace pe {

// Where the resource's bytes lie in the file.
struct ResourceLocation {
    uint64_t offset = 0;
    uint32_t size = 0;
};

// The version resource (type RT_VERSION, id 1) in the language Windows's
// resource loader picks: `userLanguage`, then neutral (0), then English
// (United States), then the first. False when the file is not a PE image,
// has no such resource, or the resource does not lie inside the file.
bool FindVersionResource(const ByteSource& file, uint16_t userLanguage, ResourceLocation& where);

// VerQueryValueW on a version block of `size` bytes (VS_VERSIONINFO at its
// start): on success `valueOffset` is the value's offset in the block and
// `length` its length (characters for a string, bytes otherwise), cut to
// what the block holds.
bool QueryVersionBlock(const uint8_t* block, size_t size, std::u16string_view subBlock,
                       size_t& valueOffset, uint32_t& length);

}  // namespace pe
}  // namespace formats
