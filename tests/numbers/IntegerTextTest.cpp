#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "runtime/NumberText.h"

namespace {

constexpr size_t kCapacity = 64;

// The text written into a destination of exactly 64 units on the heap, so
// that the address sanitizer sees any write past it.
template <typename Integer>
std::u16string Text(Integer value, int radix) {
    auto destination = std::make_unique<char16_t[]>(kCapacity);
    for (size_t i = 0; i < kCapacity; ++i) {
        destination[i] = u'#';
    }
    StringConvFromInteger(destination.get(), value, radix);
    return std::u16string(destination.get());
}

// The text std::to_chars gives, or the empty text where it outgrows the
// destination.
template <typename Integer>
std::u16string Expected(Integer value, int radix) {
    char text[80];
    const auto result = std::to_chars(text, text + sizeof text, value, radix);
    const std::u16string expected(text, result.ptr);
    return expected.size() < kCapacity ? expected : u"";
}

TEST(IntegerText, IntLimits) {
    EXPECT_EQ(Text(0, 10), u"0");
    EXPECT_EQ(Text(-1, 10), u"-1");
    EXPECT_EQ(Text(INT_MIN, 10), u"-2147483648");
    EXPECT_EQ(Text(INT_MAX, 10), u"2147483647");
    EXPECT_EQ(Text(INT_MIN, 2), u"-10000000000000000000000000000000");
    EXPECT_EQ(Text(INT_MIN, 16), u"-80000000");
    EXPECT_EQ(Text(INT_MAX, 36), u"zik0zj");
    EXPECT_EQ(Text(-255, 16), u"-ff");
}

TEST(IntegerText, UnsignedLimits) {
    EXPECT_EQ(Text(0u, 10), u"0");
    EXPECT_EQ(Text(UINT_MAX, 10), u"4294967295");
    EXPECT_EQ(Text(UINT_MAX, 2), std::u16string(32, u'1'));
    EXPECT_EQ(Text(UINT_MAX, 16), u"ffffffff");
    EXPECT_EQ(Text(UINT_MAX, 36), u"1z141z3");
}

// long is 32 bits on Windows and 64 bits on Linux.
TEST(IntegerText, LongLimits) {
    const bool wide = sizeof(long) == 8;
    EXPECT_EQ(Text(LONG_MIN, 10), wide ? u"-9223372036854775808" : u"-2147483648");
    EXPECT_EQ(Text(LONG_MAX, 10), wide ? u"9223372036854775807" : u"2147483647");
    EXPECT_EQ(Text(LONG_MIN, 16), wide ? u"-8000000000000000" : u"-80000000");
    EXPECT_EQ(Text(ULONG_MAX, 10), wide ? u"18446744073709551615" : u"4294967295");
    EXPECT_EQ(Text(ULONG_MAX, 36), wide ? u"3w5e11264sgsf" : u"1z141z3");
}

TEST(IntegerText, LongLongLimits) {
    EXPECT_EQ(Text(LLONG_MIN, 10), u"-9223372036854775808");
    EXPECT_EQ(Text(LLONG_MAX, 10), u"9223372036854775807");
    EXPECT_EQ(Text(LLONG_MIN, 16), u"-8000000000000000");
    EXPECT_EQ(Text(LLONG_MIN, 36), u"-1y2p0ij32e8e8");
    EXPECT_EQ(Text(ULLONG_MAX, 10), u"18446744073709551615");
    EXPECT_EQ(Text(ULLONG_MAX, 16), u"ffffffffffffffff");
    EXPECT_EQ(Text(ULLONG_MAX, 36), u"3w5e11264sgsf");
    EXPECT_EQ(Text(0ull, 2), u"0");
}

// 63 digits and the NUL fill the destination; one unit more does not fit,
// and then the text is empty rather than cut.
TEST(IntegerText, BinaryTextsOfTheDestinationsSize) {
    EXPECT_EQ(Text(ULLONG_MAX >> 1, 2), std::u16string(63, u'1'));
    EXPECT_EQ(Text(1ull << 63, 2), u"");
    EXPECT_EQ(Text(ULLONG_MAX, 2), u"");
    EXPECT_EQ(Text(-((1ll << 62) - 1), 2), u"-" + std::u16string(62, u'1'));
    EXPECT_EQ(Text(-(1ll << 62), 2), u"");
    EXPECT_EQ(Text(LLONG_MIN, 2), u"");
    EXPECT_EQ(Text(LLONG_MAX, 2), std::u16string(63, u'1'));
}

TEST(IntegerText, RadixOutOfRangeGivesEmptyText) {
    for (const int radix : {-10, 0, 1, 37, 100}) {
        EXPECT_EQ(Text(42, radix), u"") << radix;
        EXPECT_EQ(Text(42ull, radix), u"") << radix;
    }
}

TEST(IntegerText, NullDestinationIsIgnored) {
    StringConvFromInteger(nullptr, 12345, 10);
    StringConvFromInteger(nullptr, ULLONG_MAX, 2);
}

TEST(IntegerText, RandomValuesInEveryRadix) {
    std::mt19937_64 random(20240601);
    for (int i = 0; i < 2000; ++i) {
        const uint64_t bits = random() >> (random() % 64);
        const int radix = 2 + static_cast<int>(random() % 35);
        const auto asInt = static_cast<int>(static_cast<uint32_t>(bits));
        const auto asUnsigned = static_cast<unsigned>(bits);
        const auto asLongLong = static_cast<long long>(bits);
        ASSERT_EQ(Text(asInt, radix), Expected(asInt, radix));
        ASSERT_EQ(Text(asUnsigned, radix), Expected(asUnsigned, radix));
        ASSERT_EQ(Text(static_cast<long>(asLongLong), radix),
                  Expected(static_cast<long>(asLongLong), radix));
        ASSERT_EQ(Text(static_cast<unsigned long>(bits), radix),
                  Expected(static_cast<unsigned long>(bits), radix));
        ASSERT_EQ(Text(asLongLong, radix), Expected(asLongLong, radix));
        ASSERT_EQ(Text(static_cast<unsigned long long>(bits), radix),
                  Expected(static_cast<unsigned long long>(bits), radix));
    }
}

}  // namespace
