#include <gtest/gtest.h>

#include <string>

#include "runtime/SWCharString.h"
#include "tests/platform/OnPlatform.h"

using testing_platform::OnPlatform;

namespace {

TEST(SWCharString, ConstructionAndAssignment) {
    EXPECT_TRUE(SWCharString().isEmpty());
    EXPECT_TRUE(SWCharString(static_cast<const char16_t*>(nullptr)).isEmpty());
    EXPECT_EQ(SWCharString(u"abc").str(), u"abc");
    EXPECT_EQ(SWCharString(std::u16string(u"a\0b", 3)).length(), 3u);

    SWCharString text(u"first");
    text = u"second";
    EXPECT_EQ(text.str(), u"second");
    text = static_cast<const char16_t*>(nullptr);
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(text.c_str()[0], u'\0');

    SWCharString self(u"itself");
    self = self.c_str();
    EXPECT_EQ(self.str(), u"itself");
}

TEST(SWCharString, Equality) {
    EXPECT_TRUE(SWCharString(u"abc") == SWCharString(u"abc"));
    EXPECT_TRUE(SWCharString(u"abc") != SWCharString(u"ABC"));
    EXPECT_TRUE(SWCharString(u"") == SWCharString());
}

TEST(SWCharString, Append) {
    SWCharString text(u"dir");
    text += u'/';
    text += u"file";
    text += SWCharString(u".txt");
    text += static_cast<const char16_t*>(nullptr);
    EXPECT_EQ(text.str(), u"dir/file.txt");

    text += text;
    EXPECT_EQ(text.str(), u"dir/file.txtdir/file.txt");
}

TEST(SWCharString, ConcatTakesAtMostCountUnits) {
    SWCharString text(u">");
    text.concat(u"abcdef", 3);
    EXPECT_EQ(text.str(), u">abc");
    text.concat(u"xy", 10);  // stops at the NUL
    EXPECT_EQ(text.str(), u">abcxy");
    text.concat(u"ignored", 0);
    text.concat(nullptr, 5);
    EXPECT_EQ(text.str(), u">abcxy");
    const char16_t withNul[] = {u'1', u'\0', u'2'};
    text.concat(withNul, 3);
    EXPECT_EQ(text.str(), u">abcxy1");
}

TEST(SWCharString, CompareIsOrdinal) {
    struct Row {
        const char16_t* a;
        const char16_t* b;
        int sign;
    };
    const Row rows[] = {
        {u"abc", u"abc", 0},
        {u"", u"", 0},
        {u"a", u"b", -1},
        {u"B", u"a", -1},
        {u"ab", u"abc", -1},
        {u"z", u"\u00E0", -1},
        {u"\uFFFF", u"\U00010000", 1},  // unit order, not code point order
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(row.a)));
        const int forward = SWCharString(row.a).compare(SWCharString(row.b));
        const int backward = SWCharString(row.b).compare(SWCharString(row.a));
        EXPECT_EQ((forward > 0) - (forward < 0), row.sign);
        EXPECT_EQ((backward > 0) - (backward < 0), -row.sign);
    }
}

TEST(SWCharString, CompareNoCase) {
    EXPECT_EQ(SWCharString(u"C:\\Data").compareNoCase(SWCharString(u"c:\\DATA")), 0);
    EXPECT_EQ(SWCharString(u"*.TXT").compareNoCase(SWCharString(u"*.txt")), 0);
    EXPECT_LT(SWCharString(u"a").compareNoCase(SWCharString(u"B")), 0);
    EXPECT_GT(SWCharString(u"b").compareNoCase(SWCharString(u"A")), 0);
    EXPECT_LT(SWCharString(u"dir").compareNoCase(SWCharString(u"DIR\\")), 0);
    EXPECT_NE(SWCharString(u"e").compareNoCase(SWCharString(u"\u00E9")), 0);
}

TEST(SWCharString, LeftRightMid) {
    const SWCharString text(u"abcdef");
    EXPECT_EQ(text.left(0).str(), u"");
    EXPECT_EQ(text.left(2).str(), u"ab");
    EXPECT_EQ(text.left(99).str(), u"abcdef");
    EXPECT_EQ(text.right(0).str(), u"");
    EXPECT_EQ(text.right(2).str(), u"ef");
    EXPECT_EQ(text.right(99).str(), u"abcdef");
    EXPECT_EQ(text.mid(0).str(), u"abcdef");
    EXPECT_EQ(text.mid(1).str(), u"bcdef");
    EXPECT_EQ(text.mid(2, 3).str(), u"cde");
    EXPECT_EQ(text.mid(4, 99).str(), u"ef");
    EXPECT_EQ(text.mid(6).str(), u"");
    EXPECT_EQ(text.mid(99, 2).str(), u"");
    EXPECT_EQ(text.mid(2, 0).str(), u"");
}

TEST(SWCharString, FindAndIterators) {
    const SWCharString path(u"<dir\\sub\\name");
    const SWCharString::iterator first = path.findFirst(u'\\');
    const SWCharString::iterator last = path.findLast(u'\\');
    ASSERT_TRUE(first);
    ASSERT_TRUE(last);
    EXPECT_EQ(first.index(), 4u);
    EXPECT_EQ(last.index(), 8u);
    EXPECT_EQ(path.left(last).str(), u"<dir\\sub");
    EXPECT_EQ(path.right(last).str(), u"name");
    EXPECT_EQ(path.left(first).str(), u"<dir");
    EXPECT_EQ(path.right(first).str(), u"sub\\name");
    EXPECT_EQ(path.findFirst(u'<').index(), 0u);
    EXPECT_EQ(path.right(path.findLast(u'e')).str(), u"");  // found at the very end

    const SWCharString::iterator missing = path.findLast(u'/');
    EXPECT_FALSE(missing);
    EXPECT_FALSE(path.findFirst(u'/'));
    EXPECT_FALSE(SWCharString::iterator());
    EXPECT_EQ(path.left(missing).str(), path.str());
    EXPECT_EQ(path.right(missing).str(), u"");
    EXPECT_FALSE(SWCharString().findFirst(u'a'));
}

TEST(SWCharString, GetAt) {
    const SWCharString text(u"ab");
    EXPECT_EQ(text.getAt(0), u'a');
    EXPECT_EQ(text.getAt(1), u'b');
    EXPECT_EQ(text.getAt(2), u'\0');
    EXPECT_EQ(text.getAt(SWCharString::npos), u'\0');
    EXPECT_EQ(SWCharString().getAt(0), u'\0');
}

TEST(SWCharString, TrimRemovesAsciiWhiteSpace) {
    SWCharString text(u" \t\n\v\f\r value \r\n");
    text.trimLeft();
    EXPECT_EQ(text.str(), u"value \r\n");
    text.trimRight();
    EXPECT_EQ(text.str(), u"value");

    SWCharString inner(u"a b");
    EXPECT_EQ(inner.trimLeft().trimRight().str(), u"a b");

    SWCharString blank(u" \t ");
    EXPECT_TRUE(blank.trimRight().isEmpty());
    SWCharString blankLeft(u"\r\n");
    EXPECT_TRUE(blankLeft.trimLeft().isEmpty());

    // Other white space is text.
    SWCharString noBreak(u"\u00A0x\u3000");
    EXPECT_EQ(noBreak.trimLeft().trimRight().str(), u"\u00A0x\u3000");
}

TEST(SWCharString, CopyFrom) {
    SWCharString text(u"old");
    text.copyFrom("caf\xE9 \x80\xFF");
    EXPECT_EQ(text.str(), u"caf\u00E9 \u0080\u00FF");
    text.copyFrom(static_cast<const char*>(nullptr));
    EXPECT_TRUE(text.isEmpty());
    text.copyFrom(u"wide");
    EXPECT_EQ(text.str(), u"wide");
    text.copyFrom(static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(text.isEmpty());
}

TEST(SWCharString, FromMbcsUsesTheAnsiCodePage) {
    SWCharString text;
    EXPECT_EQ(text.fromMBCS("plain").str(), u"plain");
    EXPECT_EQ(text.fromMBCS("caf\xE9").str(), u"caf\u00E9");  // Windows-1252 on both builds
    EXPECT_EQ(text.fromMBCS("\x80").str(), u"\u20AC");
    // UTF-8 is the POSIX build's ANSI code page; Wine's is 1252 here.
    EXPECT_EQ(text.fromMBCS("caf\xC3\xA9").str(),
              OnPlatform<std::u16string>(u"caf\u00E9", u"caf\u00C3\u00A9"));
    EXPECT_TRUE(text.fromMBCS(nullptr).isEmpty());
}

TEST(SWCharString, ToWChar) {
    const SWCharString text(u"abcd");
    EXPECT_EQ(text.toWChar(nullptr, 0), 5u);
    EXPECT_EQ(text.toWChar(nullptr, 100), 5u);
    EXPECT_EQ(SWCharString().toWChar(nullptr, 0), 1u);

    struct Row {
        size_t capacity;
        size_t written;
        std::u16string result;
    };
    const Row rows[] = {
        {1, 0, u""}, {2, 1, u"a"}, {4, 3, u"abc"}, {5, 4, u"abcd"}, {8, 4, u"abcd"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.capacity);
        std::u16string buffer(10, u'#');
        EXPECT_EQ(text.toWChar(buffer.data(), row.capacity), row.written);
        EXPECT_EQ(std::u16string(buffer.c_str()), row.result);
        // Nothing beyond the terminating NUL is touched.
        EXPECT_EQ(buffer.substr(row.written + 1), std::u16string(9 - row.written, u'#'));
    }

    std::u16string untouched(4, u'#');
    EXPECT_EQ(text.toWChar(untouched.data(), 0), 0u);
    EXPECT_EQ(untouched, u"####");
}

}  // namespace
