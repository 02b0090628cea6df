// What SWCharString and the string functions add to std::u16string.
#include <gtest/gtest.h>

#include "runtime/SWCharString.h"
#include "runtime/StringFunctions.h"
#include "tests/support/TestSupport.h"

namespace {

// Null texts, counted appends, ASCII-only trimming, code pages, case, buffers.
TEST(SWCharString, TextsConversionsAndBuffers) {
    SWCharString text(static_cast<const char16_t*>(nullptr));
    text.concat(u"abcdef", 3);
    text.concat(u"xy", 10);  // stops at the NUL
    text.concat(nullptr, 5);
    text += static_cast<const char16_t*>(nullptr);
    EXPECT_EQ(text.str(), u"abcxy");
    EXPECT_EQ(text.copyFrom("caf\xE9 \x80").str(), u"caf\u00E9 \u0080");  // bytes as Latin-1
    SWCharString padded(u" \t\n\v\f\r\u00A0value\u3000 \r\n");
    EXPECT_EQ(padded.trimLeft().trimRight().str(), u"\u00A0value\u3000");  // other space is text
    EXPECT_EQ(text.fromMBCS("caf\xE9").str(), u"caf\u00E9");               // 1252 on both builds
    EXPECT_EQ(text.fromMBCS("\x80").str(), u"\u20AC");
    // UTF-8 is the POSIX build's ANSI code page; Wine's is 1252 here.
    EXPECT_EQ(text.fromMBCS("caf\xC3\xA9").str(),
              testing_support::IsWindowsBuild() ? u"caf\u00C3\u00A9" : u"caf\u00E9");
    std::u16string name = u"Readme \u00E9t\u00E9 \u03C9 \U00010428.txt";
    MakeUpperCase(name.data(), name.size());
    EXPECT_EQ(name, u"README \u00C9T\u00C9 \u03A9 \U00010400.TXT");
    // Both buffer writers cut to the capacity, terminate, touch nothing beyond.
    EXPECT_EQ(SWCharString(u"abcd").toWChar(nullptr, 0), 5u);
    for (size_t capacity : {0, 1, 2, 5, 8}) {
        const size_t written = capacity == 0 ? 0 : capacity > 5 ? 4 : capacity - 1;
        std::u16string buffer(10, u'#'), copied(10, u'#');
        EXPECT_EQ(SWCharString(u"abcd").toWChar(buffer.data(), capacity), written);
        CopyString(copied.data(), capacity, u"abcd");
        const std::u16string expected = capacity == 0 ? std::u16string(10, u'#')
                                                      : std::u16string(u"abcd", written) + u'\0' +
                                                            std::u16string(9 - written, u'#');
        EXPECT_EQ(buffer, expected) << capacity;
        EXPECT_EQ(copied, expected) << capacity;
    }
}

}  // namespace
