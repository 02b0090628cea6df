// Integers and doubles to text, and the locale-neutral integer reader. The
// independent references are std::to_chars and the C library's strtod.
#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>

#include "runtime/NumberText.h"

namespace {

// Written into a heap destination of exactly its capacity, so that the
// address sanitizer sees any write past it.
template <typename Integer>
std::u16string IntegerText(Integer value, int radix) {
    auto destination = std::make_unique<char16_t[]>(64);
    std::fill_n(destination.get(), 64, u'#');
    StringConvFromInteger(destination.get(), value, radix);
    return std::u16string(destination.get());
}

// std::to_chars's text, or the empty text where it outgrows the 64 units.
template <typename Integer>
std::u16string Expected(Integer value, int radix) {
    char text[80];
    const auto result = std::to_chars(text, text + sizeof text, value, radix);
    const std::u16string expected(text, result.ptr);
    return expected.size() < 64 ? expected : u"";
}

TEST(IntegerText, EveryTypeAndRadixAgainstToChars) {
    std::mt19937_64 random(20240601);
    for (int i = 0; i < 2000; ++i) {
        const uint64_t bits = i < 2 ? ~0ull << (i * 63) : random() >> (random() % 64);
        const int radix = i < 2 ? 2 : 2 + static_cast<int>(random() % 35);
        const auto check = [&](auto value) {
            ASSERT_EQ(IntegerText(value, radix), Expected(value, radix));
        };
        check(static_cast<int>(static_cast<uint32_t>(bits)));
        check(static_cast<unsigned>(bits));
        check(static_cast<long>(bits));
        check(static_cast<unsigned long>(bits));
        check(static_cast<long long>(bits));
        check(bits);
    }
    // 63 digits and the NUL fill the destination; one more and the text is empty, not cut.
    EXPECT_EQ(IntegerText(ULLONG_MAX >> 1, 2), std::u16string(63, u'1'));
    EXPECT_EQ(IntegerText(-(1ll << 62), 2), u"");
    EXPECT_EQ(IntegerText(42, 37), u"");
    StringConvFromInteger(nullptr, 12345, 10);
}

std::u16string DoubleText(double value, int mode = 2) {
    auto destination = std::make_unique<char16_t[]>(SWCharStringConv::kCapacity);
    std::fill_n(destination.get(), SWCharStringConv::kCapacity, u'#');
    SWCharStringConv::ToString(destination.get(), value, mode);
    return std::u16string(destination.get());
}

// The double a text reads back as, or NaN when not all of it is read. Wine's
// msvcrt strtod is not exact to the last bit: the Windows build uses from_chars.
double ReadBack(const std::u16string& text) {
    const std::string narrow(text.begin(), text.end());
    double value = std::nan("");
#ifdef _WIN32
    const auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    return result.ec == std::errc() && result.ptr == narrow.data() + narrow.size() ? value
                                                                                   : std::nan("");
#else
    char* end = nullptr;
    value = std::strtod(narrow.c_str(), &end);
    return *end == '\0' && !narrow.empty() ? value : std::nan("");
#endif
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(DoubleText, ShortestTextsThatReadBack) {
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(DoubleText(-0.0), u"-0");
    EXPECT_EQ(DoubleText(1e21), u"1e+21");
    EXPECT_EQ(DoubleText(123456789012345678.0), u"123456789012345680");
    EXPECT_EQ(DoubleText(DBL_MAX), u"1.7976931348623157e+308");
    EXPECT_EQ(DoubleText(1.0 / 3.0, 0), u"0.3333333333333333");  // every mode alike
    EXPECT_EQ(DoubleText(-std::numeric_limits<double>::quiet_NaN()), u"NaN");
    EXPECT_EQ(DoubleText(-infinity), u"-Infinity");
    SWCharStringConv::ToString(nullptr, 1.5, 2);

    // Any finite double reads back exactly, in at most 24 units.
    std::mt19937_64 random(19700101);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            const std::u16string text = DoubleText(value);
            ASSERT_LE(text.size(), 24u);
            ASSERT_TRUE(SameBits(ReadBack(text), value)) << std::string(text.begin(), text.end());
        }
    }
}

TEST(NeutralNumber, WholeAsciiTextsOnly) {
    const struct {
        std::u16string text;
        bool ok;
        int64_t value;
    } rows[] = {
        {u"+0", true, 0},
        {u"\t\n\v\f\r-42 \r\n", true, -42},
        {u"9223372036854775807", true, INT64_MAX},
        {u"-9223372036854775808", true, INT64_MIN},
        {u"00000000000000000000009223372036854775807", true, INT64_MAX},
        {u"9223372036854775808", false, 0},
        {u"-9223372036854775809", false, 0},
        {u" - ", false, 0},
        {u"+-5", false, 0},
        {u"5-", false, 0},
        {u"1 2", false, 0},
        {u"1e3", false, 0},
        {u"1.", false, 0},
        {u"0x10", false, 0},
        {u"\u00A05", false, 0},                     // no-break space is not ASCII white space
        {u"\uFF11\uFF12", false, 0},                // full-width digits
        {std::u16string(u"12\0003", 4), false, 0},  // a NUL inside is not an end
    };
    for (const auto& row : rows) {
        int64_t value = 0;
        EXPECT_EQ(NeutralString::ToNumber(SWCharString(row.text), value), row.ok)
            << testing::PrintToString(row.text);
        EXPECT_TRUE(!row.ok || value == row.value) << testing::PrintToString(row.text);
    }
}

}  // namespace
