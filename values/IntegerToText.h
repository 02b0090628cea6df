// Decimal texts of integers, one routine per width of the value types
// (source unit dbconvert). Each returns the destination, which must hold the
// whole text.
#pragma once

#include <cstdint>

char16_t* IntegerToText(int8_t value, char16_t* destination, int radix);
char16_t* IntegerToText(uint8_t value, char16_t* destination, int radix);
char16_t* IntegerToText(int16_t value, char16_t* destination, int radix);
char16_t* IntegerToText(uint16_t value, char16_t* destination, int radix);
char16_t* IntegerToText(int32_t value, char16_t* destination, int radix);
char16_t* IntegerToText(uint32_t value, char16_t* destination, int radix);
char16_t* IntegerToText(int64_t value, char16_t* destination, int radix);
char16_t* IntegerToText(uint64_t value, char16_t* destination, int radix);
