#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "formats/Wildcard.h"
#include "tests/search/SearchTestSupport.h"
#include "tests/search/WildcardTable.h"
#include "tests/support/TestSupport.h"

using formats::MatchesWildcard;
using search_tests::ExpandNames;
using search_tests::kFixtureNames;
using search_tests::kWildcardRows;
using testing_support::U8;

namespace {

// Every fixture name, with "." and "..", against every mask the documented
// rules cover: the matcher is a pure function, the same on both builds.
TEST(Wildcard, FollowsTheDocumentedRulesForEveryTableRow) {
    std::vector<std::u16string> names = {u".", u".."};
    for (const char16_t* name : kFixtureNames) {
        names.push_back(name);
    }
    for (const auto& row : kWildcardRows) {
        if (row.rule == nullptr) {
            continue;
        }
        const std::set<std::u16string> expected = ExpandNames(row.rule);
        for (const std::u16string& name : names) {
            EXPECT_EQ(MatchesWildcard(row.mask, name), expected.count(name) == 1)
                << "mask \"" << U8(row.mask) << "\", name \"" << U8(name) << "\"";
        }
    }
}

struct MatchRow {
    const char16_t* mask;
    const char16_t* name;
    bool matches;
};

const MatchRow kOwnRows[] = {
    // A trailing "*." becomes DOS_STAR: names without a dot.
    {u"*.", u"makefile", true},
    {u"*.", u"a.b", false},
    {u"*.", u"name.", false},
    {u"**.", u"makefile", true},
    {u"ab*.", u"abc", true},
    {u"ab*.", u"xbc", false},
    // DOS_STAR stops before the last dot; what follows it must match there.
    {u"<.txt", u"a.b.txt", true},
    {u"<.txt", u"a.b.tx", false},
    {u"<", u"a.b", false},
    {u"<", u"ab", true},
    // DOS_DOT: a dot, or nothing at the end.
    {u"\"", u".", true},
    {u"a\"", u"a", true},
    {u"a\"b", u"ab", false},
    {u"a.*", u"a", true},
    {u"a.*", u"ab", false},
    // DOS_QM: one unit, or nothing at a dot or the end; never a dot.
    {u"?", u".", false},
    {u"????.txt", u"ab.txt", true},
    {u"a?c", u"a.c", false},
    {u"x?", u"x", true},
    {u"x?y", u"xy", false},
    // "*?" and "?*" match every name; "*.*" and "*" too.
    {u"*?", u"a", true},
    {u"*?", u"..", true},
    {u"?*", u".", true},
    {u"*.*", u"no dot", true},
    {u"*", u"", true},
    // A surrogate pair is two units: "?" matches one of them.
    {u"?", u"\U0001F600", false},
    {u"??", u"\U0001F600", true},
    {u"?.txt", u"\U0001F600.txt", false},
    {u"*\U0001F600", u"x\U0001F600", true},
    {u"\U0001F600?", u"\U0001F600a", true},
    // Case is ignored by simple upper-casing, beyond ASCII too.
    {u"\u00C9T\u00C9.TXT", u"\u00E9t\u00E9.txt", true},
    {u"*\u03A9", u"\u03C9", true},
    {u"STRASSE", u"stra\u00DFe", false},
    // Everything else is literal.
    {u"[a]", u"[a]", true},
    {u"[a]", u"a", false},
    {u"a+b", u"A+B", true},
    {u"abc", u"abcd", false},
    {u"", u"a", false},
    {u".", u".", true},
    {u"..", u"..", true},
    {u"..", u".", false},
};

TEST(Wildcard, OwnCases) {
    for (const MatchRow& row : kOwnRows) {
        EXPECT_EQ(MatchesWildcard(row.mask, row.name), row.matches)
            << "mask \"" << U8(row.mask) << "\", name \"" << U8(row.name) << "\"";
    }
}

// Masks that make a backtracking matcher take exponential time.
TEST(Wildcard, PathologicalMasksStayFast) {
    const std::u16string name(255, u'a');
    std::u16string stars;
    for (int i = 0; i < 40; ++i) {
        stars += u"*a";
    }
    const std::u16string masks[] = {
        u"*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b",    // backtracking tries every split
        stars + u"*b",                            // forty stars
        std::u16string(600, u'*') + u"b",         // more positions than fit inline
        std::u16string(300, u'?') + u"*.?*<\"b",  // every DOS wildcard at once
        std::u16string(2000, u'a') + u"*",
    };
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < 20; ++round) {
        for (const std::u16string& mask : masks) {
            EXPECT_FALSE(MatchesWildcard(mask, name));
        }
    }
    EXPECT_TRUE(MatchesWildcard(stars + u"*", name));
    EXPECT_TRUE(MatchesWildcard(std::u16string(600, u'*') + u"a", name));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(2));
}

}  // namespace
