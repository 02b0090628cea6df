#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
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

std::u16string Text(double value, int mode = 2) {
    auto destination = std::make_unique<char16_t[]>(SWCharStringConv::kCapacity);
    for (size_t i = 0; i < SWCharStringConv::kCapacity; ++i) {
        destination[i] = u'#';
    }
    SWCharStringConv::ToString(destination.get(), value, mode);
    return std::u16string(destination.get());
}

std::string Narrow(const std::u16string& text) {
    std::string narrow;
    for (const char16_t unit : text) {
        EXPECT_LT(unit, 0x80) << "not ASCII";
        narrow += static_cast<char>(unit);
    }
    return narrow;
}

// The double a text reads back as, or NaN when not all of it is read. The
// C library's strtod is the independent reader; Wine's msvcrt strtod is not
// exact to the last bit, so the Windows build reads with std::from_chars.
double ReadBack(const std::u16string& text) {
    const std::string narrow = Narrow(text);
#ifdef _WIN32
    double value = 0;
    const auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (result.ec != std::errc() || result.ptr != narrow.data() + narrow.size()) {
        return std::nan("");
    }
    return value;
#else
    char* end = nullptr;
    const double value = std::strtod(narrow.c_str(), &end);
    return *end == '\0' && !narrow.empty() ? value : std::nan("");
#endif
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct Row {
    double value;
    const char16_t* text;
};

const Row kShortest[] = {
    {0.0, u"0"},
    {-0.0, u"-0"},
    {1.0, u"1"},
    {-2.5, u"-2.5"},
    {100.0, u"100"},
    {0.1, u"0.1"},
    {1.0 / 3.0, u"0.3333333333333333"},
    {2.0 / 3.0, u"0.6666666666666666"},
    {1234.5678, u"1234.5678"},
    {1e-75, u"1e-75"},
    {1e75, u"1e+75"},
    {-1e75, u"-1e+75"},
    {1e21, u"1e+21"},
    {123456789012345678.0, u"123456789012345680"},
    {5e-324, u"5e-324"},
    {DBL_MIN, u"2.2250738585072014e-308"},
    {DBL_MAX, u"1.7976931348623157e+308"},
    {-DBL_MAX, u"-1.7976931348623157e+308"},
    {0.000123, u"0.000123"},
    {9007199254740993.0, u"9007199254740992"},
};

TEST(DoubleText, ShortestTexts) {
    for (const Row& row : kShortest) {
        const std::u16string text = Text(row.value);
        EXPECT_EQ(text, row.text) << row.value;
        EXPECT_TRUE(SameBits(ReadBack(text), row.value)) << Narrow(text);
    }
}

TEST(DoubleText, NotANumberAndInfinities) {
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Text(std::numeric_limits<double>::quiet_NaN()), u"NaN");
    EXPECT_EQ(Text(-std::numeric_limits<double>::quiet_NaN()), u"NaN");
    EXPECT_EQ(Text(infinity), u"Infinity");
    EXPECT_EQ(Text(-infinity), u"-Infinity");
}

// Modes other than 2 give the same shortest text.
TEST(DoubleText, EveryModeGivesTheShortestText) {
    for (const int mode : {0, 1, 3, 4}) {
        EXPECT_EQ(Text(0.1, mode), u"0.1");
        EXPECT_EQ(Text(1.0 / 3.0, mode), u"0.3333333333333333");
    }
}

TEST(DoubleText, NullDestinationIsIgnored) {
    SWCharStringConv::ToString(nullptr, 1.5, 2);
}

// Any finite double, from any part of the range, reads back exactly from a
// text no longer than the shortest scientific form needs.
TEST(DoubleText, RandomDoublesReadBackExactly) {
    std::mt19937_64 random(19700101);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) {
            continue;
        }
        const std::u16string text = Text(value);
        ASSERT_LE(text.size(), 24u) << Narrow(text);
        ASSERT_TRUE(SameBits(ReadBack(text), value)) << Narrow(text);
    }
}

// The significant digits of a text: no sign, point, exponent or zeros at
// either end.
std::u16string SignificantDigits(const std::u16string& text) {
    std::u16string digits;
    for (const char16_t unit : text.substr(0, text.find(u'e'))) {
        if (unit >= u'0' && unit <= u'9' && !(digits.empty() && unit == u'0')) {
            digits += unit;
        }
    }
    return digits.substr(0, digits.find_last_not_of(u'0') + 1);
}

// A double read from a decimal of at most 7 significant digits gets a text
// of no more digits than that decimal, and reads back from it.
TEST(DoubleText, RandomShortDecimalsKeepTheirDigits) {
    std::mt19937 random(31337);
    for (int i = 0; i < 5000; ++i) {
        const int mantissa = static_cast<int>(random() % 2000000) - 1000000;
        const int exponent = static_cast<int>(random() % 60) - 30;
        const std::string written = std::to_string(mantissa) + "e" + std::to_string(exponent);
        const double value = ReadBack(std::u16string(written.begin(), written.end()));
        const std::u16string text = Text(value);
        ASSERT_TRUE(SameBits(ReadBack(text), value)) << written << " " << Narrow(text);
        const std::u16string digits = SignificantDigits(text);
        ASSERT_LE(digits.size(), 7u) << written << " " << Narrow(text);
        ASSERT_EQ(digits, SignificantDigits(std::u16string(written.begin(), written.end())))
            << written << " " << Narrow(text);
    }
}

}  // namespace
