// Small text helpers of the base utility library.
#pragma once

#include <cstddef>
#include <cstdint>

// Copies `source` into `destination` (room for `capacity` units), truncating,
// and always terminates the destination when capacity is at least 1.
void CopyString(char16_t* destination, size_t capacity, const char16_t* source);

// In-place simple case mapping of `length` units.
void MakeUpperCase(char16_t* buffer, size_t length);
void MakeLowerCase(char16_t* buffer, size_t length);

// Length of a NUL-terminated text; 0 for null.
size_t TextLength(const char16_t* text);
