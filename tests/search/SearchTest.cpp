// Search, wildcards, sizes and times on both builds, so the real API holds the
// POSIX emulation to its behaviour; what only POSIX has (links, FIFOs...) natively.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
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

// Runs one search to its end and closes it; nothing when it does not open.
std::vector<FindData> List(const std::u16string& pattern,
                           SearchScope scope = SearchScope::AllEntries) {
    std::vector<FindData> entries;
    FindData data{};
    const SearchHandle search = FindFirstEntry(pattern, &data, scope);
    for (bool more = search != kInvalidSearch; more; more = FindNextEntry(search, &data))
        entries.push_back(data);
    EXPECT_TRUE(entries.empty() || FindCloseSearch(search));
    return entries;
}

// The names of the entries, in their order.
std::string Show(const std::vector<FindData>& entries) {
    std::string text;
    for (const FindData& data : entries)
        text += (text.empty() ? "" : "/") + U8(data.cFileName);
    return text;
}

TEST(Wildcard, CasesBeyondTheFixture) {
    const ReferenceTable table = ReferenceTable::LoadCases("search/wildcard_extra.tsv");
    for (const auto& row : table.rows())
        EXPECT_EQ(formats::MatchesWildcard(UnescapeField16(row.fields[0]),
                                           UnescapeField16(row.fields[1])),
                  row.fields[2] == "1")
            << row.name;
}

// Masks that make a backtracking matcher take exponential time: such a
// matcher would not finish within the test runner's time limit.
TEST(Wildcard, PathologicalMasksStayFast) {
    const std::u16string name(255, u'a');
    std::u16string stars;
    for (int i = 0; i < 40; ++i)
        stars += u"*a";
    for (const std::u16string& mask :
         {stars + u"*b", std::u16string(600, u'*') + u"b", std::u16string(300, u'?') + u"*.?*<\"b"})
        EXPECT_FALSE(formats::MatchesWildcard(mask, name));
    EXPECT_TRUE(formats::MatchesWildcard(stars + u"*", name));
}

// wildcard.tsv's folder in Wine's order (wildcard_order.tsv), less what Windows
// cannot create: natively the documented rules (model_mfsa_longnames) hold, on
// Windows what Wine returned (names_sorted).
TEST(WildcardDirectory, ReturnsTheMatchingNamesInOrder) {
    std::vector<std::string> order;
    const ReferenceTable orderTable = ReferenceTable::Load("wildcard_order.tsv");
    for (const auto& row : orderTable.rows()) {
        const std::string name = orderTable.Field(row, "name");
        if (orderTable.Field(row, "pattern") == "*.*" && orderTable.Field(row, "index") != "end" &&
            !(IsWindowsBuild() && (name == "name." || name == "A.Txt" || name == "a.TXT")))
            order.push_back(name);
    }
    TempDir folder;
    for (const std::string& name : order) {
        if (name == "sub.dir")
            ASSERT_TRUE(fs::create_directory(folder.path() / fs::u8path(name)));
        else if (name != "." && name != "..")
            WriteFile(folder.path() / fs::u8path(name), "data " + name);
    }
    const ReferenceTable table = ReferenceTable::Load("wildcard.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const std::string mask = table.Field(row, "mask");
        const std::string names =
            table.Field(row, IsWindowsBuild() ? "names_sorted" : "model_mfsa_longnames");
        // "n/a": Win32 rewrites the path before any matching. On Windows "." and
        // ".." name folders, and a mask without wildcards finds the one name there
        // is: findfile.tsv's rows.
        if (names == "n/a" ||
            (IsWindowsBuild() && (mask == "." || mask == ".." || mask == "A.TXT")))
            continue;
        std::string expected;
        for (const std::string& name : order) {
            if (("/" + names + "/").find("/" + name + "/") != std::string::npos)
                expected += (expected.empty() ? "" : "/") + name;
        }
        EXPECT_EQ(Show(List(folder.folderText() + U16(mask))), expected);
    }
}

std::string Show(const SystemTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u dow=%u", t.wYear, t.wMonth,
                  t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, t.wDayOfWeek);
    return text;
}

// findfile.tsv over its folder "ff", rebuilt. Drive roots, drive-relative paths
// and "\\?\" have no POSIX counterpart; POSIX's compressed size is the bytes
// the file system allocated.
TEST(FindFile, FollowsTheTableAndMore) {
    TempDir folder;
    const fs::path ff = folder.path();
    fs::create_directories(ff / "empty");
    fs::create_directories(ff / "sub");
    WriteFile(ff / "small.txt", "12345");
    WriteFile(ff / "sub/one.txt", "1");
    WriteFile(ff / "sub/two.dat", "22");
    WriteFile(ff / "empty.bin", "");
    WriteFile(ff / "partial.bin", std::string(1 << 20, 'x'));
    for (const auto& [name, size] : {std::pair{"partial.bin", 10ull << 20},
                                     {"sparse_100M.bin", 100ull << 20},
                                     {"sparse_5G.bin", 5ull << 30}}) {
        std::ofstream(ff / name, std::ios::app);
        fs::resize_file(ff / name, size);  // a hole: nothing is written
    }
    const ReferenceTable table = ReferenceTable::Load("findfile.tsv");
    const std::string prefix = "Z:\\tmp\\refdata\\ff\\";
    int checked = 0;
    for (const auto& row : table.rows()) {
        const std::string api = table.Field(row, "api");
        std::string path = Unquoted(table.Field(row, "input"));  // for times: "... TICKS ..."
        const size_t at = path.find(prefix);
        if (api == "FindFirstFileW" && !path.empty() &&
            (at == std::string::npos || (at != 0 && !IsWindowsBuild())))
            continue;
        SCOPED_TRACE(row.name);
        checked += api == "FindFirstFileW" || api == "GetCompressedFileSizeW" ||
                   api == "FileTimeToSystemTime";
        if (at != std::string::npos)
            path.replace(at, prefix.size(), U8(folder.folderText()));
        if (!IsWindowsBuild())
            std::replace(path.begin(), path.end(), '\\', '/');
        if (api == "FindFirstFileW") {
            // Windows names a final "." or ".." component by the folder it
            // stands for; the POSIX search returns the component itself.
            const std::string last = path.substr(path.find_last_of("/\\") + 1);
            std::string expected = table.Field(row, "out2");
            if (!IsWindowsBuild() && (last == "." || last == ".."))
                expected = last;
            else if (expected == "ff")
                expected = U8(ff.filename().u16string());
            // A failed search's error code is not the search's to keep.
            EXPECT_EQ(Show(List(U16(path))), table.Field(row, "ret") == "handle" ? expected : "");
        } else if (api == "GetCompressedFileSizeW") {
            uint32_t high = 0xDEADBEEF;
            const uint64_t low = GetCompressedFileSize(U16(path), &high);
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
            ASSERT_EQ(stat(path.c_str(), &st), 0);
            allocated = static_cast<uint64_t>(st.st_blocks) * 512;
#endif
            EXPECT_EQ((uint64_t{high} << 32) | low, allocated);
        } else if (api == "FileTimeToSystemTime") {
            path = path.substr(0, path.rfind(' '));
            SystemTime fields;
            std::memset(&fields, 0xCC, sizeof fields);
            const bool converted =
                FileTimeToSystemTime(Make(std::stoull(path.substr(path.rfind(' ') + 1))), fields);
            EXPECT_EQ(converted, table.Field(row, "ret") == "TRUE");
            EXPECT_EQ(fields.wYear == 0xCCCC ? "<unchanged>" : Show(fields),
                      table.Field(row, "out1"));
            EXPECT_TRUE(converted || LastErrorCode() == std::stoul(table.Field(row, "last_error")));
        }
    }
    EXPECT_EQ(checked, IsWindowsBuild() ? 20 + 8 + 45 : 18 + 8 + 45);

    // Sizes of 4 GiB and more split into two words.
    const std::vector<FindData> big = List(folder.folderText() + u"sparse_5G.bin");
    ASSERT_EQ(big.size(), 1u);
    EXPECT_EQ(big[0].nFileSizeHigh, 1u);
    EXPECT_EQ(big[0].nFileSizeLow, 0x40000000u);
    // The scope is a hint: every entry of the kind asked for comes back; on
    // POSIX the others are left out, Windows may return them.
    for (const auto& [scope, names] :
         {std::pair{SearchScope::DirectoriesOnly, "./../empty/sub"},
          {SearchScope::NonDirectoriesOnly,
           "empty.bin/partial.bin/small.txt/sparse_100M.bin/sparse_5G.bin"}}) {
        const std::string found = Show(List(folder.folderText() + u"*", scope));
        std::istringstream each(names);
        for (std::string name; std::getline(each, name, '/');)
            EXPECT_NE(("/" + found + "/").find("/" + name + "/"), std::string::npos) << name;
        EXPECT_TRUE(IsWindowsBuild() || found == names) << found;
    }

    const std::u16string base = folder.folderText();
    EXPECT_EQ(List(base + u"sub").at(0).dwFileAttributes & 0x30, 0x10u);  // a folder
    EXPECT_EQ(big[0].dwFileAttributes & 0x30, 0x20u);                     // an archive file

    // The same folder through any path.
    const auto identity = [](const std::u16string& path) {
        DirectoryIdentity found;
        EXPECT_TRUE(GetDirectoryIdentity(path, found)) << U8(path);
        return found;
    };
    const DirectoryIdentity direct = identity(base.substr(0, base.size() - 1));
    EXPECT_TRUE(direct == identity(base + u"sub" + kPathSeparator + u".."));
    EXPECT_FALSE(direct == identity(base + u"sub"));
    EXPECT_FALSE(identity(base + u"empty") == identity(base + u"sub"));
    DirectoryIdentity missing;
    EXPECT_FALSE(GetDirectoryIdentity(base + u"missing", missing));

    // Searches open at once are independent; an ended search stays ended;
    // handles that are not searches are refused.
    FindData first{}, second{};
    const SearchHandle one = FindFirstEntry(base + u"sub" + kPathSeparator + u"*.*", &first);
    const SearchHandle two = FindFirstEntry(base + u"sub" + kPathSeparator + u"t*", &second);
    ASSERT_TRUE(one != kInvalidSearch && two != kInvalidSearch && one != nullptr);
    EXPECT_TRUE(FindNextEntry(one, &first) && FindNextEntry(one, &first));
    EXPECT_EQ(U8(first.cFileName) + U8(second.cFileName), "one.txttwo.dat");
    EXPECT_TRUE(FindNextEntry(one, &first) && !FindNextEntry(two, &second));
    EXPECT_FALSE(FindNextEntry(one, &first) || FindNextEntry(one, &first));
    EXPECT_TRUE(FindCloseSearch(one) && FindCloseSearch(two));
    for (const SearchHandle foreign : {kInvalidSearch, SearchHandle{}}) {
        EXPECT_FALSE(FindCloseSearch(foreign));
        EXPECT_FALSE(FindNextEntry(foreign, &first));
    }
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
    const uint64_t now = 116444736000000000ull + uint64_t(std::time(nullptr)) * 10000000;
    EXPECT_EQ(OffsetSeconds(july), OffsetSeconds(now));
    EXPECT_EQ(OffsetSeconds(january), OffsetSeconds(now));
#else
    SetEnvironment("TZ", "Europe/Berlin");
    tzset();
    EXPECT_EQ(OffsetSeconds(july), 7200);
    EXPECT_EQ(OffsetSeconds(january), 3600);
    EXPECT_EQ(OffsetSeconds(0), 3208);  // Berlin's local mean time, +0:53:28
    FileTime local{};
    SystemTime fields{};
    // West of Greenwich the first instants have no local time: the result
    // wraps around, and FileTimeToSystemTime then refuses it, as on Windows.
    SetEnvironment("TZ", "America/New_York");
    tzset();
    ASSERT_TRUE(FileTimeToLocalFileTime(Make(0), local));
    EXPECT_GE(Ticks(local), 0x8000000000000000ull);
    EXPECT_FALSE(FileTimeToSystemTime(local, fields));
#endif
}

#ifndef _WIN32

// Attributes and sizes (a link shows its target's, a dangling one its own) in
// the order of names by upper case, then exact: '_' after letters, "B" first.
TEST(PosixFindData, EveryKindOfEntryInOrder) {
    TempDir folder;
    const fs::path dir = folder.path();
    for (const char* name : {"_x", "b", "B", "a", "\xC3\xA9", "E", "\xC3\x89", ".hidden"})
        WriteFile(dir / name, "12345");
    WriteFile(dir / "readonly", "1");
    WriteFile(dir / "caf\xE9 \xFF.txt", "latin-1 name");
    fs::permissions(dir / "readonly", fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(dir / "sub");
    fs::create_directory(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0644), 0);
    fs::create_symlink("a", dir / "link-to-file");
    fs::create_directory_symlink("sub", dir / "link-to-dir");
    fs::create_symlink("nowhere", dir / "dangling");
    fs::create_symlink("loop", dir / "loop");
    std::string found;
    for (const FindData& data : List(folder.folderText() + u"*")) {
        char text[32];
        std::snprintf(text, sizeof text, "=%x", data.dwFileAttributes);
        found += U8(data.cFileName) + text +
                 (data.dwFileAttributes & 0x10 ? "" : "/" + std::to_string(data.nFileSizeLow)) +
                 " ";
        EXPECT_EQ(data.cAlternateFileName[0], u'\0');
    }
    EXPECT_EQ(found,
              ".=10 ..=10 .hidden=22/5 a=20/5 B=20/5 b=20/5 caf\xE9 \xFF.txt=20/12 dangling=400/7 "
              "E=20/5 fifo=4/0 link-to-dir=410 link-to-file=420/5 locked=11 loop=400/4 "
              "readonly=21/1 sub=10 _x=20/5 \xC3\x89=20/5 \xC3\xA9=20/5 ");
    EXPECT_EQ(List(u"/dev/null").at(0).dwFileAttributes, 0x4u);
    // A name that is not UTF-8 comes back escaped, and finds the file again.
    const std::u16string latin1 = folder.folderText() + u"caf\xDCE9 \xDCFF.txt";
    EXPECT_EQ(ReadWholeFile(Utf16ToUtf8(latin1)), "latin-1 name");
    EXPECT_EQ(Show(List(latin1)), "caf\xE9 \xFF.txt");

    // Entries are described when they are returned: one removed meanwhile is
    // skipped, not returned with stale data.
    FindData data{};
    const SearchHandle search = FindFirstEntry(folder.folderText() + u"?", &data);
    ASSERT_NE(search, kInvalidSearch);
    EXPECT_EQ(U8(data.cFileName), "a");
    fs::remove(dir / "B");
    fs::remove(dir / "b");
    ASSERT_TRUE(FindNextEntry(search, &data));
    EXPECT_EQ(U8(data.cFileName), "E");
    EXPECT_TRUE(FindCloseSearch(search));
}

uint64_t TicksOf(int64_t seconds, long nanoseconds) {
    return static_cast<uint64_t>(116444736000000000ll + seconds * 10000000 + nanoseconds / 100);
}

TEST(PosixFindData, TimesFromTheFileSystem) {
    TempDir folder;
    const fs::path path = folder.path() / "timed.txt";
    WriteFile(path, "x");
    // Access and write times; the Unix epoch, and a day before it.
    const timespec rows[][2] = {{{1593604800, 123456789}, {1577934245, 999999999}},
                                {{0, 0}, {-86400, 500}}};
    for (const auto& times : rows) {
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        const FindData data = List(folder.folderText() + u"timed.txt").at(0);
        EXPECT_EQ(Ticks(data.ftLastAccessTime), TicksOf(times[0].tv_sec, times[0].tv_nsec));
        EXPECT_EQ(Ticks(data.ftLastWriteTime), TicksOf(times[1].tv_sec, times[1].tv_nsec));
        struct statx info;
        ASSERT_EQ(statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &info), 0);
        const bool birth = (info.stx_mask & STATX_BTIME) && info.stx_btime.tv_sec != 0;
        const statx_timestamp created = birth ? info.stx_btime : info.stx_ctime;
        EXPECT_EQ(Ticks(data.ftCreationTime), TicksOf(created.tv_sec, created.tv_nsec));
    }
}

// Tests run as root; a child that drops to an unprivileged user checks that a
// folder it may not read cannot be searched, and that one it may list but not
// search gives what the listing knows: names and kinds, as find does.
TEST(PosixFindData, UnreadableFolder) {
    TempDir folder;
    const fs::path secret = folder.path() / "secret";
    const fs::path listOnly = folder.path() / "list-only";
    for (const fs::path& dir : {secret, listOnly}) {
        fs::create_directory(dir);
        WriteFile(dir / "inside.txt", "x");
    }
    fs::create_directory(listOnly / "sub");
    fs::permissions(folder.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(secret, fs::perms::owner_all);
    fs::permissions(listOnly, fs::perms::owner_all | fs::perms::others_read);
    const std::u16string pattern = folder.folderText() + u"secret/*.*";
    const std::u16string listed = folder.folderText() + u"list-only/*";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FindData data{};
        uint32_t high = 0;
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(10);
        if (FindFirstEntry(pattern, &data) != kInvalidSearch)
            _exit(1);
        const uint32_t low =
            GetCompressedFileSize(folder.folderText() + u"secret/inside.txt", &high);
        if (low != 0xFFFFFFFF || LastErrorCode() != 5)
            _exit(2);
        std::string names;
        for (const FindData& entry : List(listed))
            names += U8(entry.cFileName) + "=" + std::to_string(entry.dwFileAttributes) + "/" +
                     std::to_string(entry.nFileSizeLow) + " ";
        _exit(names == ".=16/0 ..=16/0 inside.txt=32/0 sub=16/0 " ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: could not drop privileges; 1: the search opened; "
                                         "2: compressed size; 3: the list-only folder";
    EXPECT_EQ(Show(List(pattern)), "./../inside.txt");  // the owner still can
}

#endif

}  // namespace
