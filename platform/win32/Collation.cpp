#include "platform/Collation.h"

#include <wchar.h>

namespace platform {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

// The C runtime rejects null arguments through its invalid-parameter handler;
// here they stand for the empty text.
const wchar_t* Wide(const char16_t* text) {
    return text != nullptr ? reinterpret_cast<const wchar_t*>(text) : L"";
}

int Sign(int result) {
    if (result == kCollationError) {
        return result;
    }
    return (result > 0) - (result < 0);
}

}  // namespace

int CollateText(const char16_t* a, const char16_t* b) {
    return Sign(wcscoll(Wide(a), Wide(b)));
}

int CollateTextNoCase(const char16_t* a, const char16_t* b) {
    return Sign(_wcsicoll(Wide(a), Wide(b)));
}

int CompareTextNoCase(const char16_t* a, const char16_t* b) {
    return Sign(_wcsicmp(Wide(a), Wide(b)));
}

}  // namespace platform
