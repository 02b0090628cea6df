#include <gtest/gtest.h>

#include <string>

#include "runtime/SLocale.h"
#include "runtime/StringFunctions.h"

namespace {

TEST(StringFunctions, CopyStringTruncatesAndTerminates) {
    struct Row {
        size_t capacity;
        std::u16string result;
    };
    const Row rows[] = {{1, u""}, {2, u"a"}, {3, u"ab"}, {4, u"abc"}, {9, u"abc"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.capacity);
        std::u16string buffer(10, u'#');
        CopyString(buffer.data(), row.capacity, u"abc");
        EXPECT_EQ(std::u16string(buffer.c_str()), row.result);
        EXPECT_EQ(buffer.substr(row.result.size() + 1),
                  std::u16string(9 - row.result.size(), u'#'));
    }

    std::u16string untouched(3, u'#');
    CopyString(untouched.data(), 0, u"abc");
    EXPECT_EQ(untouched, u"###");
    CopyString(untouched.data(), 3, nullptr);
    EXPECT_EQ(untouched[0], u'\0');
    CopyString(nullptr, 5, u"abc");  // nothing to write to
}

TEST(StringFunctions, CaseMappingInPlace) {
    std::u16string text = u"Readme \u00E9t\u00E9 \u03C9 \U00010428.txt";
    MakeUpperCase(text.data(), text.size());
    EXPECT_EQ(text, u"README \u00C9T\u00C9 \u03A9 \U00010400.TXT");
    MakeLowerCase(text.data(), text.size());
    EXPECT_EQ(text, u"readme \u00E9t\u00E9 \u03C9 \U00010428.txt");

    std::u16string part = u"abc";
    MakeUpperCase(part.data(), 2);
    EXPECT_EQ(part, u"ABc");
    MakeLowerCase(part.data(), 1);
    EXPECT_EQ(part, u"aBc");
    MakeUpperCase(nullptr, 4);
    MakeLowerCase(nullptr, 4);
}

TEST(StringFunctions, TextLength) {
    EXPECT_EQ(TextLength(nullptr), 0u);
    EXPECT_EQ(TextLength(u""), 0u);
    EXPECT_EQ(TextLength(u"abc"), 3u);
    EXPECT_EQ(TextLength(u"\U0001F600"), 2u);
    EXPECT_EQ(TextLength(u"ab\0cd"), 2u);
}

TEST(SLocale, Rfc1766ToLcid) {
    EXPECT_EQ(SLocale::Rfc1766ToLcid(u"en-US"), 0x0409u);
    EXPECT_EQ(SLocale::Rfc1766ToLcid(u"de"), 0x0407u);
    EXPECT_EQ(SLocale::Rfc1766ToLcid(u"fr_CA"), 0x0C0Cu);
    EXPECT_EQ(SLocale::Rfc1766ToLcid(u"bogus"), 0u);
    EXPECT_EQ(SLocale::Rfc1766ToLcid(nullptr), 0u);
    EXPECT_EQ(kDefaultLcid, 1033u);
}

}  // namespace
