#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/DirectorySearch.h"
#include "platform/PathSplit.h"
#include "tests/search/SearchTestSupport.h"
#include "tests/search/WildcardTable.h"
#include "tests/support/TestSupport.h"

using platform::DirectoryIdentity;
using platform::FindData;
using platform::kInvalidSearch;
using platform::kPathSeparator;
using platform::SearchScope;
using search_tests::ExpandNames;
using search_tests::InSearchOrder;
using search_tests::kFixtureNames;
using search_tests::kWildcardRows;
using search_tests::List;
using search_tests::Listing;
using testing_support::IsWindowsBuild;
using testing_support::TempDir;
using testing_support::U8;

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.good()) << path.string();
}

std::u16string Sep() {
    return std::u16string(1, kPathSeparator);
}

std::string Show(const std::vector<std::u16string>& names) {
    std::string text;
    for (const std::u16string& name : names) {
        text += (text.empty() ? "" : "/") + U8(name);
    }
    return text;
}

// Windows cannot create a name ending in a dot (Win32 strips it), nor two
// names that differ in case only.
bool CreatableHere(std::u16string_view name) {
    if (!IsWindowsBuild()) {
        return true;
    }
    return name != u"name." && name != u"A.Txt" && name != u"a.TXT";
}

class WildcardDirectory : public testing::Test {
protected:
    void SetUp() override {
        for (const char16_t* name : kFixtureNames) {
            if (!CreatableHere(name)) {
                continue;
            }
            const fs::path path = folder_.path() / fs::path(std::u16string(name));
            if (std::u16string_view(name) == u"sub.dir") {
                ASSERT_TRUE(fs::create_directory(path));
            } else {
                WriteFile(path, "data " + U8(name));
            }
            created_.insert(name);
        }
    }

    // POSIX: the documented rules. Windows: what Wine returned for the same
    // directory, less the names it could not create here.
    bool Expected(const search_tests::WildcardRow& row, std::set<std::u16string>& names) const {
        if (!IsWindowsBuild()) {
            if (row.rule == nullptr) {
                return false;
            }
            names = ExpandNames(row.rule);
            return true;
        }
        const std::u16string_view wine = row.wine;
        if (wine == u"<dir>") {
            names = {folder_.path().filename().u16string()};
        } else if (wine == u"<parent>") {
            names = {folder_.path().parent_path().filename().u16string()};
        } else if (std::u16string_view(row.mask) == u"A.TXT") {
            names = {u"a.txt"};  // a mask without wildcards finds the one name there is
        } else {
            for (const std::u16string& name : ExpandNames(wine)) {
                if (name == u"." || name == u".." || created_.count(name) == 1) {
                    names.insert(name);
                }
            }
        }
        return true;
    }

    TempDir folder_;
    std::set<std::u16string> created_;
};

TEST_F(WildcardDirectory, ReturnsTheMatchingNamesInOrder) {
    int checked = 0;
    for (const auto& row : kWildcardRows) {
        std::set<std::u16string> expected;
        if (!Expected(row, expected)) {
            continue;
        }
        ++checked;
        const Listing listing = List(folder_.folderText() + row.mask);
        SCOPED_TRACE("mask \"" + U8(row.mask) + "\"");
        if (expected.empty()) {
            EXPECT_FALSE(listing.opened) << Show(listing.names);
        } else {
            EXPECT_TRUE(listing.opened);
            EXPECT_EQ(Show(listing.names), Show(InSearchOrder(expected)));
        }
    }
    EXPECT_GE(checked, 70);
}

TEST_F(WildcardDirectory, DescribesFilesAndFolders) {
    const Listing listing = List(folder_.folderText() + u"*.*");
    ASSERT_TRUE(listing.opened);
    for (size_t i = 0; i < listing.names.size(); ++i) {
        const std::u16string& name = listing.names[i];
        const FindData& data = listing.entries[i];
        SCOPED_TRACE(U8(name));
        const bool folder = name == u"." || name == u".." || name == u"sub.dir";
        EXPECT_EQ(data.dwFileAttributes & platform::kAttributeDirectory,
                  folder ? platform::kAttributeDirectory : 0u);
        if (!folder) {
            EXPECT_EQ(data.nFileSizeHigh, 0u);
            EXPECT_EQ(data.nFileSizeLow, 5 + U8(name).size());
            EXPECT_NE(data.dwFileAttributes & platform::kAttributeArchive, 0u);
            EXPECT_EQ(data.dwFileAttributes & platform::kAttributeHidden,
                      name == u".profile" ? platform::kAttributeHidden : 0u);
        }
    }
}

struct FailureRow {
    const char* what;
    std::u16string tail;  // after the fixture folder and its separator
};

TEST(DirectorySearch, FailsWhereWindowsFails) {
    TempDir folder;
    WriteFile(folder.path() / "small.txt", "12345");
    fs::create_directory(folder.path() / "sub");
    WriteFile(folder.path() / "sub" / "one.txt", "1");
    const FailureRow rows[] = {
        {"missing folder", u"missing" + Sep() + u"*.*"},
        {"missing folder, no wildcard", u"missing" + Sep() + u"x.txt"},
        {"a file used as a folder", u"small.txt" + Sep() + u"*.*"},
        {"a file used as a folder, no wildcard", u"small.txt" + Sep() + u"x"},
        {"trailing separator", u"sub" + Sep()},
        {"no match", u"sub" + Sep() + u"*.zzz"},
        {"no such name", u"nothing.txt"},
    };
    for (const FailureRow& row : rows) {
        FindData data{};
        EXPECT_EQ(platform::FindFirstEntry(folder.folderText() + row.tail, &data), kInvalidSearch)
            << row.what;
    }
    FindData data{};
    EXPECT_EQ(platform::FindFirstEntry(u"", &data), kInvalidSearch);
    EXPECT_EQ(platform::FindFirstEntry(folder.folderText(), &data), kInvalidSearch);
}

TEST(DirectorySearch, EmptyFolderHoldsDotAndDotDot) {
    TempDir folder;
    for (const char16_t* mask : {u"*.*", u"*"}) {
        const Listing listing = List(folder.folderText() + mask);
        EXPECT_TRUE(listing.opened);
        EXPECT_EQ(Show(listing.names), "./..") << U8(mask);
        for (const FindData& data : listing.entries) {
            EXPECT_EQ(data.dwFileAttributes, platform::kAttributeDirectory);
        }
    }
}

TEST(DirectorySearch, SpecificationsWithoutWildcardsAndOddComponents) {
    TempDir folder;
    WriteFile(folder.path() / "small.txt", "12345");
    fs::create_directory(folder.path() / "sub");
    WriteFile(folder.path() / "sub" / "one.txt", "1");
    WriteFile(folder.path() / "sub" / "two.dat", "22");
    const std::u16string base = folder.folderText();
    const std::u16string s = Sep();
    struct Row {
        std::u16string tail;
        const char* names;
    } rows[] = {
        {u"sub", "sub"},
        {u"small.txt", "small.txt"},
        {u"SMALL.TXT", "small.txt"},
        {s + u"sub" + s + u"*.*", "./../one.txt/two.dat"},
        {u"sub" + s + s + u"*.*", "./../one.txt/two.dat"},
        {u"." + s + u"sub" + s + u"*.*", "./../one.txt/two.dat"},
        {u"sub" + s + u".." + s + u"sub" + s + u"*", "./../one.txt/two.dat"},
        {u"sub" + s + u"*.TXT", "one.txt"},
    };
    for (const Row& row : rows) {
        const Listing listing = List(base + row.tail);
        EXPECT_EQ(Show(listing.names), row.names) << U8(row.tail);
    }
}

TEST(DirectorySearch, EndedSearchAndForeignHandles) {
    TempDir folder;
    FindData data{};
    platform::SearchHandle search = platform::FindFirstEntry(folder.folderText() + u"*", &data);
    ASSERT_NE(search, kInvalidSearch);
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(std::u16string(data.cFileName), u".");
    EXPECT_TRUE(platform::FindNextEntry(search, &data));
    EXPECT_EQ(std::u16string(data.cFileName), u"..");
    EXPECT_FALSE(platform::FindNextEntry(search, &data));
    EXPECT_FALSE(platform::FindNextEntry(search, &data));
    EXPECT_TRUE(platform::FindCloseSearch(search));

    EXPECT_FALSE(platform::FindCloseSearch(kInvalidSearch));
    EXPECT_FALSE(platform::FindCloseSearch(nullptr));
    EXPECT_FALSE(platform::FindNextEntry(kInvalidSearch, &data));
    EXPECT_FALSE(platform::FindNextEntry(nullptr, &data));
}

// Searches open at once are independent of each other.
TEST(DirectorySearch, InterleavedSearches) {
    TempDir folder;
    WriteFile(folder.path() / "a.txt", "a");
    WriteFile(folder.path() / "b.txt", "b");
    FindData first{}, second{};
    auto one = platform::FindFirstEntry(folder.folderText() + u"*.txt", &first);
    auto two = platform::FindFirstEntry(folder.folderText() + u"*.txt", &second);
    ASSERT_NE(one, kInvalidSearch);
    ASSERT_NE(two, kInvalidSearch);
    EXPECT_EQ(std::u16string(first.cFileName), u"a.txt");
    EXPECT_TRUE(platform::FindNextEntry(one, &first));
    EXPECT_EQ(std::u16string(first.cFileName), u"b.txt");
    EXPECT_FALSE(platform::FindNextEntry(one, &first));
    EXPECT_EQ(std::u16string(second.cFileName), u"a.txt");
    EXPECT_TRUE(platform::FindNextEntry(two, &second));
    EXPECT_EQ(std::u16string(second.cFileName), u"b.txt");
    EXPECT_TRUE(platform::FindCloseSearch(one));
    EXPECT_TRUE(platform::FindCloseSearch(two));
}

// The scope is a hint: every entry of the kind asked for comes back; on POSIX
// the others are left out, Windows may return them.
TEST(DirectorySearch, ScopeKeepsWhatTheCallerWants) {
    TempDir folder;
    fs::create_directory(folder.path() / "sub1");
    fs::create_directory(folder.path() / "sub2");
    WriteFile(folder.path() / "f1.txt", "1");
    WriteFile(folder.path() / "f2.txt", "2");
    const std::set<std::u16string> folders = {u".", u"..", u"sub1", u"sub2"};
    const std::set<std::u16string> files = {u"f1.txt", u"f2.txt"};

    const Listing directories = List(folder.folderText() + u"*.*", SearchScope::DirectoriesOnly);
    const std::set<std::u16string> gotDirectories(directories.names.begin(),
                                                  directories.names.end());
    const Listing others = List(folder.folderText() + u"*.*", SearchScope::NonDirectoriesOnly);
    const std::set<std::u16string> gotOthers(others.names.begin(), others.names.end());
    if (IsWindowsBuild()) {
        for (const auto& name : folders) {
            EXPECT_EQ(gotDirectories.count(name), 1u) << U8(name);
        }
        for (const auto& name : files) {
            EXPECT_EQ(gotOthers.count(name), 1u) << U8(name);
        }
    } else {
        EXPECT_EQ(gotDirectories, folders);
        EXPECT_EQ(gotOthers, files);
    }
    // Still in order.
    EXPECT_EQ(Show(directories.names), Show(InSearchOrder(gotDirectories)));
    EXPECT_EQ(Show(others.names), Show(InSearchOrder(gotOthers)));
}

TEST(DirectorySearch, SizesOfFourGibibytesAndMoreSplitIntoWords) {
    TempDir folder;
    const fs::path path = folder.path() / "big.bin";
    WriteFile(path, "");
    fs::resize_file(path, 5ull << 30);  // a hole: nothing is written
    const Listing listing = List(folder.folderText() + u"big.bin");
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].nFileSizeHigh, 1u);
    EXPECT_EQ(listing.entries[0].nFileSizeLow, 0x40000000u);
}

TEST(DirectoryIdentity, SameFolderThroughAnyPath) {
    TempDir folder;
    fs::create_directory(folder.path() / "sub");
    fs::create_directory(folder.path() / "other");
    const std::u16string base = folder.folderText();
    DirectoryIdentity direct, roundabout, sub, other;
    ASSERT_TRUE(platform::GetDirectoryIdentity(base.substr(0, base.size() - 1), direct));
    ASSERT_TRUE(platform::GetDirectoryIdentity(base + u"sub" + Sep() + u"..", roundabout));
    ASSERT_TRUE(platform::GetDirectoryIdentity(base + u"sub", sub));
    ASSERT_TRUE(platform::GetDirectoryIdentity(base + u"other", other));
    EXPECT_TRUE(direct == roundabout);
    EXPECT_FALSE(direct == sub);
    EXPECT_FALSE(sub == other);
    DirectoryIdentity missing;
    EXPECT_FALSE(platform::GetDirectoryIdentity(base + u"missing", missing));
}

}  // namespace
