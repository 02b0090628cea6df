// What the currency and decimal conversions share: the 128-bit magnitude and
// its rounding. A currency is a signed 64-bit count of ten-thousandths; a
// decimal a 96-bit magnitude with a power-of-ten scale of 0 to 28. Excess
// digits round to the nearest value, halves to the even neighbour.
#pragma once

#include <cstdint>

#include "platform/OleAutomation.h"

namespace formats {
namespace oledecimal {

using platform::Decimal;

using U128 = unsigned __int128;

constexpr uint8_t kNegative = 0x80;
constexpr int kMaxScale = 28;
constexpr uint16_t kVtDecimal = 14;
constexpr U128 kDecimalMax = (U128(1) << 96) - 1;
constexpr U128 kCurrencyMaxPositive = (U128(1) << 63) - 1;
constexpr U128 kCurrencyMaxNegative = U128(1) << 63;

inline U128 Pow10(int n) {
    U128 r = 1;
    for (int i = 0; i < n; ++i) {
        r *= 10;
    }
    return r;
}

inline U128 Magnitude(const Decimal& d) {
    return (U128(d.hi32) << 64) | d.lo64;
}

inline bool IsValid(const Decimal& d) {
    return d.scale <= kMaxScale && (d.sign & ~kNegative) == 0;
}

inline void SetMagnitude(Decimal* d, U128 n) {
    d->hi32 = static_cast<uint32_t>(n >> 64);
    d->lo64 = static_cast<uint64_t>(n);
}

// q plus the rounded fraction rem / divisor.
inline U128 RoundHalfEven(U128 q, U128 rem, U128 divisor) {
    const U128 twice = rem * 2;  // rem < divisor <= 10^28: no wrap
    if (twice > divisor || (twice == divisor && (q & 1) != 0)) {
        ++q;
    }
    return q;
}

}  // namespace oledecimal
}  // namespace formats
