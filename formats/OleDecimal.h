// OLE Automation's currency and decimal conversions in exact integer
// arithmetic, giving the results the documented VarCyFromStr, VarCyFromDec,
// VarDecFromStr, VarDecFromR8, VarR8FromDec, VarBstrFromCy, VarBstrFromDec
// and VarDecInt give (ties round to even). The Linux build serves the
// platform's OLE Automation calls with these; the Windows build calls the
// system, and its tests compare the two.
//
// Texts are read and written in the English (United States) forms: '.' for
// the decimal point, ',' between thousands, '$' for the currency.
#pragma once

#include <cstdint>
#include <string>

#include "platform/OleAutomation.h"

namespace formats {

using platform::Currency;
using platform::Decimal;
using platform::HResult;

HResult CurrencyFromText(const char16_t* text, Currency* out);
HResult CurrencyFromDecimal(const Decimal* in, Currency* out);
HResult DecimalFromText(const char16_t* text, Decimal* out);
HResult DecimalFromDouble(double value, Decimal* out);
HResult DoubleFromDecimal(const Decimal* in, double* out);
HResult TextFromCurrency(Currency value, std::u16string* out);
HResult TextFromDecimal(const Decimal* in, std::u16string* out);
// The integer part rounded toward negative infinity (VarDecInt).
HResult DecimalIntegerPart(const Decimal* in, Decimal* out);

}  // namespace formats
