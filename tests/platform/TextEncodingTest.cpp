#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/TextEncoding.h"

using platform::IsValidUtf8;
using platform::Utf16ToUtf8;
using platform::Utf8ToUtf16;
using platform::Windows1252ToUtf16;

namespace {

char16_t Escaped(unsigned char byte) {
    return static_cast<char16_t>(0xDC00 + byte);
}

std::string Bytes(std::initializer_list<unsigned char> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

struct ValidCase {
    std::string utf8;
    std::u16string utf16;
};

TEST(TextEncoding, ValidTextRoundTrips) {
    const ValidCase cases[] = {
        {"", u""},
        {"plain ASCII", u"plain ASCII"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {Bytes({0xC2, 0x80}), u"\u0080"},                  // smallest 2-byte
        {Bytes({0xC3, 0xA9}), u"\u00E9"},                  // é
        {Bytes({0xDF, 0xBF}), u"\u07FF"},                  // largest 2-byte
        {Bytes({0xE0, 0xA0, 0x80}), u"\u0800"},            // smallest 3-byte
        {Bytes({0xE2, 0x82, 0xAC}), u"\u20AC"},            // €
        {Bytes({0xED, 0x9F, 0xBF}), u"\uD7FF"},            // just below the surrogates
        {Bytes({0xEE, 0x80, 0x80}), u"\uE000"},            // just above them
        {Bytes({0xEF, 0xBF, 0xBF}), u"\uFFFF"},            // largest 3-byte
        {Bytes({0xF0, 0x90, 0x80, 0x80}), u"\U00010000"},  // smallest 4-byte
        {Bytes({0xF0, 0x9F, 0x98, 0x80}), u"\U0001F600"},  // 😀
        {Bytes({0xF0, 0x90, 0x90, 0xA8}), u"\U00010428"},  // 𐐨
        {Bytes({0xF4, 0x8F, 0xBF, 0xBF}), u"\U0010FFFF"},  // largest code point
        {"caf" + Bytes({0xC3, 0xA9}) + ".txt", u"caf\u00E9.txt"},
    };
    for (const ValidCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.utf16));
        EXPECT_TRUE(IsValidUtf8(c.utf8));
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    }
    EXPECT_EQ(Utf8ToUtf16(Bytes({0xF0, 0x9F, 0x98, 0x80})).size(), 2u);
}

struct BrokenCase {
    const char* what;
    std::string bytes;
    std::u16string expected;
};

TEST(TextEncoding, BrokenSequencesEscapeEachByte) {
    const BrokenCase cases[] = {
        {"2-byte lead at the end", Bytes({'a', 0xC3}), {u'a', Escaped(0xC3)}},
        {"3-byte lead, one continuation", Bytes({0xE2, 0x82}), {Escaped(0xE2), Escaped(0x82)}},
        {"4-byte lead, two continuations, then ASCII",
         Bytes({0xF0, 0x9F, 0x98, 'x'}),
         {Escaped(0xF0), Escaped(0x9F), Escaped(0x98), u'x'}},
        {"lead followed by a valid character",
         Bytes({0xE2, 0xC3, 0xA9}),
         {Escaped(0xE2), u'\u00E9'}},
        {"stray continuation bytes", Bytes({0x80, 0xBF}), {Escaped(0x80), Escaped(0xBF)}},
        {"overlong NUL", Bytes({0xC0, 0x80}), {Escaped(0xC0), Escaped(0x80)}},
        {"overlong 2-byte", Bytes({0xC1, 0xBF}), {Escaped(0xC1), Escaped(0xBF)}},
        {"overlong 3-byte",
         Bytes({0xE0, 0x80, 0xAF}),
         {Escaped(0xE0), Escaped(0x80), Escaped(0xAF)}},
        {"overlong 4-byte",
         Bytes({0xF0, 0x8F, 0xBF, 0xBF}),
         {Escaped(0xF0), Escaped(0x8F), Escaped(0xBF), Escaped(0xBF)}},
        {"encoded high surrogate",
         Bytes({0xED, 0xA0, 0x80}),
         {Escaped(0xED), Escaped(0xA0), Escaped(0x80)}},
        {"encoded low surrogate",
         Bytes({0xED, 0xBF, 0xBF}),
         {Escaped(0xED), Escaped(0xBF), Escaped(0xBF)}},
        {"above U+10FFFF",
         Bytes({0xF4, 0x90, 0x80, 0x80}),
         {Escaped(0xF4), Escaped(0x90), Escaped(0x80), Escaped(0x80)}},
        {"F5 lead",
         Bytes({0xF5, 0x80, 0x80, 0x80}),
         {Escaped(0xF5), Escaped(0x80), Escaped(0x80), Escaped(0x80)}},
        {"Windows-1252 name", Bytes({'c', 'a', 'f', 0xE9}), {u'c', u'a', u'f', Escaped(0xE9)}},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(IsValidUtf8(c.bytes));
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.expected);
        EXPECT_EQ(Utf16ToUtf8(c.expected), c.bytes);
    }
}

bool HasUnpairedSurrogate(const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

// Any byte string, valid or not, comes back unchanged, and the escape appears
// exactly when the bytes are not UTF-8.
TEST(TextEncoding, ArbitraryBytesSurviveRoundTrip) {
    std::mt19937 random(20261205);
    const std::string fragments[] = {
        Bytes({0xC3, 0xA9}),       Bytes({0xE2, 0x82, 0xAC}), Bytes({0xF0, 0x9F, 0x98, 0x80}),
        Bytes({0xED, 0xA0, 0x80}), Bytes({0xED, 0xB2, 0x80}),  // WTF-8 of an escape unit
    };
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> choice(0, 9);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> highByte(0x80, 0xFF);
    std::uniform_int_distribution<size_t> fragment(0, std::size(fragments) - 1);
    size_t validCount = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const int parts = length(random);
        for (int i = 0; i < parts; ++i) {
            const int kind = choice(random);
            if (kind < 3) {
                bytes += static_cast<char>(anyByte(random));
            } else if (kind < 7) {
                bytes += static_cast<char>(highByte(random));
            } else {
                bytes += fragments[fragment(random)];
            }
        }
        const std::u16string decoded = Utf8ToUtf16(bytes);
        ASSERT_EQ(Utf16ToUtf8(decoded), bytes) << testing::PrintToString(bytes);
        ASSERT_EQ(IsValidUtf8(bytes), !HasUnpairedSurrogate(decoded))
            << testing::PrintToString(bytes);
        validCount += IsValidUtf8(bytes) ? 1 : 0;
    }
    // The mix must exercise both outcomes.
    EXPECT_GT(validCount, 100u);
    EXPECT_LT(validCount, 19000u);
}

TEST(TextEncoding, UnpairedSurrogatesOutsideTheEscapeRangeUseTheirThreeByteForm) {
    EXPECT_EQ(Utf16ToUtf8(u"\xD800"), Bytes({0xED, 0xA0, 0x80}));
    EXPECT_EQ(Utf16ToUtf8(u"\xDC7F"), Bytes({0xED, 0xB1, 0xBF}));
    EXPECT_EQ(Utf16ToUtf8(u"\xDD00"), Bytes({0xED, 0xB4, 0x80}));
    // A high surrogate followed by something other than a low one.
    EXPECT_EQ(Utf16ToUtf8(u"\xDBFFx"), Bytes({0xED, 0xAF, 0xBF, 'x'}));
    // A high surrogate followed by an escaped byte still pairs: the escape
    // range is a part of the low surrogates.
    EXPECT_EQ(Utf16ToUtf8(u"\xD800\xDC80"), Bytes({0xF0, 0x90, 0x82, 0x80}));
}

TEST(TextEncoding, Windows1252) {
    std::string all;
    for (int value = 0; value <= 0xFF; ++value) {
        all += static_cast<char>(value);
    }
    const std::u16string decoded = Windows1252ToUtf16(all);
    ASSERT_EQ(decoded.size(), 256u);
    for (int value = 0; value <= 0xFF; ++value) {
        if (value < 0x80 || value >= 0xA0) {
            EXPECT_EQ(decoded[value], value) << value;  // ASCII and Latin-1
        }
    }
    EXPECT_EQ(decoded[0x80], u'\u20AC');  // €
    EXPECT_EQ(decoded[0x82], u'\u201A');
    EXPECT_EQ(decoded[0x8A], u'\u0160');  // Š
    EXPECT_EQ(decoded[0x8C], u'\u0152');  // Œ
    EXPECT_EQ(decoded[0x93], u'\u201C');  // “
    EXPECT_EQ(decoded[0x96], u'\u2013');  // –
    EXPECT_EQ(decoded[0x99], u'\u2122');  // ™
    EXPECT_EQ(decoded[0x9E], u'\u017E');  // ž
    EXPECT_EQ(decoded[0x9F], u'\u0178');  // Ÿ
    // The five bytes the code page leaves undefined.
    for (const int value : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(decoded[value], value) << value;
    }
    EXPECT_EQ(Windows1252ToUtf16(Bytes({'c', 'a', 'f', 0xE9})), u"caf\u00E9");
}

}  // namespace
