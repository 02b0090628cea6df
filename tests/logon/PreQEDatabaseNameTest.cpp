// The one-text logon form "<directory|mask|levels>" and its pieces.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "logon/PreQEDatabaseName.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

TEST(LeadingDecimalNumber, ReadsAsTheRuntimeDoes) {
    const struct {
        const char16_t* text;
        int32_t number;
    } cases[] = {
        {u"3", 3},
        {u"  \t42", 42},
        {u"-1", -1},
        {u"+7", 7},
        {u"12abc", 12},
        {u"abc", 0},
        {u"", 0},
        {u"-", 0},
        {u"- 5", 0},
        {u"0x10", 0},
        {u"007", 7},
        {u"2147483647", INT_MAX},
        {u"2147483648", INT_MAX},
        {u"99999999999999999999", INT_MAX},
        {u"-2147483648", INT_MIN},
        {u"-2147483649", INT_MIN},
        {u"\u0663", 0},  // digits of other scripts are not decimal digits here
    };
    for (const auto& c : cases)
        EXPECT_EQ(LeadingDecimalNumber(c.text), c.number) << U8(c.text);
}

TEST(PreQEDatabaseName, WellFormedTexts) {
    const struct {
        const char16_t* text;
        const char* directory;
        const char* mask;
        int32_t levels;
    } cases[] = {
        {u"<C:\\Reports|*.doc|2>", "C:\\Reports", "*.doc", 2},
        {u"< /data/reports  |  *.txt |  3 >", "/data/reports", "*.txt", 3},
        {u"<\t/data\t|\t*.*\t|\t-1\t>", "/data", "*.*", -1},
        {u"<a|b|c|d|5>", "a|b|c", "d", 5},  // the last two bars split
        {u"</data||0>", "/data", "", 0},    // an empty mask is allowed
        {u"</data|*|x>", "/data", "*", 0},
        {u"</data|*|4 levels>", "/data", "*", 4},
    };
    for (const auto& c : cases) {
        SWCharString directory = u"stale", mask = u"stale";
        int32_t levels = 99;
        ASSERT_TRUE(ParsePreQEDatabaseName(c.text, directory, mask, levels)) << U8(c.text);
        EXPECT_EQ(U8(directory.str()), c.directory) << U8(c.text);
        EXPECT_EQ(U8(mask.str()), c.mask) << U8(c.text);
        EXPECT_EQ(levels, c.levels) << U8(c.text);
    }
}

TEST(PreQEDatabaseName, MalformedTextsChangeNothing) {
    const char16_t* const cases[] = {
        u"",
        u"<",
        u">",
        u"<>",
        u"</data|*.*|3",    // no closing bracket
        u"/data|*.*|3>",    // no opening bracket
        u" </data|*.*|3>",  // not first
        u"</data|*.*|3> ",  // not last
        u"</data|3>",       // one bar
        u"</data>",         // none
        u"</data|*.*|>",    // no level count
        u"</data|*.*|  >",  //
        u"<|*.*|3>",        // no directory
        u"<  |*.*|3>",      //
        u"<||>",
        u"<|||>",
    };
    for (const char16_t* text : cases) {
        SWCharString directory = u"stale", mask = u"stale";
        int32_t levels = 99;
        EXPECT_FALSE(ParsePreQEDatabaseName(text, directory, mask, levels)) << U8(text);
        EXPECT_EQ(U8(directory.str()), "stale") << U8(text);
        EXPECT_EQ(U8(mask.str()), "stale") << U8(text);
        EXPECT_EQ(levels, 99) << U8(text);
    }
}

}  // namespace
