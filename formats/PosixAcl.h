// The access ACL of a Linux file as the kernel hands it out in the
// "system.posix_acl_access" extended attribute: a 32-bit version (2), then
// one 8-byte entry per ACL entry (tag, permissions, id), little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace formats::posixacl {

// Entry tags.
constexpr uint16_t kOwner = 0x01;
constexpr uint16_t kNamedUser = 0x02;
constexpr uint16_t kOwningGroup = 0x04;
constexpr uint16_t kNamedGroup = 0x08;
constexpr uint16_t kMask = 0x10;
constexpr uint16_t kOther = 0x20;

struct Entry {
    uint16_t tag;
    uint16_t permissions;  // 4 r, 2 w, 1 x
    uint32_t id;           // user or group id of a named entry
};

// The entries of an attribute's value; false when the value is not one: an
// unknown version or a partial entry.
bool ReadAclAttribute(const uint8_t* bytes, size_t size, std::vector<Entry>& entries);

}  // namespace formats::posixacl
