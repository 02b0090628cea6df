#include "values/IntegerToText.h"

#include "runtime/NumberText.h"
#include "runtime/StringFunctions.h"

namespace {

constexpr size_t kLocalUnits = 64;

// Formats through the library's routine for the integer type given, then
// copies the whole text with its NUL.
template <class LibraryInteger>
char16_t* FormatAs(LibraryInteger value, char16_t* destination, int radix) {
    char16_t local[kLocalUnits];
    StringConvFromInteger(local, value, radix);
    CopyString(destination, TextLength(local) + 1, local);
    return destination;
}

}  // namespace

char16_t* IntegerToText(int8_t value, char16_t* destination, int radix) {
    return FormatAs(static_cast<int>(value), destination, radix);
}
char16_t* IntegerToText(uint8_t value, char16_t* destination, int radix) {
    return FormatAs(static_cast<int>(value), destination, radix);
}
char16_t* IntegerToText(int16_t value, char16_t* destination, int radix) {
    return FormatAs(static_cast<int>(value), destination, radix);
}
char16_t* IntegerToText(uint16_t value, char16_t* destination, int radix) {
    return FormatAs(static_cast<int>(value), destination, radix);
}
char16_t* IntegerToText(int32_t value, char16_t* destination, int radix) {
    return FormatAs(static_cast<long>(value), destination, radix);
}
char16_t* IntegerToText(uint32_t value, char16_t* destination, int radix) {
    return FormatAs(static_cast<unsigned long>(value), destination, radix);
}
char16_t* IntegerToText(int64_t value, char16_t* destination, int radix) {
    return FormatAs(static_cast<long long>(value), destination, radix);
}
char16_t* IntegerToText(uint64_t value, char16_t* destination, int radix) {
    return FormatAs(static_cast<unsigned long long>(value), destination, radix);
}
