// Narrow text in the process's ANSI code page.
//
// Windows: the real ANSI code page. POSIX: UTF-8; a text that is not valid
// UTF-8 is read whole as Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::u16string AnsiToUtf16(std::string_view narrow);

}  // namespace platform
