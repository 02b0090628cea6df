// Currency and decimal values from and to text.
#include <string>

#include "formats/OleDecimal.h"
#include "formats/OleDecimalMath.h"

namespace formats {
using namespace oledecimal;
using namespace platform;  // the HRESULT codes
namespace {

// value = digits * 10^exponent, digits most significant first, without
// leading or trailing zeros (empty for zero). Digits past kKeptDigits only
// leave a mark in `dropped`: any result needing them overflows anyway.
struct ParsedNumber {
    static constexpr size_t kKeptDigits = 48;
    bool negative = false;
    char digits[kKeptDigits] = {};
    size_t count = 0;
    bool dropped = false;
    int64_t exponent = 0;
};

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

int HexValue(char16_t c) {
    if (IsDigit(c)) {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

void SetFromInteger(uint64_t value, ParsedNumber* out) {
    char text[24];
    size_t n = 0;
    do {
        text[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out->count = 0;
    out->exponent = 0;
    while (n > 0) {
        out->digits[out->count++] = text[--n];
    }
    while (out->count > 0 && out->digits[out->count - 1] == '0') {
        --out->count;
        ++out->exponent;
    }
}

// "&H1F" and "&O17": unsigned, at most 32 bits.
HResult ParseHexOrOctal(const char16_t* p, ParsedNumber* out) {
    const int base = (p[1] == u'H' || p[1] == u'h') ? 16 : 8;
    p += 2;
    uint64_t value = 0;
    bool any = false;
    bool tooLarge = false;
    for (;; ++p) {
        const int v = HexValue(*p);
        if (v < 0 || v >= base) {
            break;
        }
        any = true;
        value = value * base + v;
        if (value > 0xFFFFFFFFu) {
            tooLarge = true;
            value = 0;
        }
    }
    while (IsBlank(*p)) {
        ++p;
    }
    if (!any || *p != 0) {
        return kDispTypeMismatch;
    }
    if (tooLarge) {
        return kDispOverflow;
    }
    SetFromInteger(value, out);
    return kSOk;
}

// The marks a number may carry before and after its digits: blanks, one
// sign, one '(' with its ')', and one '$' before the digits.
struct NumberMarks {
    bool haveSign = false;
    bool minus = false;
    bool openParen = false;
    bool closeParen = false;
    bool currencySymbol = false;
};

const char16_t* SkipLeadingMarks(const char16_t* p, NumberMarks& marks) {
    for (;; ++p) {
        if ((*p == u'+' || *p == u'-') && !marks.haveSign) {
            marks.haveSign = true;
            marks.minus = *p == u'-';
        } else if (*p == u'(' && !marks.openParen) {
            marks.openParen = true;
        } else if (*p == u'$' && !marks.currencySymbol) {
            marks.currencySymbol = true;
        } else if (!IsBlank(*p)) {
            return p;
        }
    }
}

const char16_t* SkipTrailingMarks(const char16_t* p, NumberMarks& marks) {
    for (;; ++p) {
        if ((*p == u'+' || *p == u'-') && !marks.haveSign) {
            marks.haveSign = true;
            marks.minus = *p == u'-';
        } else if (*p == u')' && marks.openParen && !marks.closeParen) {
            marks.closeParen = true;
        } else if (!IsBlank(*p)) {
            return p;
        }
    }
}

// The digits and the decimal point; null when there is no digit.
const char16_t* ReadDigits(const char16_t* p, ParsedNumber& n) {
    bool anyDigit = false;
    bool afterPoint = false;
    bool started = false;
    for (;; ++p) {
        const char16_t c = *p;
        if (IsDigit(c)) {
            anyDigit = true;
            started = true;
            if (n.count == 0 && c == u'0') {
                n.exponent -= afterPoint ? 1 : 0;
            } else if (n.count < ParsedNumber::kKeptDigits) {
                n.digits[n.count++] = static_cast<char>(c);
                n.exponent -= afterPoint ? 1 : 0;
            } else {
                n.dropped = n.dropped || c != u'0';
                n.exponent += afterPoint ? 0 : 1;
            }
        } else if (c == u'.' && !afterPoint) {
            afterPoint = true;
            started = true;
        } else if (c == u',' && started) {
            // thousands separators are not checked for position
        } else {
            return anyDigit ? p : nullptr;
        }
    }
}

// An exponent "e[+-]digits", when there is one; null when it has no digit.
const char16_t* ReadExponent(const char16_t* p, ParsedNumber& n) {
    if (*p != u'e' && *p != u'E')
        return p;
    ++p;
    bool negativeExponent = false;
    if (*p == u'+' || *p == u'-') {
        negativeExponent = *p == u'-';
        ++p;
    }
    if (!IsDigit(*p))
        return nullptr;
    int64_t e = 0;
    for (; IsDigit(*p); ++p) {
        if (e < 1000000)
            e = e * 10 + (*p - u'0');
    }
    n.exponent += negativeExponent ? -e : e;
    return p;
}

HResult ParseNumber(const char16_t* text, ParsedNumber* out) {
    if (text == nullptr)
        return kDispTypeMismatch;
    NumberMarks marks;
    const char16_t* p = SkipLeadingMarks(text, marks);
    if (*p == u'&' && !marks.haveSign && !marks.openParen && !marks.currencySymbol &&
        (p[1] == u'H' || p[1] == u'h' || p[1] == u'O' || p[1] == u'o'))
        return ParseHexOrOctal(p, out);

    ParsedNumber n;
    p = ReadDigits(p, n);
    if (p != nullptr)
        p = ReadExponent(p, n);
    if (p == nullptr)
        return kDispTypeMismatch;
    p = SkipTrailingMarks(p, marks);
    if (*p != 0 || marks.openParen != marks.closeParen || (marks.openParen && marks.haveSign))
        return kDispTypeMismatch;
    while (n.count > 0 && n.digits[n.count - 1] == '0') {
        --n.count;
        ++n.exponent;
    }
    n.negative = marks.minus || marks.openParen;
    *out = n;
    return kSOk;
}

// round(|value| * 10^scale) when it is at most limit (< 2^100).
bool ScaledRound(const ParsedNumber& n, int scale, U128 limit, U128* out) {
    if (n.count == 0) {
        *out = 0;
        return true;
    }
    const int64_t count = static_cast<int64_t>(n.count);
    // Digits before the point of value * 10^scale.
    const int64_t whole = count + n.exponent + scale;
    if (whole > 39) {
        return false;
    }
    U128 r = 0;
    for (int64_t i = 0; i < whole; ++i) {
        r = r * 10 + (i < count ? n.digits[i] - '0' : 0);
        if (r > limit) {
            return false;
        }
    }
    int roundDigit = 0;
    bool sticky = false;
    if (whole >= 0 && whole < count) {
        roundDigit = n.digits[whole] - '0';
        // The digits end in a non-zero one: any digit after this one leaves a rest.
        sticky = n.dropped || whole + 1 < count;
    }
    if (roundDigit > 5 || (roundDigit == 5 && (sticky || (r & 1) != 0))) {
        ++r;
    }
    if (r > limit) {
        return false;
    }
    *out = r;
    return true;
}

// Plain text of magnitude / 10^scale: no separators, no trailing zeros.
std::u16string PlainText(bool negative, U128 magnitude, int scale) {
    if (magnitude == 0) {
        return u"0";
    }
    std::u16string digits;
    for (U128 v = magnitude; v != 0; v /= 10) {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + static_cast<int>(v % 10)));
    }
    if (static_cast<int>(digits.size()) <= scale) {
        digits.insert(0, static_cast<size_t>(scale) + 1 - digits.size(), u'0');
    }
    if (scale > 0) {
        digits.insert(digits.size() - static_cast<size_t>(scale), 1, u'.');
        while (digits.back() == u'0') {
            digits.pop_back();
        }
        if (digits.back() == u'.') {
            digits.pop_back();
        }
    }
    return negative ? u"-" + digits : digits;
}

}  // namespace

HResult CurrencyFromText(const char16_t* text, Currency* out) {
    ParsedNumber n;
    const HResult hr = ParseNumber(text, &n);
    if (hr != kSOk) {
        return hr;
    }
    U128 count = 0;
    if (!ScaledRound(n, 4, n.negative ? kCurrencyMaxNegative : kCurrencyMaxPositive, &count)) {
        return kDispOverflow;
    }
    const uint64_t bits = static_cast<uint64_t>(count);
    out->int64 = static_cast<int64_t>(n.negative ? 0 - bits : bits);
    return kSOk;
}

HResult DecimalFromText(const char16_t* text, Decimal* out) {
    ParsedNumber n;
    const HResult hr = ParseNumber(text, &n);
    if (hr != kSOk) {
        return hr;
    }
    // The finest scale, down from the digits given, at which the value fits.
    int scale = n.exponent < -kMaxScale ? kMaxScale : static_cast<int>(-n.exponent);
    scale = scale < 0 ? 0 : scale;
    U128 magnitude = 0;
    while (!ScaledRound(n, scale, kDecimalMax, &magnitude)) {
        if (scale == 0) {
            return kDispOverflow;
        }
        --scale;
    }
    while (scale > 0 && magnitude % 10 == 0) {
        magnitude /= 10;
        --scale;
    }
    if (magnitude == 0) {
        scale = 0;
    }
    out->reserved = kVtDecimal;  // the word a VARIANT holding the value keeps its type in
    out->scale = static_cast<uint8_t>(scale);
    out->sign = n.negative && magnitude != 0 ? kNegative : 0;
    SetMagnitude(out, magnitude);
    return kSOk;
}

HResult TextFromCurrency(Currency value, std::u16string* out) {
    const bool negative = value.int64 < 0;
    const uint64_t bits = static_cast<uint64_t>(value.int64);
    *out = PlainText(negative, negative ? 0 - bits : bits, 4);
    return kSOk;
}

HResult TextFromDecimal(const Decimal* in, std::u16string* out) {
    if (in->scale > kMaxScale) {
        return kInvalidArgument;
    }
    *out = PlainText(in->sign == kNegative, Magnitude(*in), in->scale);
    return kSOk;
}

}  // namespace formats
