// What SWCharString and the string functions add to std::u16string: null
// texts, counted appends, case-blind order, ASCII-only trimming, the ANSI code
// page, and buffers that are cut and terminated.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "runtime/SLocale.h"
#include "runtime/SWCharString.h"
#include "runtime/StringFunctions.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(SWCharString, NullTextsAndCountedAppends) {
    SWCharString text(static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(text.c_str()[0], u'\0');
    text.concat(u"abcdef", 3);
    text.concat(u"xy", 10);  // stops at the NUL
    text.concat(nullptr, 5);
    text += static_cast<const char16_t*>(nullptr);
    EXPECT_EQ(text.str(), u"abcxy");
    text.copyFrom("caf\xE9 \x80");  // bytes taken as Latin-1
    EXPECT_EQ(text.str(), u"caf\u00E9 \u0080");
    EXPECT_EQ(text.getAt(99), u'\0');
}

TEST(SWCharString, CompareNoCaseAndTrim) {
    EXPECT_EQ(SWCharString(u"C:\\Data").compareNoCase(SWCharString(u"c:\\DATA")), 0);
    EXPECT_LT(SWCharString(u"a").compareNoCase(SWCharString(u"B")), 0);
    EXPECT_GT(SWCharString(u"b").compareNoCase(SWCharString(u"A")), 0);
    EXPECT_NE(SWCharString(u"e").compareNoCase(SWCharString(u"\u00E9")), 0);
    SWCharString text(u" \t\n\v\f\r\u00A0value\u3000 \r\n");
    EXPECT_EQ(text.trimLeft().trimRight().str(),
              u"\u00A0value\u3000");  // other white space is text
    SWCharString blank(u" \t ");
    EXPECT_TRUE(blank.trimRight().isEmpty());
}

TEST(SWCharString, SplitAtFoundUnits) {
    const SWCharString path(u"<dir\\sub\\name");
    EXPECT_EQ(path.left(path.findLast(u'\\')).str(), u"<dir\\sub");
    EXPECT_EQ(path.right(path.findFirst(u'\\')).str(), u"sub\\name");
    EXPECT_EQ(path.right(path.findLast(u'e')).str(), u"");
    const SWCharString::iterator missing = path.findLast(u'/');
    EXPECT_FALSE(missing);
    EXPECT_EQ(path.left(missing).str(), path.str());
    EXPECT_EQ(path.right(missing).str(), u"");
    EXPECT_EQ(path.mid(99, 2).str(), u"");
}

TEST(SWCharString, FromMbcsUsesTheAnsiCodePage) {
    SWCharString text;
    EXPECT_EQ(text.fromMBCS("caf\xE9").str(), u"caf\u00E9");  // Windows-1252 on both builds
    EXPECT_EQ(text.fromMBCS("\x80").str(), u"\u20AC");
    // UTF-8 is the POSIX build's ANSI code page; Wine's is 1252 here.
    EXPECT_EQ(text.fromMBCS("caf\xC3\xA9").str(),
              testing_support::IsWindowsBuild() ? u"caf\u00C3\u00A9" : u"caf\u00E9");
    EXPECT_TRUE(text.fromMBCS(nullptr).isEmpty());
}

// Both writers cut to the capacity, terminate, and touch nothing beyond.
TEST(SWCharString, BuffersAreCutAndTerminated) {
    const SWCharString text(u"abcd");
    EXPECT_EQ(text.toWChar(nullptr, 0), 5u);
    for (size_t capacity : {0, 1, 2, 5, 8}) {
        SCOPED_TRACE(capacity);
        const size_t written = capacity == 0 ? 0 : std::min<size_t>(capacity - 1, 4);
        std::u16string buffer(10, u'#');
        std::u16string copied(10, u'#');
        EXPECT_EQ(text.toWChar(buffer.data(), capacity), written);
        CopyString(copied.data(), capacity, u"abcd");
        EXPECT_EQ(buffer, copied);
        const std::u16string expected = capacity == 0 ? std::u16string(10, u'#')
                                                      : std::u16string(u"abcd", written) + u'\0' +
                                                            std::u16string(9 - written, u'#');
        EXPECT_EQ(buffer, expected);
    }
}

TEST(StringFunctions, CaseMappingAndLocaleNames) {
    std::u16string text = u"Readme \u00E9t\u00E9 \u03C9 \U00010428.txt";
    MakeUpperCase(text.data(), text.size());
    EXPECT_EQ(text, u"README \u00C9T\u00C9 \u03A9 \U00010400.TXT");
    MakeLowerCase(text.data(), 6);
    EXPECT_EQ(text, u"readme \u00C9T\u00C9 \u03A9 \U00010400.TXT");
    EXPECT_EQ(TextLength(u"ab\0cd"), 2u);
    EXPECT_EQ(SLocale::Rfc1766ToLcid(u"fr_CA"), 0x0C0Cu);
    EXPECT_EQ(SLocale::Rfc1766ToLcid(u"bogus"), 0u);
    EXPECT_EQ(SLocale::Rfc1766ToLcid(nullptr), 0u);
}

}  // namespace
