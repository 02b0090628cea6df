#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/Collation.h"

using platform::CollateText;
using platform::CollateTextNoCase;
using platform::CompareTextNoCase;

namespace {

// The C runtime's collation follows the process's locale, which a host
// application sets from the user's settings; in the "C" locale it would
// merely compare code units. ICU's root collator needs no locale.
class Collation : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved_ = current != nullptr ? current : "C";
        std::setlocale(LC_ALL, "");
    }
    static void TearDownTestSuite() { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    static std::string saved_;
};
std::string Collation::saved_;

struct Row {
    const char16_t* a;
    const char16_t* b;
    int sign;  // the expected result, -1, 0 or 1
};

void ExpectOrder(int (*compare)(const char16_t*, const char16_t*), const Row& row) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.a)) + " vs " +
                 testing::PrintToString(std::u16string(row.b)));
    EXPECT_EQ(compare(row.a, row.b), row.sign);
    EXPECT_EQ(compare(row.b, row.a), -row.sign);
}

TEST_F(Collation, CaseAndAccentsCount) {
    const Row rows[] = {
        {u"", u"", 0},
        {u"Size", u"Size", 0},
        {u"\u00E9t\u00E9", u"\u00E9t\u00E9", 0},
        {u"a", u"A", -1},  // lower case first, as in Windows's sort
        {u"a", u"B", -1},  // letters before case
        {u"A", u"b", -1},
        {u"e", u"\u00E9", -1},
        {u"\u00E9", u"f", -1},  // an accent is a lesser difference than a letter
        {u"\u00E9", u"\u00C9", -1},
        {u"ab", u"abc", -1},
        {u"file2", u"file10", 1},  // digits compare one by one
        {u"\u03B1", u"\u0391", -1},
    };
    for (const Row& row : rows) {
        ExpectOrder(CollateText, row);
    }
}

TEST_F(Collation, NoCaseIgnoresCaseButNotAccents) {
    const Row rows[] = {
        {u"", u"", 0},
        {u"a", u"A", 0},
        {u"Name", u"NAME", 0},
        {u"\u00E9", u"\u00C9", 0},
        {u"\u03B1\u03B2\u03B3", u"\u0391\u0392\u0393", 0},
        {u"a", u"B", -1},
        {u"Ab", u"aC", -1},
        {u"e", u"\u00E9", -1},
        {u"E", u"\u00E9", -1},
        {u"Name", u"Names", -1},
    };
    for (const Row& row : rows) {
        ExpectOrder(CollateTextNoCase, row);
    }
}

TEST_F(Collation, CompareNoCaseGoesUnitByUnit) {
    const Row rows[] = {
        {u"", u"", 0},
        {u"abc", u"ABC", 0},
        {u"File Name.TXT", u"file name.txt", 0},
        {u"\u00E9t\u00E9", u"\u00C9T\u00C9", 0},
        {u"\U00010428", u"\U00010400", 1},  // a pair is not case-mapped unit by unit
        {u"a", u"B", -1},
        {u"abc", u"ABCD", -1},
        {u"e", u"\u00E9", -1},
        {u"\u00DF", u"SS", 1},
        {u"z", u"\u00E0", -1},  // code unit order, not alphabetical
    };
    for (const Row& row : rows) {
        ExpectOrder(CompareTextNoCase, row);
    }
}

TEST_F(Collation, NullIsTheEmptyText) {
    EXPECT_EQ(CollateText(nullptr, u""), 0);
    EXPECT_EQ(CollateText(nullptr, u"a"), -1);
    EXPECT_EQ(CollateTextNoCase(u"", nullptr), 0);
    EXPECT_EQ(CompareTextNoCase(nullptr, nullptr), 0);
    EXPECT_EQ(CompareTextNoCase(u"a", nullptr), 1);
}

}  // namespace
