#include "platform/FileContents.h"

#include "platform/TextEncoding.h"
#include "platform/posix/FileSource.h"

namespace platform {

bool ReadFileBytes(std::u16string_view path, std::string& bytes, size_t maxBytes) {
    return ReadWholeFile(Utf16ToUtf8(path), maxBytes, bytes) == FileState::Read;
}

}  // namespace platform
