#include <gtest/gtest.h>

#include "platform/Multibyte.h"
#include "tests/support/TestSupport.h"

using platform::AnsiToUtf16;
using testing_support::IsWindowsBuild;

// The Windows build runs with the ANSI code page 1252 (Wine's default for an
// English or C locale); the POSIX build's ANSI code page is UTF-8.
namespace {

TEST(Multibyte, AsciiIsTheSameEverywhere) {
    EXPECT_EQ(AnsiToUtf16(""), u"");
    EXPECT_EQ(AnsiToUtf16("Report 2026.txt"), u"Report 2026.txt");
}

TEST(Multibyte, TextThatIsNotUtf8IsReadAsWindows1252) {
    EXPECT_EQ(AnsiToUtf16("caf\xE9"), u"caf\u00E9");
    EXPECT_EQ(AnsiToUtf16("\x80 \x9F \x81"), u"\u20AC \u0178 \u0081");
    // One stray byte makes the whole text Windows-1252, including the bytes
    // that would have formed a UTF-8 character.
    EXPECT_EQ(AnsiToUtf16("\xC3\xA9 \xE9"), u"\u00C3\u00A9 \u00E9");
}

TEST(Multibyte, ValidUtf8DependsOnTheAnsiCodePage) {
    EXPECT_EQ(AnsiToUtf16("caf\xC3\xA9"), IsWindowsBuild() ? u"caf\u00C3\u00A9" : u"caf\u00E9");
    EXPECT_EQ(AnsiToUtf16("\xE2\x82\xAC"), IsWindowsBuild() ? u"\u00E2\u201A\u00AC" : u"\u20AC");
}

}  // namespace
