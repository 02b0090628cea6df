#include "platform/CaseMapping.h"

#include <windows.h>

namespace platform {
namespace {

using MapFunction = DWORD(WINAPI*)(LPWSTR, DWORD);

void MapInPlace(char16_t* text, size_t length, MapFunction map) {
    if (text == nullptr) {
        return;
    }
    // The API counts in DWORDs; a longer text goes in pieces that never split
    // a surrogate pair.
    constexpr size_t kMaxPiece = 0x40000000;
    while (length > 0) {
        size_t piece = length < kMaxPiece ? length : kMaxPiece;
        if (piece < length && text[piece - 1] >= 0xD800 && text[piece - 1] <= 0xDBFF) {
            --piece;
        }
        map(reinterpret_cast<wchar_t*>(text), static_cast<DWORD>(piece));
        text += piece;
        length -= piece;
    }
}

}  // namespace

void UpperCaseInPlace(char16_t* text, size_t length) {
    MapInPlace(text, length, CharUpperBuffW);
}

void LowerCaseInPlace(char16_t* text, size_t length) {
    MapInPlace(text, length, CharLowerBuffW);
}

char16_t UpperCaseUnit(char16_t unit) {
    wchar_t buffer = static_cast<wchar_t>(unit);
    CharUpperBuffW(&buffer, 1);
    return static_cast<char16_t>(buffer);
}

}  // namespace platform
