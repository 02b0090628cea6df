// OLE Automation's currency and decimal conversions.
//
// Windows: the real VarCyFromStr, VarCyFromDec, VarDecFromStr, VarDecFromR8,
// VarR8FromDec, VarBstrFromCy, VarBstrFromDec and VarDecInt. POSIX: exact
// arithmetic on the 64-bit currency and the 96-bit decimal that gives the
// results the documented functions give (ties round to even).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// HRESULT values these conversions return.
using HResult = int32_t;
constexpr HResult kSOk = 0;
constexpr HResult kDispTypeMismatch = static_cast<HResult>(0x80020005);
constexpr HResult kDispBadVarType = static_cast<HResult>(0x80020008);
constexpr HResult kDispOverflow = static_cast<HResult>(0x8002000A);
constexpr HResult kInvalidArgument = static_cast<HResult>(0x80070057);
constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000E);

inline bool Succeeded(HResult hr) {
    return hr >= 0;
}

// CY: a signed count of ten-thousandths.
struct Currency {
    int64_t int64;
};

// DECIMAL: (-1)^sign * (hi32 * 2^64 + lo64) / 10^scale, scale 0 to 28;
// sign is 0x80 when negative.
struct Decimal {
    uint16_t reserved;
    uint8_t scale;
    uint8_t sign;
    uint32_t hi32;
    uint64_t lo64;
};
static_assert(sizeof(Decimal) == 16, "DECIMAL is 16 bytes");

// Locale identifier 0 and flags 0 are what the driver passes: the text forms
// are then those of the user's default locale (English here).
HResult CurrencyFromText(const char16_t* text, uint32_t lcid, uint32_t flags, Currency* out);
HResult CurrencyFromDecimal(const Decimal* in, Currency* out);
HResult DecimalFromText(const char16_t* text, uint32_t lcid, uint32_t flags, Decimal* out);
HResult DecimalFromDouble(double value, Decimal* out);
HResult DoubleFromDecimal(const Decimal* in, double* out);
HResult TextFromCurrency(Currency value, uint32_t lcid, uint32_t flags, std::u16string* out);
HResult TextFromDecimal(const Decimal* in, uint32_t lcid, uint32_t flags, std::u16string* out);
// The integer part rounded toward negative infinity (VarDecInt).
HResult DecimalIntegerPart(const Decimal* in, Decimal* out);

}  // namespace platform
