// Simple (one-to-one) case mapping, as CharUpperBuffW and CharLowerBuffW do:
// the length of a text never changes.
#pragma once

#include <cstddef>

namespace platform {

void UpperCaseInPlace(char16_t* text, size_t length);
void LowerCaseInPlace(char16_t* text, size_t length);
char16_t UpperCaseUnit(char16_t unit);

}  // namespace platform
