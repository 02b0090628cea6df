// OLE Automation on Linux: the portable currency and decimal arithmetic. The
// driver passes locale 0 and flags 0, which select the English forms that
// arithmetic reads and writes.
#include "platform/OleAutomation.h"

#include "formats/OleDecimal.h"

namespace platform {

HResult CurrencyFromText(const char16_t* text, uint32_t, uint32_t, Currency* out) {
    return formats::CurrencyFromText(text, out);
}

HResult CurrencyFromDecimal(const Decimal* in, Currency* out) {
    return formats::CurrencyFromDecimal(in, out);
}

HResult DecimalFromText(const char16_t* text, uint32_t, uint32_t, Decimal* out) {
    return formats::DecimalFromText(text, out);
}

HResult DecimalFromDouble(double value, Decimal* out) {
    return formats::DecimalFromDouble(value, out);
}

HResult DoubleFromDecimal(const Decimal* in, double* out) {
    return formats::DoubleFromDecimal(in, out);
}

HResult TextFromCurrency(Currency value, uint32_t, uint32_t, std::u16string* out) {
    return formats::TextFromCurrency(value, out);
}

HResult TextFromDecimal(const Decimal* in, uint32_t, uint32_t, std::u16string* out) {
    return formats::TextFromDecimal(in, out);
}

HResult DecimalIntegerPart(const Decimal* in, Decimal* out) {
    return formats::DecimalIntegerPart(in, out);
}

}  // namespace platform
