#include "platform/Multibyte.h"

#include "platform/TextEncoding.h"

namespace platform {

// The ANSI code page of a POSIX system is UTF-8. Text that is not valid UTF-8
// most likely came from Windows, so it is read whole as Windows-1252 rather
// than byte by byte with escapes.
std::u16string AnsiToUtf16(std::string_view narrow) {
    if (IsValidUtf8(narrow)) {
        return Utf8ToUtf16(narrow);
    }
    return Windows1252ToUtf16(narrow);
}

}  // namespace platform
