#include "runtime/NumberText.h"

#include <charconv>
#include <cmath>
#include <type_traits>

namespace {

constexpr size_t kIntegerCapacity = 64;  // units at the destination, with the NUL
constexpr size_t kDigitsCapacity = 65;   // a sign and 64 binary digits

template <typename Unsigned>
void WriteMagnitude(char16_t* destination, Unsigned magnitude, bool negative, int radix) {
    if (destination == nullptr) {
        return;
    }
    // An unknown radix gives the empty text rather than a text in some
    // other radix that a caller could take for the one it asked for.
    if (radix < 2 || radix > 36) {
        destination[0] = u'\0';
        return;
    }
    // Digits are produced from the right; 64 binary digits and a sign fit.
    char16_t digits[kDigitsCapacity];
    size_t start = kDigitsCapacity;
    const Unsigned base = static_cast<Unsigned>(radix);
    do {
        const unsigned digit = static_cast<unsigned>(magnitude % base);
        magnitude /= base;
        digits[--start] = static_cast<char16_t>(digit < 10 ? u'0' + digit : u'a' + (digit - 10));
    } while (magnitude != 0);
    if (negative) {
        digits[--start] = u'-';
    }
    // Only the longest binary texts of 64-bit values outgrow the destination;
    // they give the empty text rather than a cut one.
    const size_t length = kDigitsCapacity - start;
    if (length + 1 > kIntegerCapacity) {
        destination[0] = u'\0';
        return;
    }
    for (size_t i = 0; i < length; ++i) {
        destination[i] = digits[start + i];
    }
    destination[length] = u'\0';
}

template <typename Integer>
void WriteInteger(char16_t* destination, Integer value, int radix) {
    using Unsigned = std::make_unsigned_t<Integer>;
    bool negative = false;
    Unsigned magnitude = static_cast<Unsigned>(value);
    if constexpr (std::is_signed_v<Integer>) {
        if (value < 0) {
            // Negating in the unsigned type keeps the most negative value exact.
            negative = true;
            magnitude = static_cast<Unsigned>(Unsigned{0} - magnitude);
        }
    }
    WriteMagnitude(destination, magnitude, negative, radix);
}

void WriteAscii(char16_t* destination, const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        destination[i] = static_cast<char16_t>(static_cast<unsigned char>(text[i]));
    }
    destination[length] = u'\0';
}

bool IsAsciiSpace(char16_t unit) {
    return unit == u' ' || (unit >= u'\t' && unit <= u'\r');
}

}  // namespace

void StringConvFromInteger(char16_t* destination, int value, int radix) {
    WriteInteger(destination, value, radix);
}

void StringConvFromInteger(char16_t* destination, unsigned value, int radix) {
    WriteInteger(destination, value, radix);
}

void StringConvFromInteger(char16_t* destination, long value, int radix) {
    WriteInteger(destination, value, radix);
}

void StringConvFromInteger(char16_t* destination, unsigned long value, int radix) {
    WriteInteger(destination, value, radix);
}

void StringConvFromInteger(char16_t* destination, long long value, int radix) {
    WriteInteger(destination, value, radix);
}

void StringConvFromInteger(char16_t* destination, unsigned long long value, int radix) {
    WriteInteger(destination, value, radix);
}

// Every mode gives the shortest text that reads back to the same double: the
// driver only asks for mode 2, and no caller needs a fixed digit count.
void SWCharStringConv::ToString(char16_t* destination, double value, int /*mode*/) {
    if (destination == nullptr) {
        return;
    }
    if (std::isnan(value)) {
        WriteAscii(destination, "NaN", 3);
        return;
    }
    if (std::isinf(value)) {
        if (value < 0) {
            WriteAscii(destination, "-Infinity", 9);
        } else {
            WriteAscii(destination, "Infinity", 8);
        }
        return;
    }
    // The shortest form is at most 24 characters ("-2.2250738585072014e-308"),
    // or fewer than that in fixed notation, which is chosen only when shorter.
    char text[64];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    const size_t length = result.ec == std::errc() ? static_cast<size_t>(result.ptr - text) : 0;
    WriteAscii(destination, text, length);
}

bool NeutralString::ToNumber(const SWCharString& text, int64_t& value) {
    const std::u16string_view view = text.view();
    size_t position = 0;
    size_t end = view.size();
    while (position < end && IsAsciiSpace(view[position])) {
        ++position;
    }
    while (end > position && IsAsciiSpace(view[end - 1])) {
        --end;
    }

    bool negative = false;
    if (position < end && (view[position] == u'+' || view[position] == u'-')) {
        negative = view[position] == u'-';
        ++position;
    }
    if (position == end) {
        return false;
    }

    // The magnitude is gathered unsigned, so that INT64_MIN, whose magnitude
    // exceeds INT64_MAX by one, still fits.
    const uint64_t limit = negative ? uint64_t{1} << 63 : uint64_t{INT64_MAX};
    uint64_t magnitude = 0;
    for (; position < end; ++position) {
        const char16_t unit = view[position];
        if (unit < u'0' || unit > u'9') {
            return false;
        }
        const uint64_t digit = static_cast<uint64_t>(unit - u'0');
        if (magnitude > (limit - digit) / 10) {
            return false;
        }
        magnitude = magnitude * 10 + digit;
    }
    value = negative ? static_cast<int64_t>(0u - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}
