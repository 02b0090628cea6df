// Little-endian integers at any byte address (file formats store them
// unaligned).
#pragma once

#include <cstdint>

namespace formats {

inline uint16_t U16At(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t U32At(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline uint64_t U64At(const uint8_t* p) {
    return static_cast<uint64_t>(U32At(p)) | static_cast<uint64_t>(U32At(p + 4)) << 32;
}

}  // namespace formats
