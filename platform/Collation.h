// Locale-aware comparison of UTF-16 texts, as the C runtime's wcscoll,
// _wcsicoll and _wcsicmp do.
#pragma once

namespace platform {

// _wcsicoll's error value.
constexpr int kCollationError = 0x7FFFFFFF;

// wcscoll: case and accents count. Below, at or above 0.
int CollateText(const char16_t* a, const char16_t* b);

// _wcsicoll: case ignored, accents count; kCollationError when it fails.
int CollateTextNoCase(const char16_t* a, const char16_t* b);

// _wcsicmp: unit by unit after simple upper-casing.
int CompareTextNoCase(const char16_t* a, const char16_t* b);

}  // namespace platform
