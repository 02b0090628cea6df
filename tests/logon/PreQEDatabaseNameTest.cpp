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

// The one text form at the level where it is parsed (the fuzz target holds
// the junk); a text that is not of the form leaves the values as they were.
TEST(PreQEDatabaseName, Texts) {
    const struct {
        const char16_t* text;
        const char* parsed;  // "directory|mask|levels", or null: refused
    } cases[] = {
        {u"<C:\\Reports|*.doc|2>", "C:\\Reports|*.doc|2"},
        {u"< /data/reports  |  *.txt |  3 >", "/data/reports|*.txt|3"},
        {u"<\t/data\t|\t*.*\t|\t-1\t>", "/data|*.*|-1"},
        {u"<a|b|c|d|5>", "a|b|c|d|5"},  // the last two bars split
        {u"</data||0>", "/data||0"},    // an empty mask is allowed
        {u"</data|*|x>", "/data|*|0"},
        {u"</data|*|4 levels>", "/data|*|4"},
        {u"", nullptr},
        {u"<>", nullptr},
        {u"</data|*.*|3", nullptr},    // no closing bracket
        {u"/data|*.*|3>", nullptr},    // no opening bracket
        {u" </data|*.*|3>", nullptr},  // not first
        {u"</data|*.*|3> ", nullptr},  // not last
        {u"</data|3>", nullptr},       // one bar
        {u"</data|*.*|  >", nullptr},  // no level count
        {u"<  |*.*|3>", nullptr},      // no directory
        {u"<|||>", nullptr},
    };
    for (const auto& c : cases) {
        SWCharString directory = u"stale", mask = u"stale";
        int32_t levels = 99;
        const bool parsed = ParsePreQEDatabaseName(c.text, directory, mask, levels);
        EXPECT_EQ(parsed, c.parsed != nullptr) << U8(c.text);
        EXPECT_EQ(U8(directory.str()) + "|" + U8(mask.str()) + "|" + std::to_string(levels),
                  c.parsed ? c.parsed : "stale|stale|99")
            << U8(c.text);
    }
}

}  // namespace
