// Decimal values from and to doubles, to currency, and their integer part.
#include "formats/OleDecimal.h"

#include <cmath>
#include <cstring>

#include "formats/OleDecimalMath.h"

namespace formats {
using namespace oledecimal;
using namespace platform;  // the HRESULT codes
namespace {

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

// floor(mantissa * 2^exponent * 10^target) with exactly 15 digits (fewer
// at scale 28), adjusting `target` until it has; `half` tells which side of
// one half the rest lies on.
uint64_t FifteenDigits(uint64_t mantissa, int exponent, int& target, int& half) {
    uint64_t quotient = 0;
    half = 0;
    for (int attempt = 0; attempt < 8; ++attempt) {
        BigUnsigned p(mantissa);
        BigUnsigned q(1);
        if (exponent > 0)
            p.ShiftLeft(exponent);
        else
            q.ShiftLeft(-exponent);
        if (target > 0)
            p.MultiplyByPow10(target);
        else
            q.MultiplyByPow10(-target);
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
    return quotient;
}

// |value| = mantissa * 2^exponent, rounded to 15 significant digits as a
// magnitude and scale; false when it exceeds the decimal's range.
bool RoundToFifteenDigits(double value, uint64_t mantissa, int exponent, U128& magnitude,
                          int& scale) {
    magnitude = 0;
    scale = 0;
    const int top = mantissa == 0 ? -2000 : BigUnsigned(mantissa).BitLength() + exponent;
    if (top >= 98)  // at least 2^97
        return false;
    if (top < -96)  // below 2^-96 it rounds to 0 at scale 28
        return true;
    // Digits after the point that leave 15 significant ones, at most 28.
    int target = 14 - static_cast<int>(std::floor(std::log10(std::fabs(value))));
    target = target > kMaxScale ? kMaxScale : target;
    int half = 0;
    const uint64_t quotient = FifteenDigits(mantissa, exponent, target, half);
    magnitude = quotient + (RoundsUp(quotient, half) ? 1 : 0);
    if (target < 0) {
        magnitude *= Pow10(-target);
        return magnitude <= kDecimalMax;
    }
    scale = target;
    while (scale > 0 && magnitude % 10 == 0) {
        magnitude /= 10;
        --scale;
    }
    return true;
}

}  // namespace

// The double is first rounded to 15 significant digits, as Windows does (the
// .NET Decimal(Double) constructor, built on this call, documents that rule).
HResult DecimalFromDouble(double value, Decimal* out) {
    if (std::isnan(value))
        return kDispBadVarType;
    if (std::isinf(value))
        return kDispOverflow;
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
    const uint64_t mantissa = biased != 0 ? fraction | (uint64_t(1) << 52) : fraction;
    const int exponent = biased != 0 ? biased - 1075 : -1074;
    U128 magnitude = 0;
    int scale = 0;
    if (!RoundToFifteenDigits(value, mantissa, exponent, magnitude, scale))
        return kDispOverflow;
    if (magnitude == 0)
        scale = 0;
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

}  // namespace formats
