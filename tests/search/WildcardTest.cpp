// Wildcards and directory search over the fixture folder of wildcard.tsv:
// the matcher and the POSIX search against the documented Windows rules
// (model_mfsa_longnames), the real FindFirstFileW under Wine against what
// Wine returned (names_sorted), both in the order of wildcard_order.tsv.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "formats/Wildcard.h"
#include "platform/DirectorySearch.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::set<std::u16string> Split(const std::string& list) {
    std::set<std::u16string> names;
    for (size_t start = 0; start < list.size();) {
        const size_t end = std::min(list.find('/', start), list.size());
        names.insert(U16(list.substr(start, end - start)));
        start = end + 1;
    }
    return names;
}

// Every name of the fixture, "." and ".." first, in the order Wine returns them.
const std::vector<std::u16string>& FixtureOrder() {
    static const std::vector<std::u16string> order = [] {
        std::vector<std::u16string> names;
        const ReferenceTable table = ReferenceTable::Load("wildcard_order.tsv");
        for (const auto& row : table.rows()) {
            if (table.Field(row, "pattern") == "*.*" && table.Field(row, "index") != "end")
                names.push_back(U16(table.Field(row, "name")));
        }
        return names;
    }();
    return order;
}

TEST(Wildcard, FollowsTheDocumentedRulesForEveryTableRow) {
    const ReferenceTable table = ReferenceTable::Load("wildcard.tsv");
    ASSERT_EQ(FixtureOrder().size(), 27u);
    for (const auto& row : table.rows()) {
        const std::string model = table.Field(row, "model_mfsa_longnames");
        if (model == "n/a")
            continue;  // Win32 rewrites the path before any matching
        SCOPED_TRACE(row.name);
        const std::u16string mask = U16(table.Field(row, "mask"));
        const std::set<std::u16string> expected = Split(model);
        for (const std::u16string& name : FixtureOrder())
            EXPECT_EQ(formats::MatchesWildcard(mask, name), expected.count(name) == 1) << U8(name);
    }
}

// What the table's fixture lacks: names without a dot, surrogate pairs
// against "?", case beyond ASCII.
TEST(Wildcard, CasesBeyondTheFixture) {
    const struct {
        const char16_t* mask;
        const char16_t* name;
        bool matches;
    } rows[] = {
        {u"*.", u"makefile", true},
        {u"*.", u"name.", false},
        {u"ab*.", u"xbc", false},
        {u"<.txt", u"a.b.txt", true},
        {u"<.txt", u"a.b.tx", false},
        {u"a\"b", u"ab", false},
        {u"a.*", u"ab", false},
        {u"????.txt", u"ab.txt", true},
        {u"a?c", u"a.c", false},
        {u"x?y", u"xy", false},
        {u"*", u"", true},
        {u"?", u"\U0001F600", false},
        {u"??", u"\U0001F600", true},
        {u"\U0001F600?", u"\U0001F600a", true},
        {u"*\u03A9", u"\u03C9", true},
        {u"STRASSE", u"stra\u00DFe", false},
        {u"abc", u"abcd", false},
        {u"", u"a", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(formats::MatchesWildcard(row.mask, row.name), row.matches)
            << U8(row.mask) << " / " << U8(row.name);
    }
}

// Masks that make a backtracking matcher take exponential time: such a
// matcher would not finish within the test runner's time limit.
TEST(Wildcard, PathologicalMasksStayFast) {
    const std::u16string name(255, u'a');
    std::u16string stars;
    for (int i = 0; i < 40; ++i)
        stars += u"*a";
    const std::u16string masks[] = {stars + u"*b", std::u16string(600, u'*') + u"b",
                                    std::u16string(300, u'?') + u"*.?*<\"b"};
    for (int round = 0; round < 20; ++round) {
        for (const std::u16string& mask : masks)
            EXPECT_FALSE(formats::MatchesWildcard(mask, name));
    }
    EXPECT_TRUE(formats::MatchesWildcard(stars + u"*", name));
}

// The fixture folder: files holding "data NAME", and the folder sub.dir.
// Windows cannot create a name ending in a dot, nor two that differ in case.
class WildcardDirectory : public testing::Test {
protected:
    void SetUp() override {
        for (const std::u16string& name : FixtureOrder()) {
            if (name == u"." || name == u".." ||
                (IsWindowsBuild() && (name == u"name." || name == u"A.Txt" || name == u"a.TXT")))
                continue;
            const fs::path path = folder_.path() / fs::path(name);
            if (name == u"sub.dir")
                ASSERT_TRUE(fs::create_directory(path));
            else
                std::ofstream(path, std::ios::binary) << "data " << U8(name);
            created_.insert(name);
        }
    }

    std::vector<std::u16string> List(const std::u16string& mask, bool& opened,
                                     std::vector<platform::FindData>* entries = nullptr) {
        std::vector<std::u16string> names;
        platform::FindData data{};
        platform::SearchHandle search =
            platform::FindFirstEntry(folder_.folderText() + mask, &data);
        opened = search != platform::kInvalidSearch;
        if (!opened)
            return names;
        do {
            names.push_back(data.cFileName);
            if (entries != nullptr)
                entries->push_back(data);
        } while (platform::FindNextEntry(search, &data));
        EXPECT_TRUE(platform::FindCloseSearch(search));
        return names;
    }

    TempDir folder_;
    std::set<std::u16string> created_;
};

TEST_F(WildcardDirectory, ReturnsTheMatchingNamesInOrder) {
    const ReferenceTable table = ReferenceTable::Load("wildcard.tsv");
    int checked = 0;
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const std::u16string mask = U16(table.Field(row, "mask"));
        std::vector<std::u16string> expected;
        if (!IsWindowsBuild()) {
            const std::string model = table.Field(row, "model_mfsa_longnames");
            if (model == "n/a")
                continue;
            const std::set<std::u16string> names = Split(model);
            for (const std::u16string& name : FixtureOrder()) {
                if (names.count(name) == 1)
                    expected.push_back(name);
            }
        } else if (mask == u"." || mask == u"..") {
            // The folder's own name, or its parent's.
            const fs::path self = mask == u"." ? folder_.path() : folder_.path().parent_path();
            expected = {self.filename().u16string()};
        } else if (mask == u"A.TXT") {
            expected = {u"a.txt"};  // a mask without wildcards finds the one name there is
        } else {
            const std::set<std::u16string> names = Split(table.Field(row, "names_sorted"));
            for (const std::u16string& name : FixtureOrder()) {
                if (names.count(name) == 1 && (name[0] == u'.' || created_.count(name) == 1))
                    expected.push_back(name);
            }
        }
        ++checked;
        bool opened = false;
        const std::vector<std::u16string> names = List(mask, opened);
        EXPECT_EQ(opened, !expected.empty());
        EXPECT_EQ(names, expected);
    }
    EXPECT_GE(checked, 80);
}

TEST_F(WildcardDirectory, DescribesFilesAndFolders) {
    bool opened = false;
    std::vector<platform::FindData> entries;
    const std::vector<std::u16string> names = List(u"*.*", opened, &entries);
    ASSERT_EQ(names.size(), created_.size() + 2);
    for (size_t i = 0; i < names.size(); ++i) {
        const std::u16string& name = names[i];
        const platform::FindData& data = entries[i];
        SCOPED_TRACE(U8(name));
        const bool folder = name == u"." || name == u".." || name == u"sub.dir";
        EXPECT_EQ(data.dwFileAttributes & platform::kAttributeDirectory,
                  folder ? platform::kAttributeDirectory : 0u);
        if (!folder) {
            EXPECT_EQ(data.nFileSizeLow, 5 + U8(name).size());
            EXPECT_NE(data.dwFileAttributes & platform::kAttributeArchive, 0u);
            EXPECT_EQ(data.dwFileAttributes & platform::kAttributeHidden,
                      name == u".profile" ? platform::kAttributeHidden : 0u);
        }
    }
}

}  // namespace
