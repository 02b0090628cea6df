#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "runtime/NumberText.h"

namespace {

struct Accepted {
    const char16_t* text;
    int64_t value;
};

const Accepted kAccepted[] = {
    {u"0", 0},
    {u"-0", 0},
    {u"+0", 0},
    {u"7", 7},
    {u"123", 123},
    {u"-123", -123},
    {u"+123", 123},
    {u"000042", 42},
    {u"  42", 42},
    {u"42  ", 42},
    {u"\t\n\v\f\r-42 \r\n", -42},
    {u"2147483648", 2147483648LL},
    {u"-2147483649", -2147483649LL},
    {u"9223372036854775807", INT64_MAX},
    {u"-9223372036854775808", INT64_MIN},
    {u"+9223372036854775807", INT64_MAX},
    {u"-9223372036854775807", -INT64_MAX},
    {u"00000000000000000000009223372036854775807", INT64_MAX},
};

TEST(NeutralNumber, Accepted) {
    for (const Accepted& row : kAccepted) {
        int64_t value = 99;
        EXPECT_TRUE(NeutralString::ToNumber(SWCharString(row.text), value))
            << testing::PrintToString(std::u16string(row.text));
        EXPECT_EQ(value, row.value) << testing::PrintToString(std::u16string(row.text));
    }
}

const char16_t* const kRejected[] = {
    u"",
    u" ",
    u" \t ",
    u"+",
    u"-",
    u" - ",
    u"--5",
    u"+-5",
    u"5-",
    u"- 5",
    u"1 2",
    u"1e3",
    u"1.0",
    u"1.",
    u".5",
    u"0x10",
    u"1,000",
    u"1_000",
    u"12abc",
    u"abc",
    u"9223372036854775808",
    u"-9223372036854775809",
    u"18446744073709551616",
    u"99999999999999999999999",
    u"\u00A05",       // no-break space is not ASCII white space
    u"5\u3000",       // nor is the ideographic space
    u"\uFF11\uFF12",  // full-width digits
    u"\u0661",        // Arabic-Indic one
    u"\u00B2",        // superscript two
};

TEST(NeutralNumber, Rejected) {
    for (const char16_t* text : kRejected) {
        int64_t value = 0;
        EXPECT_FALSE(NeutralString::ToNumber(SWCharString(text), value))
            << testing::PrintToString(std::u16string(text));
    }
}

// The whole text is read: a NUL inside it is not an end.
TEST(NeutralNumber, EmbeddedNulIsRejected) {
    int64_t value = 0;
    EXPECT_FALSE(NeutralString::ToNumber(SWCharString(std::u16string(u"12\0"
                                                                     u"3",
                                                                     4)),
                                         value));
}

}  // namespace
