// The ACL attribute reader on arbitrary bytes: it accepts exactly the values
// made of a version and whole entries, and reads no byte beyond them.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/PosixAcl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly `size` bytes, so that a read past the end shows.
    std::vector<uint8_t> value(data, data + size);
    std::vector<formats::posixacl::Entry> entries;
    if (formats::posixacl::ReadAclAttribute(value.data(), value.size(), entries)) {
        if (size < 4 || entries.size() != (size - 4) / 8 || (size - 4) % 8 != 0)
            std::abort();
        for (const auto& entry : entries)
            if (entry.permissions > 7)
                std::abort();
    }
    return 0;
}
