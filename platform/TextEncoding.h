// UTF-8 <-> UTF-16 with a reversible escape for bytes that are not UTF-8.
//
// A byte that is not part of a valid UTF-8 sequence becomes the lone low
// surrogate U+DC80 + byte (as Python's "surrogateescape" does) and turns back
// into the same byte on the way out, so every POSIX name survives a round trip.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// The same, appended to `out` (which may keep its storage from call to call).
void AppendUtf16AsUtf8(std::string& out, std::u16string_view utf16);

// True when the bytes are well-formed UTF-8 (no escape would be needed).
bool IsValidUtf8(std::string_view bytes);

// Appends the UTF-8 bytes of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

// Windows-1252 (the ANSI code page of most documents written on Windows).
std::u16string Windows1252ToUtf16(std::string_view bytes);

}  // namespace platform
