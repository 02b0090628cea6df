// Currency and decimal conversions in exact integer arithmetic.
//
// A currency is a signed 64-bit count of ten-thousandths; a decimal is a
// 96-bit magnitude with a power-of-ten scale of 0 to 28. All rounding of
// excess digits goes to the nearest value, halves to the even neighbour.
// Texts are read and written in the English (United States) forms: '.' for
// the decimal point, ',' between thousands, '$' for the currency.
#include "platform/OleAutomation.h"

#include <cmath>
#include <cstring>
#include <string>

namespace platform {
namespace {

using U128 = unsigned __int128;

constexpr uint8_t kNegative = 0x80;
constexpr int kMaxScale = 28;
constexpr uint16_t kVtDecimal = 14;
constexpr U128 kDecimalMax = (U128(1) << 96) - 1;
constexpr U128 kCurrencyMaxPositive = (U128(1) << 63) - 1;
constexpr U128 kCurrencyMaxNegative = U128(1) << 63;

U128 Pow10(int n) {
    U128 r = 1;
    for (int i = 0; i < n; ++i) {
        r *= 10;
    }
    return r;
}

U128 Magnitude(const Decimal& d) {
    return (U128(d.hi32) << 64) | d.lo64;
}

bool IsValid(const Decimal& d) {
    return d.scale <= kMaxScale && (d.sign & ~kNegative) == 0;
}

void SetMagnitude(Decimal* d, U128 n) {
    d->hi32 = static_cast<uint32_t>(n >> 64);
    d->lo64 = static_cast<uint64_t>(n);
}

// q plus the rounded fraction rem / divisor.
U128 RoundHalfEven(U128 q, U128 rem, U128 divisor) {
    const U128 twice = rem * 2;  // rem < divisor <= 10^28: no wrap
    if (twice > divisor || (twice == divisor && (q & 1) != 0)) {
        ++q;
    }
    return q;
}

// ---------------------------------------------------------------------------
// Text to number

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

HResult ParseNumber(const char16_t* text, ParsedNumber* out) {
    if (text == nullptr) {
        return kDispTypeMismatch;
    }
    const char16_t* p = text;
    bool haveSign = false;
    bool minus = false;
    bool openParen = false;
    bool currencySymbol = false;
    for (;;) {
        if (IsBlank(*p)) {
            ++p;
        } else if ((*p == u'+' || *p == u'-') && !haveSign) {
            haveSign = true;
            minus = *p == u'-';
            ++p;
        } else if (*p == u'(' && !openParen) {
            openParen = true;
            ++p;
        } else if (*p == u'$' && !currencySymbol) {
            currencySymbol = true;
            ++p;
        } else {
            break;
        }
    }
    if (*p == u'&' && !haveSign && !openParen && !currencySymbol &&
        (p[1] == u'H' || p[1] == u'h' || p[1] == u'O' || p[1] == u'o')) {
        return ParseHexOrOctal(p, out);
    }

    ParsedNumber n;
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
            break;
        }
    }
    if (!anyDigit) {
        return kDispTypeMismatch;
    }
    if (*p == u'e' || *p == u'E') {
        ++p;
        bool negativeExponent = false;
        if (*p == u'+' || *p == u'-') {
            negativeExponent = *p == u'-';
            ++p;
        }
        if (!IsDigit(*p)) {
            return kDispTypeMismatch;
        }
        int64_t e = 0;
        for (; IsDigit(*p); ++p) {
            if (e < 1000000) {
                e = e * 10 + (*p - u'0');
            }
        }
        n.exponent += negativeExponent ? -e : e;
    }
    bool closeParen = false;
    for (;;) {
        if (IsBlank(*p)) {
            ++p;
        } else if ((*p == u'+' || *p == u'-') && !haveSign) {
            haveSign = true;
            minus = *p == u'-';
            ++p;
        } else if (*p == u')' && openParen && !closeParen) {
            closeParen = true;
            ++p;
        } else {
            break;
        }
    }
    if (*p != 0 || openParen != closeParen || (openParen && haveSign)) {
        return kDispTypeMismatch;
    }
    while (n.count > 0 && n.digits[n.count - 1] == '0') {
        --n.count;
        ++n.exponent;
    }
    n.negative = minus || openParen;
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

// ---------------------------------------------------------------------------
// A small unsigned integer for the exact double conversions (320 bits).

class BigUnsigned {
public:
    static constexpr int kLimbs = 10;

    explicit BigUnsigned(U128 v) {
        for (int i = 0; i < 4; ++i) {
            limbs_[i] = static_cast<uint32_t>(v >> (32 * i));
        }
    }

    void MultiplyByPow10(int n) {
        for (int k = 0; k < n; ++k) {
            uint64_t carry = 0;
            for (uint32_t& limb : limbs_) {
                const uint64_t t = uint64_t(limb) * 10 + carry;
                limb = static_cast<uint32_t>(t);
                carry = t >> 32;
            }
        }
    }

    void ShiftLeft(int bits) {
        const int words = bits / 32;
        const int rest = bits % 32;
        for (int i = kLimbs - 1; i >= 0; --i) {
            const int from = i - words;
            uint32_t v = 0;
            if (from >= 0) {
                v = limbs_[from] << rest;
                if (rest != 0 && from > 0) {
                    v |= limbs_[from - 1] >> (32 - rest);
                }
            }
            limbs_[i] = v;
        }
    }

    void ShiftRightOne() {
        for (int i = 0; i < kLimbs; ++i) {
            limbs_[i] = (limbs_[i] >> 1) | (i + 1 < kLimbs ? limbs_[i + 1] << 31 : 0);
        }
    }

    int Compare(const BigUnsigned& o) const {
        for (int i = kLimbs - 1; i >= 0; --i) {
            if (limbs_[i] != o.limbs_[i]) {
                return limbs_[i] < o.limbs_[i] ? -1 : 1;
            }
        }
        return 0;
    }

    void Subtract(const BigUnsigned& o) {
        int64_t borrow = 0;
        for (int i = 0; i < kLimbs; ++i) {
            const int64_t t = int64_t(limbs_[i]) - o.limbs_[i] - borrow;
            limbs_[i] = static_cast<uint32_t>(t);
            borrow = t < 0 ? 1 : 0;
        }
    }

    bool IsZero() const {
        for (uint32_t limb : limbs_) {
            if (limb != 0) {
                return false;
            }
        }
        return true;
    }

    int BitLength() const {
        for (int i = kLimbs - 1; i >= 0; --i) {
            if (limbs_[i] != 0) {
                int bits = 32;
                while ((limbs_[i] >> (bits - 1)) == 0) {
                    --bits;
                }
                return 32 * i + bits;
            }
        }
        return 0;
    }

private:
    uint32_t limbs_[kLimbs] = {};
};

// floor(p / q) when it is below 2^64; p becomes the remainder.
bool Divide(BigUnsigned* p, const BigUnsigned& q, uint64_t* quotient) {
    BigUnsigned d = q;
    d.ShiftLeft(64);
    if (p->Compare(d) >= 0) {
        return false;
    }
    uint64_t result = 0;
    for (int bit = 63; bit >= 0; --bit) {
        d.ShiftRightOne();
        if (p->Compare(d) >= 0) {
            p->Subtract(d);
            result |= uint64_t(1) << bit;
        }
    }
    *quotient = result;
    return true;
}

// Which side of q / 2 the remainder lies on: -1 below, 0 on, 1 above.
int CompareToHalf(BigUnsigned remainder, const BigUnsigned& q) {
    remainder.ShiftLeft(1);
    return remainder.Compare(q);
}

bool RoundsUp(uint64_t quotient, int half) {
    return half > 0 || (half == 0 && (quotient & 1));
}

}  // namespace

// ---------------------------------------------------------------------------

HResult CurrencyFromText(const char16_t* text, uint32_t, uint32_t, Currency* out) {
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

HResult DecimalFromText(const char16_t* text, uint32_t, uint32_t, Decimal* out) {
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

// The double is first rounded to 15 significant digits, as Windows does (the
// .NET Decimal(Double) constructor, built on this call, documents that rule).
HResult DecimalFromDouble(double value, Decimal* out) {
    if (std::isnan(value)) {
        return kDispBadVarType;
    }
    if (std::isinf(value)) {
        return kDispOverflow;
    }
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
    // |value| = mantissa * 2^exponent
    const uint64_t mantissa = biased != 0 ? fraction | (uint64_t(1) << 52) : fraction;
    const int exponent = biased != 0 ? biased - 1075 : -1074;

    U128 magnitude = 0;
    int scale = 0;
    const int top = mantissa == 0 ? -2000 : BigUnsigned(mantissa).BitLength() + exponent;
    if (top >= 98) {  // at least 2^97
        return kDispOverflow;
    }
    if (top >= -96) {  // below 2^-96 it rounds to 0 at scale 28
        // Digits after the point that leave 15 significant ones, at most 28.
        int target = 14 - static_cast<int>(std::floor(std::log10(std::fabs(value))));
        target = target > kMaxScale ? kMaxScale : target;
        uint64_t quotient = 0;
        int half = 0;
        for (int attempt = 0; attempt < 8; ++attempt) {
            BigUnsigned p(mantissa);
            BigUnsigned q(1);
            if (exponent > 0) {
                p.ShiftLeft(exponent);
            } else {
                q.ShiftLeft(-exponent);
            }
            if (target > 0) {
                p.MultiplyByPow10(target);
            } else {
                q.MultiplyByPow10(-target);
            }
            // floor(|value| * 10^target) must have exactly 15 digits (fewer at scale 28).
            if (!Divide(&p, q, &quotient) || quotient >= 1000000000000000u) {
                --target;
                continue;
            }
            if (quotient < 100000000000000u && target < kMaxScale) {
                ++target;
                continue;
            }
            half = CompareToHalf(p, q);
            break;
        }
        magnitude = quotient + (RoundsUp(quotient, half) ? 1 : 0);
        if (target < 0) {
            magnitude *= Pow10(-target);
            if (magnitude > kDecimalMax) {
                return kDispOverflow;
            }
        } else {
            scale = target;
            while (scale > 0 && magnitude % 10 == 0) {
                magnitude /= 10;
                --scale;
            }
        }
    }
    if (magnitude == 0) {
        scale = 0;
    }
    out->scale = static_cast<uint8_t>(scale);
    out->sign = negative && magnitude != 0 ? kNegative : 0;
    SetMagnitude(out, magnitude);
    return kSOk;
}

HResult DoubleFromDecimal(const Decimal* in, double* out) {
    if (!IsValid(*in)) {
        return kInvalidArgument;
    }
    const U128 magnitude = Magnitude(*in);
    if (magnitude == 0) {
        *out = 0.0;
        return kSOk;
    }
    // quotient = floor(magnitude * 2^shift / 10^scale), in [2^63, 2^64).
    BigUnsigned ten(1);
    ten.MultiplyByPow10(in->scale);
    int shift = 63 + ten.BitLength() - BigUnsigned(magnitude).BitLength();
    uint64_t quotient = 0;
    int half = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        BigUnsigned p(magnitude);
        BigUnsigned q = ten;
        if (shift > 0) {
            p.ShiftLeft(shift);
        } else {
            q.ShiftLeft(-shift);
        }
        if (!Divide(&p, q, &quotient)) {
            --shift;
            continue;
        }
        if ((quotient >> 63) == 0) {
            ++shift;
            continue;
        }
        half = p.IsZero() ? -1 : 1;  // only whether anything is left matters below the 64 bits
        break;
    }
    // Keep 53 bits; the 11 below and the remainder decide the rounding.
    uint64_t kept = quotient >> 11;
    const uint64_t low = quotient & 0x7FF;
    if (low > 0x400 || (low == 0x400 && (half > 0 || (kept & 1) != 0))) {
        ++kept;
    }
    const double result = std::ldexp(static_cast<double>(kept), 11 - shift);
    *out = in->sign == kNegative ? -result : result;
    return kSOk;
}

HResult CurrencyFromDecimal(const Decimal* in, Currency* out) {
    if (!IsValid(*in)) {
        return kInvalidArgument;
    }
    const U128 magnitude = Magnitude(*in);
    U128 count = 0;
    if (in->scale <= 4) {
        count = magnitude * Pow10(4 - in->scale);
    } else {
        const U128 divisor = Pow10(in->scale - 4);
        count = RoundHalfEven(magnitude / divisor, magnitude % divisor, divisor);
    }
    const bool negative = in->sign == kNegative;
    if (count > (negative ? kCurrencyMaxNegative : kCurrencyMaxPositive)) {
        return kDispOverflow;
    }
    const uint64_t bits = static_cast<uint64_t>(count);
    out->int64 = static_cast<int64_t>(negative ? 0 - bits : bits);
    return kSOk;
}

namespace {

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

HResult TextFromCurrency(Currency value, uint32_t, uint32_t, std::u16string* out) {
    const bool negative = value.int64 < 0;
    const uint64_t bits = static_cast<uint64_t>(value.int64);
    *out = PlainText(negative, negative ? 0 - bits : bits, 4);
    return kSOk;
}

HResult TextFromDecimal(const Decimal* in, uint32_t, uint32_t, std::u16string* out) {
    if (in->scale > kMaxScale) {
        return kInvalidArgument;
    }
    *out = PlainText(in->sign == kNegative, Magnitude(*in), in->scale);
    return kSOk;
}

HResult DecimalIntegerPart(const Decimal* in, Decimal* out) {
    if (!IsValid(*in)) {
        return kInvalidArgument;
    }
    if (in->scale == 0) {
        *out = *in;
        return kSOk;
    }
    const U128 magnitude = Magnitude(*in);
    const U128 divisor = Pow10(in->scale);
    U128 whole = magnitude / divisor;
    const bool negative = in->sign == kNegative;
    if (negative && magnitude % divisor != 0) {
        ++whole;  // toward negative infinity
    }
    out->scale = 0;
    out->sign = negative && whole != 0 ? kNegative : 0;
    SetMagnitude(out, whole);
    return kSOk;
}

}  // namespace platform
