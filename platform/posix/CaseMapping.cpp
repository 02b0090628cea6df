#include "platform/CaseMapping.h"

#include <unicode/uchar.h>

namespace platform {
namespace {

using MapFunction = UChar32 (*)(UChar32);

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Maps code point by code point. A mapping that would change the number of
// units (a BMP character to a supplementary one or back) is not applied, so
// the length never changes.
void MapInPlace(char16_t* text, size_t length, MapFunction map) {
    if (text == nullptr) {
        return;
    }
    for (size_t i = 0; i < length; ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < length && IsLowSurrogate(text[i + 1])) {
            const UChar32 codePoint = 0x10000 + ((text[i] - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            const UChar32 mapped = map(codePoint);
            if (mapped >= 0x10000 && mapped <= 0x10FFFF) {
                text[i] = static_cast<char16_t>(0xD800 + ((mapped - 0x10000) >> 10));
                text[i + 1] = static_cast<char16_t>(0xDC00 + ((mapped - 0x10000) & 0x3FF));
            }
            ++i;
        } else if (text[i] < 0x80) {
            // ASCII, most of every name: no need to ask ICU.
            if (map == u_toupper && text[i] >= u'a' && text[i] <= u'z')
                text[i] -= 0x20;
            if (map == u_tolower && text[i] >= u'A' && text[i] <= u'Z')
                text[i] += 0x20;
        } else {
            const UChar32 mapped = map(text[i]);
            if (mapped >= 0 && mapped < 0x10000) {
                text[i] = static_cast<char16_t>(mapped);
            }
        }
    }
}

}  // namespace

void UpperCaseInPlace(char16_t* text, size_t length) {
    MapInPlace(text, length, u_toupper);
}

void LowerCaseInPlace(char16_t* text, size_t length) {
    MapInPlace(text, length, u_tolower);
}

char16_t UpperCaseUnit(char16_t unit) {
    if (unit < 0x80)
        return unit >= u'a' && unit <= u'z' ? unit - 0x20 : unit;
    const UChar32 mapped = u_toupper(unit);
    return mapped >= 0 && mapped < 0x10000 ? static_cast<char16_t>(mapped) : unit;
}

}  // namespace platform
