// Text encodings, case, collation, locale names and paths; the case tables are
// the .tsv files beside this one.
#include <gtest/gtest.h>

#include <clocale>
#include <random>
#include <string>

#include "platform/CaseMapping.h"
#include "platform/Collation.h"
#include "platform/LocaleId.h"
#include "platform/Multibyte.h"
#include "platform/PathSplit.h"
#include "platform/TextEncoding.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

using namespace platform;
using testing_support::IsWindowsBuild;
using testing_support::ReferenceTable;

namespace {

// A field as UTF-16, unpaired surrogates included.
std::u16string Field16(const ReferenceTable& table, const ReferenceTable::Row& row,
                       const std::string& header) {
    const size_t column = table.Column(header);
    return column < row.fields.size() ? testing_support::UnescapeField16(row.fields[column])
                                      : std::u16string();
}

TEST(TextEncoding, FollowsTheTable) {
    const ReferenceTable table = ReferenceTable::LoadCases("platform/utf8.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const std::string bytes = table.Field(row, "utf8");
        const std::u16string units = Field16(table, row, "utf16");
        const std::string kind = table.Field(row, "kind");
        EXPECT_EQ(Utf16ToUtf8(units), bytes);
        if (kind != "from16") {
            EXPECT_EQ(Utf8ToUtf16(bytes), units);
            EXPECT_EQ(IsValidUtf8(bytes), kind == "valid");
        }
    }
}

bool HasUnpairedSurrogate(const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
            text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else if (text[i] >= 0xD800 && text[i] <= 0xDFFF)
            return true;
    }
    return false;
}

// Any byte string comes back unchanged, and an escape appears exactly when
// the bytes are not UTF-8.
TEST(TextEncoding, ArbitraryBytesSurviveRoundTrip) {
    std::mt19937 random(20261205);
    const std::string fragments[] = {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xED\xA0\x80",
                                     "\xED\xB2\x80"};  // the last: an escape unit
    size_t validCount = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (int i = 0, parts = random() % 25; i < parts; ++i) {
            const unsigned kind = random() % 10;
            if (kind < 7)
                bytes += static_cast<char>(kind < 3 ? random() % 256 : 0x80 + random() % 128);
            else
                bytes += fragments[random() % std::size(fragments)];
        }
        const std::u16string decoded = Utf8ToUtf16(bytes);
        ASSERT_EQ(Utf16ToUtf8(decoded), bytes) << testing::PrintToString(bytes);
        ASSERT_EQ(IsValidUtf8(bytes), !HasUnpairedSurrogate(decoded))
            << testing::PrintToString(bytes);
        validCount += IsValidUtf8(bytes) ? 1 : 0;
    }
    EXPECT_GT(validCount, 100u);  // the mix exercises both outcomes
    EXPECT_LT(validCount, 19000u);
}

TEST(TextEncoding, Windows1252) {
    std::string all;
    for (int value = 0; value <= 0xFF; ++value)
        all += static_cast<char>(value);
    // 0x80-0x9F; the five bytes the code page leaves undefined stay as they are.
    const std::u16string c1 =
        u"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D"
        u"\u017D\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A"
        u"\u0153\u009D\u017E\u0178";
    std::u16string expected;
    for (int value = 0; value <= 0xFF; ++value)
        expected += value >= 0x80 && value < 0xA0 ? c1[value - 0x80] : char16_t(value);
    EXPECT_EQ(Windows1252ToUtf16(all), expected);
}

// The Windows build runs with the ANSI code page 1252 (Wine's default for an
// English or C locale); the POSIX build's ANSI code page is UTF-8, and reads
// text that is not UTF-8 as Windows-1252, all of it.
TEST(Multibyte, AnsiToUtf16) {
    EXPECT_EQ(AnsiToUtf16(""), u"");
    EXPECT_EQ(AnsiToUtf16("Report 2026.txt"), u"Report 2026.txt");
    EXPECT_EQ(AnsiToUtf16("\x80 \x9F \x81"), u"\u20AC \u0178 \u0081");
    EXPECT_EQ(AnsiToUtf16("\xC3\xA9 \xE9"), u"\u00C3\u00A9 \u00E9");
    EXPECT_EQ(AnsiToUtf16("caf\xC3\xA9"), IsWindowsBuild() ? u"caf\u00C3\u00A9" : u"caf\u00E9");
    EXPECT_EQ(AnsiToUtf16("\xE2\x82\xAC"), IsWindowsBuild() ? u"\u00E2\u201A\u00AC" : u"\u20AC");
}

bool IsSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

TEST(CaseMapping, FollowsTheTable) {
    const ReferenceTable table = ReferenceTable::LoadCases("platform/case.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const std::u16string lower = Field16(table, row, "lower");
        const std::u16string upper = Field16(table, row, "upper");
        for (const std::u16string* from : {&lower, &upper}) {
            std::u16string text = *from;
            UpperCaseInPlace(text.data(), text.size());
            EXPECT_EQ(text, upper);
            text = *from;
            LowerCaseInPlace(text.data(), text.size());
            EXPECT_EQ(text, lower);
        }
        // One unit at a time: a surrogate is never mapped.
        for (size_t i = 0; i < lower.size(); ++i)
            EXPECT_EQ(UpperCaseUnit(lower[i]), IsSurrogate(lower[i]) ? lower[i] : upper[i]);
    }
}

TEST(CaseMapping, OnlyTheGivenLengthChanges) {
    std::u16string text = u"abcdef";
    UpperCaseInPlace(text.data(), 3);
    LowerCaseInPlace(text.data(), 0);
    LowerCaseInPlace(text.data() + 1, 1);
    EXPECT_EQ(text, u"AbCdef");
}

// The C runtime's collation follows the process's locale, which a host
// application sets from the user's settings; ICU's root collator needs none.
TEST(Collation, FollowsTheTable) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "");
    const ReferenceTable table = ReferenceTable::LoadCases("platform/collation.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const std::string which = table.Field(row, "compare");
        auto compare = which == "case"     ? CollateText
                       : which == "nocase" ? CollateTextNoCase
                                           : CompareTextNoCase;
        const std::u16string a = Field16(table, row, "a"), b = Field16(table, row, "b");
        const int sign = std::stoi(table.Field(row, "sign"));
        EXPECT_EQ(compare(a.c_str(), b.c_str()), sign);
        EXPECT_EQ(compare(b.c_str(), a.c_str()), -sign);
    }
    // Null is the empty text.
    EXPECT_EQ(CollateText(nullptr, u"a"), -1);
    EXPECT_EQ(CollateTextNoCase(u"", nullptr), 0);
    EXPECT_EQ(CompareTextNoCase(u"a", nullptr), 1);
    std::setlocale(LC_ALL, saved.c_str());
}

// locale.tsv's LocaleNameToLCID(tag, 0) rows. Windows reads "" as the
// invariant locale and null as the user's; the POSIX build has neither and
// calls both unknown (callers turn an empty tag into 1033 first).
TEST(LocaleId, MatchesLocaleNameToLcid) {
    const ReferenceTable table = ReferenceTable::Load("locale.tsv");
    int checked = 0;
    for (const auto& row : table.rows()) {
        if (table.Field(row, "api") != "LocaleNameToLCID" || table.Field(row, "args") != "0")
            continue;
        SCOPED_TRACE(row.name);
        ++checked;
        const std::string input = table.Field(row, "input");
        const std::u16string tag = testing_support::U16(testing_support::Unquoted(input));
        uint32_t expected = std::stoul(table.Field(row, "return"), nullptr, 16);
        if (!IsWindowsBuild() && (input == "NULL" || tag.empty()))
            expected = 0;
        EXPECT_EQ(LocaleNameToLcid(input == "NULL" ? nullptr : tag.c_str()), expected);
    }
    EXPECT_GE(checked, 21);
}

TEST(LocaleId, MoreTags) {
    const ReferenceTable table = ReferenceTable::LoadCases("platform/locale_tags.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(LocaleNameToLcid(Field16(table, row, "tag").c_str()),
                  std::stoul(table.Field(row, "lcid"), nullptr, 16));
    }
    const std::u16string overlong = u"en-US-" + std::u16string(200, u'a');
    EXPECT_EQ(LocaleNameToLcid(overlong.c_str()), 0u);
}

TEST(PathSplit, FollowsTheTable) {
    const ReferenceTable table = ReferenceTable::LoadCases("platform/pathsplit.tsv");
    const std::string build = IsWindowsBuild() ? "windows" : "posix";
    for (const auto& row : table.rows()) {
        if (table.Field(row, "build") != "any" && table.Field(row, "build") != build)
            continue;
        SCOPED_TRACE(row.name);
        const PathParts parts = SplitPath(Field16(table, row, "path"));
        EXPECT_EQ(parts.drive, Field16(table, row, "drive"));
        EXPECT_EQ(parts.directory, Field16(table, row, "directory"));
        EXPECT_EQ(parts.fileName, Field16(table, row, "file"));
        EXPECT_EQ(parts.extension, Field16(table, row, "extension"));
    }
}

TEST(PathSplit, Separators) {
    EXPECT_EQ(kPathSeparator, IsWindowsBuild() ? u'\\' : u'/');
    EXPECT_TRUE(IsPathSeparator(u'/'));
    EXPECT_EQ(IsPathSeparator(u'\\'), IsWindowsBuild());
    EXPECT_FALSE(IsPathSeparator(u':'));
    EXPECT_FALSE(IsPathSeparator(u'\0'));
}

}  // namespace
