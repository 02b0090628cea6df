// Simple (one-to-one) case mapping, as CharUpperBuffW and CharLowerBuffW do:
// the length of a text never changes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

void UpperCaseInPlace(char16_t* text, size_t length);
void LowerCaseInPlace(char16_t* text, size_t length);
char16_t UpperCaseUnit(char16_t unit);

// Folds a name for comparison without regard to case, the way the registry
// compares key and value names: simple upper-casing, unit by unit. Every
// lookup that ignores case (registry keys and values, file-type extensions)
// folds with this one rule.
inline void FoldNameInPlace(char16_t* text, size_t length) {
    for (size_t i = 0; i < length; ++i)
        text[i] = UpperCaseUnit(text[i]);
}

inline std::u16string FoldName(std::u16string_view name) {
    std::u16string folded(name);
    FoldNameInPlace(folded.data(), folded.size());
    return folded;
}

}  // namespace platform
