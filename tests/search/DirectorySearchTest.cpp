#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/DirectorySearch.h"
#include "platform/PathSplit.h"
#include "tests/search/SearchTestSupport.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

using platform::DirectoryIdentity;
using platform::FindData;
using platform::kInvalidSearch;
using platform::kPathSeparator;
using platform::SearchScope;
using search_tests::List;
using search_tests::Listing;
using testing_support::IsWindowsBuild;
using testing_support::ReferenceTable;
using testing_support::TempDir;
using testing_support::U16;
using testing_support::U8;
using testing_support::Unquoted;

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

// findfile.tsv's FindFirstFileW rows over its folder "ff" (empty/, small.txt,
// sub/one.txt, sub/two.dat), rebuilt here. Drive roots and drive-relative
// paths have no POSIX counterpart; "\\?\" is Windows's own prefix.
TEST(DirectorySearch, FollowsTheTable) {
    TempDir folder;
    fs::create_directories(folder.path() / "empty");
    fs::create_directories(folder.path() / "sub");
    WriteFile(folder.path() / "small.txt", "12345");
    WriteFile(folder.path() / "sub" / "one.txt", "1");
    WriteFile(folder.path() / "sub" / "two.dat", "22");
    const std::string base = U8(folder.folderText());
    const ReferenceTable table = ReferenceTable::Load("findfile.tsv");
    int checked = 0;
    for (const auto& row : table.rows()) {
        if (table.Field(row, "api") != "FindFirstFileW")
            continue;
        std::string path = Unquoted(table.Field(row, "input"));
        const std::string prefix = "Z:\\tmp\\refdata\\ff\\";
        const size_t at = path.find(prefix);
        if (!path.empty() && (at == std::string::npos || (at != 0 && !IsWindowsBuild())))
            continue;
        SCOPED_TRACE(row.name);
        ++checked;
        if (at != std::string::npos)
            path.replace(at, prefix.size(), base);
        if (!IsWindowsBuild())
            std::replace(path.begin(), path.end(), '\\', '/');
        const Listing listing = List(U16(path));
        const std::string names = table.Field(row, "out2");
        if (table.Field(row, "ret") == "handle") {
            // Windows names a final "." or ".." component by the folder it
            // stands for; the POSIX search returns the component itself.
            const std::string last = path.substr(path.find_last_of("/\\") + 1);
            std::string expected = names;
            if (!IsWindowsBuild() && (last == "." || last == ".."))
                expected = last;
            else if (names == "ff")
                expected = U8(folder.path().filename().u16string());
            EXPECT_EQ(Show(listing.names), expected);
        } else {
            EXPECT_FALSE(listing.opened);  // the error code is not the search's to keep
        }
    }
    EXPECT_EQ(checked, IsWindowsBuild() ? 20 : 18);
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
