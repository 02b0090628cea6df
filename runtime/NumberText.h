// Number texts of the base utility library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/SWCharString.h"

// Writes the text of `value` in `radix` (2 to 36) into `destination`, which
// has room for 64 units; NUL-terminated.
void StringConvFromInteger(char16_t* destination, int value, int radix);
void StringConvFromInteger(char16_t* destination, unsigned value, int radix);
void StringConvFromInteger(char16_t* destination, long value, int radix);
void StringConvFromInteger(char16_t* destination, unsigned long value, int radix);
void StringConvFromInteger(char16_t* destination, long long value, int radix);
void StringConvFromInteger(char16_t* destination, unsigned long long value, int radix);

class SWCharStringConv {
public:
    static constexpr size_t kCapacity = 320;
    // The text of a double into `destination` (kCapacity units). Mode 2: the
    // shortest text that reads back to the same double.
    static void ToString(char16_t* destination, double value, int mode);
};

class NeutralString {
public:
    // True when the whole text is a locale-neutral integer that fits.
    static bool ToNumber(const SWCharString& text, int64_t& value);
};
