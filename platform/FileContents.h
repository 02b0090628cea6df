// Reading a whole (small) file into memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The bytes of the file at `path`; false when it cannot be opened or read,
// or when it is larger than `maxBytes`.
bool ReadFileBytes(std::u16string_view path, std::string& bytes, size_t maxBytes);

}  // namespace platform
