#include <gtest/gtest.h>

#include <string>

#include "platform/CaseMapping.h"

using platform::LowerCaseInPlace;
using platform::UpperCaseInPlace;
using platform::UpperCaseUnit;

namespace {

std::u16string Upper(std::u16string text) {
    UpperCaseInPlace(text.data(), text.size());
    return text;
}

std::u16string Lower(std::u16string text) {
    LowerCaseInPlace(text.data(), text.size());
    return text;
}

struct CaseRow {
    const char* what;
    std::u16string lower;
    std::u16string upper;
};

// Pairs that map both ways; neither mapping changes the length.
const CaseRow kPairs[] = {
    {"ASCII", u"abc xyz", u"ABC XYZ"},
    {"Latin-1", u"\u00E0\u00E9\u00EE\u00F5\u00FC\u00E7\u00F8\u00FE",
     u"\u00C0\u00C9\u00CE\u00D5\u00DC\u00C7\u00D8\u00DE"},
    {"y with diaeresis leaves Latin-1", u"\u00FF", u"\u0178"},
    {"Latin Extended-A", u"\u0161\u017E\u0153", u"\u0160\u017D\u0152"},
    {"Greek", u"\u03B1\u03B2\u03B3\u03C9", u"\u0391\u0392\u0393\u03A9"},
    {"Cyrillic", u"\u0436\u044F", u"\u0416\u042F"},
    {"Deseret (a surrogate pair)", u"\U00010428", u"\U00010400"},
    {"pair between ASCII", u"a\U00010428b", u"A\U00010400B"},
};

TEST(CaseMapping, MapsBothWays) {
    for (const CaseRow& row : kPairs) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Upper(row.lower), row.upper);
        EXPECT_EQ(Lower(row.upper), row.lower);
        EXPECT_EQ(Upper(row.upper), row.upper);
        EXPECT_EQ(Lower(row.lower), row.lower);
    }
}

TEST(CaseMapping, LeavesCharactersWithoutSimpleMappingAlone) {
    const std::u16string unchanged[] = {
        u"0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
        u"\u00DF",        // sharp s: its upper case "SS" is two characters
        u"\u00D7\u00F7",  // multiplication and division signs
        u"\u4E2D\u6587",  // CJK has no case
        u"\U0001F600",    // emoji
    };
    for (const std::u16string& text : unchanged) {
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_EQ(Upper(text), text);
        EXPECT_EQ(Lower(text), text);
    }
}

TEST(CaseMapping, UnpairedSurrogatesStay) {
    const std::u16string lone = u"\xD801x\xDC28";
    EXPECT_EQ(Upper(lone), u"\xD801X\xDC28");
    EXPECT_EQ(Lower(u"\xDC00X\xD801"), u"\xDC00x\xD801");
}

TEST(CaseMapping, OnlyTheGivenLengthChanges) {
    std::u16string text = u"abcdef";
    UpperCaseInPlace(text.data(), 3);
    EXPECT_EQ(text, u"ABCdef");
    LowerCaseInPlace(text.data(), 0);
    EXPECT_EQ(text, u"ABCdef");
    LowerCaseInPlace(text.data() + 1, 1);
    EXPECT_EQ(text, u"AbCdef");
}

TEST(CaseMapping, UpperCaseUnit) {
    EXPECT_EQ(UpperCaseUnit(u'a'), u'A');
    EXPECT_EQ(UpperCaseUnit(u'z'), u'Z');
    EXPECT_EQ(UpperCaseUnit(u'A'), u'A');
    EXPECT_EQ(UpperCaseUnit(u'1'), u'1');
    EXPECT_EQ(UpperCaseUnit(u'_'), u'_');
    EXPECT_EQ(UpperCaseUnit(u'\0'), u'\0');
    EXPECT_EQ(UpperCaseUnit(u'\u00E9'), u'\u00C9');
    EXPECT_EQ(UpperCaseUnit(u'\u03C9'), u'\u03A9');
    EXPECT_EQ(UpperCaseUnit(u'\u00DF'), u'\u00DF');
    EXPECT_EQ(UpperCaseUnit(0xD801), 0xD801);
    EXPECT_EQ(UpperCaseUnit(0xDC28), 0xDC28);
}

}  // namespace
