// Wildcards, directory search, sizes and times: on both builds, so the real
// API holds the POSIX emulation to its behaviour. Links, FIFOs, permissions
// and names that are not UTF-8 are POSIX matters, tested natively.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "formats/Wildcard.h"
#include "platform/DirectorySearch.h"
#include "platform/FileInformation.h"
#include "platform/PathSplit.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/TextEncoding.h"
#endif

using namespace platform;
using namespace testing_support;
namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

uint64_t Ticks(const FileTime& time) {
    return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

FileTime Make(uint64_t ticks) {
    return FileTime{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

struct Listing {
    bool opened = false;
    std::vector<std::u16string> names;  // in the order returned
    std::vector<FindData> entries;
};

// Runs one search to its end and closes it.
Listing List(const std::u16string& fileSpec, SearchScope scope = SearchScope::AllEntries) {
    Listing listing;
    FindData data{};
    const SearchHandle search = FindFirstEntry(fileSpec, &data, scope);
    listing.opened = search != kInvalidSearch;
    for (bool more = listing.opened; more; more = FindNextEntry(search, &data)) {
        listing.names.push_back(data.cFileName);
        listing.entries.push_back(data);
    }
    EXPECT_TRUE(!listing.opened || FindCloseSearch(search));
    return listing;
}

std::string Show(const std::vector<std::u16string>& names) {
    std::string text;
    for (const std::u16string& name : names)
        text += (text.empty() ? "" : "/") + U8(name);
    return text;
}

TEST(Wildcard, CasesBeyondTheFixture) {
    const ReferenceTable table = ReferenceTable::LoadCases("search/wildcard_extra.tsv");
    for (const auto& row : table.rows()) {
        EXPECT_EQ(formats::MatchesWildcard(UnescapeField16(row.fields[0]),
                                           UnescapeField16(row.fields[1])),
                  table.Field(row, "matches") == "1")
            << row.name;
    }
}

// Masks that make a backtracking matcher take exponential time: such a
// matcher would not finish within the test runner's time limit.
TEST(Wildcard, PathologicalMasksStayFast) {
    const std::u16string name(255, u'a');
    std::u16string stars;
    for (int i = 0; i < 40; ++i)
        stars += u"*a";
    for (int round = 0; round < 20; ++round) {
        for (const std::u16string& mask : {stars + u"*b", std::u16string(600, u'*') + u"b",
                                           std::u16string(300, u'?') + u"*.?*<\"b"})
            EXPECT_FALSE(formats::MatchesWildcard(mask, name));
    }
    EXPECT_TRUE(formats::MatchesWildcard(stars + u"*", name));
}

// The fixture folder of wildcard.tsv, "." and ".." first, in the order Wine
// returns them (wildcard_order.tsv): files holding "data NAME", and the folder
// sub.dir. Windows cannot create a name ending in a dot, nor two that differ in
// case. Natively the search must match the documented rules
// (model_mfsa_longnames), on Windows what Wine returned (names_sorted).
TEST(WildcardDirectory, ReturnsTheMatchingNamesInOrder) {
    std::vector<std::u16string> order;
    const ReferenceTable orderTable = ReferenceTable::Load("wildcard_order.tsv");
    for (const auto& row : orderTable.rows()) {
        if (orderTable.Field(row, "pattern") == "*.*" && orderTable.Field(row, "index") != "end")
            order.push_back(U16(orderTable.Field(row, "name")));
    }
    ASSERT_EQ(order.size(), 27u);
    TempDir folder;
    std::set<std::u16string> created = {u".", u".."};
    for (const std::u16string& name : order) {
        if (created.count(name) ||
            (IsWindowsBuild() && (name == u"name." || name == u"A.Txt" || name == u"a.TXT")))
            continue;
        if (name == u"sub.dir")
            ASSERT_TRUE(fs::create_directory(folder.path() / fs::path(name)));
        else
            WriteFile(folder.path() / fs::path(name), "data " + U8(name));
        created.insert(name);
    }
    const ReferenceTable table = ReferenceTable::Load("wildcard.tsv");
    int checked = 0;
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const std::string mask = table.Field(row, "mask");
        std::string names =
            table.Field(row, IsWindowsBuild() ? "names_sorted" : "model_mfsa_longnames");
        if (names == "n/a")
            continue;  // Win32 rewrites the path before any matching
        if (IsWindowsBuild() && mask == "A.TXT")
            names = "a.txt";  // a mask without wildcards finds the one name there is
        std::vector<std::u16string> expected;
        for (const std::u16string& name : order) {
            if (("/" + names + "/").find("/" + U8(name) + "/") != std::string::npos &&
                created.count(name))
                expected.push_back(name);
        }
        if (IsWindowsBuild() && (mask == "." || mask == ".."))  // the folder's or its parent's name
            expected = {
                (mask == "." ? folder.path() : folder.path().parent_path()).filename().u16string()};
        ++checked;
        const Listing listing = List(folder.folderText() + U16(mask));
        EXPECT_EQ(listing.opened, !expected.empty());
        EXPECT_EQ(Show(listing.names), Show(expected));
    }
    EXPECT_GE(checked, 80);
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
    const ReferenceTable table = ReferenceTable::Load("findfile.tsv");
    const std::string prefix = "Z:\\tmp\\refdata\\ff\\";
    int checked = 0;
    for (const auto& row : table.rows()) {
        std::string path = Unquoted(table.Field(row, "input"));
        const size_t at = path.find(prefix);
        if (table.Field(row, "api") != "FindFirstFileW" ||
            (!path.empty() && (at == std::string::npos || (at != 0 && !IsWindowsBuild()))))
            continue;
        SCOPED_TRACE(row.name);
        ++checked;
        if (at != std::string::npos)
            path.replace(at, prefix.size(), U8(folder.folderText()));
        if (!IsWindowsBuild())
            std::replace(path.begin(), path.end(), '\\', '/');
        const Listing listing = List(U16(path));
        // Windows names a final "." or ".." component by the folder it stands
        // for; the POSIX search returns the component itself.
        const std::string last = path.substr(path.find_last_of("/\\") + 1);
        std::string expected = table.Field(row, "out2");
        if (!IsWindowsBuild() && (last == "." || last == ".."))
            expected = last;
        else if (expected == "ff")
            expected = U8(folder.path().filename().u16string());
        // A failed search's error code is not the search's to keep.
        EXPECT_EQ(listing.opened, table.Field(row, "ret") == "handle");
        EXPECT_EQ(Show(listing.names), listing.opened ? expected : "");
    }
    EXPECT_EQ(checked, IsWindowsBuild() ? 20 : 18);
}

// Searches open at once are independent; an ended search stays ended; handles
// that are not searches are refused.
TEST(DirectorySearch, Handles) {
    TempDir folder;
    WriteFile(folder.path() / "a.txt", "a");
    WriteFile(folder.path() / "b.txt", "b");
    FindData first{}, second{};
    const SearchHandle one = FindFirstEntry(folder.folderText() + u"*.txt", &first);
    const SearchHandle two = FindFirstEntry(folder.folderText() + u"*.txt", &second);
    ASSERT_NE(one, kInvalidSearch);
    ASSERT_NE(two, kInvalidSearch);
    ASSERT_NE(one, nullptr);
    EXPECT_TRUE(FindNextEntry(one, &first));
    EXPECT_EQ(U8(first.cFileName) + U8(second.cFileName), "b.txta.txt");
    EXPECT_FALSE(FindNextEntry(one, &first));
    EXPECT_FALSE(FindNextEntry(one, &first));
    EXPECT_TRUE(FindNextEntry(two, &second));
    EXPECT_EQ(U8(second.cFileName), "b.txt");
    EXPECT_TRUE(FindCloseSearch(one));
    EXPECT_TRUE(FindCloseSearch(two));
    for (const SearchHandle foreign : {kInvalidSearch, SearchHandle{}}) {
        EXPECT_FALSE(FindCloseSearch(foreign));
        EXPECT_FALSE(FindNextEntry(foreign, &first));
    }
}

// The scope is a hint: every entry of the kind asked for comes back; on POSIX
// the others are left out, Windows may return them. Sizes of 4 GiB and more
// split into two words.
TEST(DirectorySearch, ScopeAndSize) {
    TempDir folder;
    fs::create_directory(folder.path() / "sub");
    WriteFile(folder.path() / "big.bin", "");
    fs::resize_file(folder.path() / "big.bin", 5ull << 30);  // a hole: nothing is written
    const Listing folders = List(folder.folderText() + u"*.*", SearchScope::DirectoriesOnly);
    const Listing others = List(folder.folderText() + u"*.*", SearchScope::NonDirectoriesOnly);
    const auto has = [](const Listing& listing, const char16_t* name) {
        return std::count(listing.names.begin(), listing.names.end(), name) == 1;
    };
    if (IsWindowsBuild()) {
        EXPECT_TRUE(has(folders, u".") && has(folders, u"..") && has(folders, u"sub"));
        EXPECT_TRUE(has(others, u"big.bin"));
    } else {
        EXPECT_EQ(Show(folders.names), "./../sub");
        EXPECT_EQ(Show(others.names), "big.bin");
    }
    const Listing big = List(folder.folderText() + u"big.bin");
    ASSERT_EQ(big.entries.size(), 1u);
    EXPECT_EQ(big.entries[0].nFileSizeHigh, 1u);
    EXPECT_EQ(big.entries[0].nFileSizeLow, 0x40000000u);
}

TEST(DirectoryIdentity, SameFolderThroughAnyPath) {
    TempDir folder;
    fs::create_directory(folder.path() / "sub");
    fs::create_directory(folder.path() / "other");
    const std::u16string base = folder.folderText();
    DirectoryIdentity direct, roundabout, sub, other, missing;
    ASSERT_TRUE(GetDirectoryIdentity(base.substr(0, base.size() - 1), direct));
    ASSERT_TRUE(GetDirectoryIdentity(base + u"sub" + kPathSeparator + u"..", roundabout));
    ASSERT_TRUE(GetDirectoryIdentity(base + u"sub", sub));
    ASSERT_TRUE(GetDirectoryIdentity(base + u"other", other));
    EXPECT_TRUE(direct == roundabout);
    EXPECT_FALSE(direct == sub);
    EXPECT_FALSE(sub == other);
    EXPECT_FALSE(GetDirectoryIdentity(base + u"missing", missing));
}

std::string Show(const SystemTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u dow=%u", t.wYear, t.wMonth,
                  t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, t.wDayOfWeek);
    return text;
}

// findfile.tsv's FileTimeToSystemTime rows: the input's ticks are its
// next-to-last word.
TEST(FileTimeToSystemTime, FollowsTheTable) {
    const ReferenceTable table = ReferenceTable::Load("findfile.tsv");
    int checked = 0;
    for (const auto& row : table.rows()) {
        if (table.Field(row, "api") != "FileTimeToSystemTime")
            continue;
        SCOPED_TRACE(row.name);
        ++checked;
        std::string input = table.Field(row, "input");
        input = input.substr(0, input.rfind(' '));
        const uint64_t ticks = std::stoull(input.substr(input.rfind(' ') + 1));
        SystemTime fields;
        std::memset(&fields, 0xCC, sizeof fields);
        const bool converted = FileTimeToSystemTime(Make(ticks), fields);
        EXPECT_EQ(converted, table.Field(row, "ret") == "TRUE");
        if (converted) {
            EXPECT_EQ(Show(fields), table.Field(row, "out1"));
        } else {
            EXPECT_EQ(LastErrorCode(), 87u);  // invalid parameter
            EXPECT_EQ(fields.wYear, 0xCCCC);
        }
    }
    EXPECT_EQ(checked, 45);
}

int64_t OffsetSeconds(uint64_t ticks) {
    FileTime local{};
    EXPECT_TRUE(FileTimeToLocalFileTime(Make(ticks), local));
    return static_cast<int64_t>(Ticks(local) - ticks) / 10000000;
}

// POSIX takes the offset of the instant, from TZ; Wine that of today, from
// the zone the process started with.
TEST(FileTimeToLocalFileTime, OffsetOfTheInstantOnPosixOfTodayOnWindows) {
    const uint64_t july = 132696144005000000ull;     // 2021-07-01 12:00:00.500 UTC
    const uint64_t january = 132224078450000000ull;  // 2020-01-02 03:04:05 UTC
#ifdef _WIN32
    const uint64_t now =
        116444736000000000ull + std::chrono::duration_cast<std::chrono::microseconds>(
                                    std::chrono::system_clock::now().time_since_epoch())
                                        .count() *
                                    10;
    EXPECT_EQ(OffsetSeconds(july), OffsetSeconds(now));
    EXPECT_EQ(OffsetSeconds(january), OffsetSeconds(now));
#else
    SetEnvironment("TZ", "Europe/Berlin");
    tzset();
    EXPECT_EQ(OffsetSeconds(july), 7200);
    EXPECT_EQ(OffsetSeconds(january), 3600);
    EXPECT_EQ(OffsetSeconds(0), 3208);  // Berlin's local mean time, +0:53:28
    FileTime local{};
    ASSERT_TRUE(FileTimeToLocalFileTime(Make(july), local));
    SystemTime fields{};
    ASSERT_TRUE(FileTimeToSystemTime(local, fields));
    EXPECT_EQ(Show(fields), "2021-07-01 14:00:00.500 dow=4");
    // West of Greenwich the first instants have no local time: the result
    // wraps around, and FileTimeToSystemTime then refuses it, as on Windows.
    SetEnvironment("TZ", "America/New_York");
    tzset();
    ASSERT_TRUE(FileTimeToLocalFileTime(Make(0), local));
    EXPECT_GE(Ticks(local), 0x8000000000000000ull);
    EXPECT_FALSE(FileTimeToSystemTime(local, fields));
#endif
}

// findfile.tsv's GetCompressedFileSizeW rows over its folder "ff", rebuilt
// here: on Windows what the table says, on POSIX the bytes the file system
// allocated; failures alike on both.
TEST(GetCompressedFileSize, FollowsTheTable) {
    TempDir folder;
    WriteFile(folder.path() / "small.txt", "12345");
    WriteFile(folder.path() / "empty.bin", "");
    WriteFile(folder.path() / "sparse_100M.bin", "");
    fs::resize_file(folder.path() / "sparse_100M.bin", 100 << 20);
    WriteFile(folder.path() / "sparse_5G.bin", "");
    fs::resize_file(folder.path() / "sparse_5G.bin", 5ull << 30);
    WriteFile(folder.path() / "partial.bin", std::string(1 << 20, 'x'));
    fs::resize_file(folder.path() / "partial.bin", 10 << 20);
    fs::create_directory(folder.path() / "sub");
    const ReferenceTable table = ReferenceTable::Load("findfile.tsv");
    int checked = 0;
    for (const auto& row : table.rows()) {
        if (table.Field(row, "api") != "GetCompressedFileSizeW")
            continue;
        SCOPED_TRACE(row.name);
        ++checked;
        std::string name =
            Unquoted(table.Field(row, "input")).substr(18);  // after "ff" and its backslash
        std::replace(name.begin(), name.end(), '\\', static_cast<char>(kPathSeparator));
        uint32_t high = 0xDEADBEEF;
        const uint64_t low = GetCompressedFileSize(folder.folderText() + U16(name), &high);
        const std::string total = table.Field(row, "out2");
        if (total == "total=n/a") {
            EXPECT_EQ(low, 0xFFFFFFFFu);
            EXPECT_EQ(LastErrorCode(), std::stoul(table.Field(row, "last_error")));
            EXPECT_EQ(high, 0xDEADBEEFu);
            continue;
        }
        uint64_t allocated = IsWindowsBuild() ? std::stoull(total.substr(6)) : 0;
#ifndef _WIN32
        struct stat st;
        ASSERT_EQ(stat((folder.path() / name).c_str(), &st), 0);
        allocated = static_cast<uint64_t>(st.st_blocks) * 512;
#endif
        EXPECT_EQ((uint64_t{high} << 32) | low, allocated);
    }
    EXPECT_EQ(checked, 8);
}

#ifndef _WIN32

std::map<std::string, FindData> ByName(const Listing& listing) {
    std::map<std::string, FindData> entries;
    for (size_t i = 0; i < listing.names.size(); ++i)
        entries[U8(listing.names[i])] = listing.entries[i];
    return entries;
}

TEST(PosixFindData, AttributesOfEveryKindOfEntry) {
    TempDir folder;
    const fs::path dir = folder.path();
    WriteFile(dir / "plain.txt", "12345");
    WriteFile(dir / "readonly.txt", "1");
    fs::permissions(dir / "readonly.txt", fs::perms::owner_read | fs::perms::group_read);
    WriteFile(dir / ".hidden", "1");
    fs::create_directory(dir / "sub");
    fs::create_directory(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0644), 0);
    fs::create_symlink("plain.txt", dir / "link-to-file");
    fs::create_directory_symlink("sub", dir / "link-to-dir");
    fs::create_symlink("nowhere", dir / "dangling");
    fs::create_symlink("loop", dir / "loop");
    auto entries = ByName(List(folder.folderText() + u"*"));
    const std::map<std::string, uint32_t> expected = {
        {".", 0x10},
        {"..", 0x10},
        {"plain.txt", 0x20},
        {"readonly.txt", 0x21},
        {".hidden", 0x22},
        {"sub", 0x10},
        {"locked", 0x11},
        {"fifo", 0x4},
        {"link-to-file", 0x420},
        {"link-to-dir", 0x410},
        {"dangling", 0x400},
        {"loop", 0x400},
    };
    EXPECT_EQ(entries.size(), expected.size());
    for (const auto& [name, attributes] : expected) {
        EXPECT_EQ(entries[name].dwFileAttributes, attributes) << name;
        EXPECT_EQ(entries[name].cAlternateFileName[0], u'\0') << name;
    }
    // A link shows its target's size; a dangling one its own (the target text).
    EXPECT_EQ(entries["link-to-file"].nFileSizeLow, 5u);
    EXPECT_EQ(entries["dangling"].nFileSizeLow, std::strlen("nowhere"));
    const Listing device = List(u"/dev/null");
    ASSERT_EQ(device.entries.size(), 1u);
    EXPECT_EQ(device.entries[0].dwFileAttributes, 0x4u);
}

TEST(PosixFindData, NamesThatAreNotUtf8ComeBackToTheSameFile) {
    TempDir folder;
    WriteFile(folder.path() / "caf\xE9 \xFF.txt", "latin-1 name");
    const Listing listing = List(folder.folderText() + u"*.txt");
    ASSERT_EQ(listing.names, std::vector<std::u16string>{u"caf\xDCE9 \xDCFF.txt"});
    const std::u16string path = folder.folderText() + listing.names[0];
    EXPECT_EQ(ReadWholeFile(Utf16ToUtf8(path)), "latin-1 name");
    EXPECT_EQ(List(path).names, listing.names);  // the escaped name is a mask, too
}

uint64_t TicksOf(int64_t seconds, long nanoseconds) {
    return static_cast<uint64_t>(116444736000000000ll + seconds * 10000000 + nanoseconds / 100);
}

TEST(PosixFindData, TimesFromTheFileSystem) {
    TempDir folder;
    const fs::path path = folder.path() / "timed.txt";
    WriteFile(path, "x");
    // Access and write times; the Unix epoch, and a day before it.
    const struct {
        timespec access, write;
    } rows[] = {{{1593604800, 123456789}, {1577934245, 999999999}}, {{0, 0}, {-86400, 500}}};
    for (const auto& row : rows) {
        const timespec times[2] = {row.access, row.write};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        const Listing listing = List(folder.folderText() + u"timed.txt");
        ASSERT_EQ(listing.entries.size(), 1u);
        const FindData& data = listing.entries[0];
        EXPECT_EQ(Ticks(data.ftLastAccessTime), TicksOf(times[0].tv_sec, times[0].tv_nsec));
        EXPECT_EQ(Ticks(data.ftLastWriteTime), TicksOf(times[1].tv_sec, times[1].tv_nsec));
        struct statx info;
        ASSERT_EQ(statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &info), 0);
        const bool birth = (info.stx_mask & STATX_BTIME) && info.stx_btime.tv_sec != 0;
        const statx_timestamp created = birth ? info.stx_btime : info.stx_ctime;
        EXPECT_EQ(Ticks(data.ftCreationTime), TicksOf(created.tv_sec, created.tv_nsec));
    }
}

// Entries are described when they are returned: one removed meanwhile is
// skipped, not returned with stale data. Names sort by their upper case, then
// exactly: '_' after the letters, "B" before "b".
TEST(PosixFindData, OrderAndEntriesRemovedDuringTheSearch) {
    TempDir folder;
    for (const char* name : {"_x", "b", "B", "a", "\xC3\xA9", "E", "\xC3\x89"})
        WriteFile(folder.path() / name, "1");
    EXPECT_EQ(Show(List(folder.folderText() + u"*").names), "./../a/B/b/E/_x/\xC3\x89/\xC3\xA9");
    FindData data{};
    const SearchHandle search =
        FindFirstEntry(folder.folderText() + u"*", &data, SearchScope::NonDirectoriesOnly);
    ASSERT_NE(search, kInvalidSearch);
    EXPECT_EQ(U8(data.cFileName), "a");
    fs::remove(folder.path() / "B");
    fs::remove(folder.path() / "b");
    ASSERT_TRUE(FindNextEntry(search, &data));
    EXPECT_EQ(U8(data.cFileName), "E");
    EXPECT_TRUE(FindCloseSearch(search));
}

// Tests run as root; a child that drops to an unprivileged user checks that a
// folder it may not read cannot be searched.
TEST(PosixFindData, UnreadableFolder) {
    TempDir folder;
    const fs::path secret = folder.path() / "secret";
    fs::create_directory(secret);
    WriteFile(secret / "inside.txt", "x");
    fs::permissions(folder.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(secret, fs::perms::owner_all);
    const std::u16string fileSpec = folder.folderText() + u"secret/*.*";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FindData data{};
        uint32_t high = 7;
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(10);
        if (FindFirstEntry(fileSpec, &data) != kInvalidSearch)
            _exit(1);
        const uint32_t low =
            GetCompressedFileSize(folder.folderText() + u"secret/inside.txt", &high);
        _exit(low == 0xFFFFFFFF && LastErrorCode() == 5 && high == 7 ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0)
        << "10: could not drop privileges; 1: the search opened; 2: compressed size";
    EXPECT_EQ(List(fileSpec).names.size(), 3u);  // the owner still can
}

#endif

}  // namespace
