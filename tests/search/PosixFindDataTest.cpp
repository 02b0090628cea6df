// How the POSIX build describes what Windows has no counterpart for: links,
// FIFOs, sockets, devices, names that are not UTF-8, permissions.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/DirectorySearch.h"
#include "platform/FileInformation.h"
#include "platform/TextEncoding.h"
#include "tests/search/SearchTestSupport.h"
#include "tests/support/TestSupport.h"

using platform::FindData;
using platform::kInvalidSearch;
using search_tests::List;
using search_tests::Listing;
using testing_support::TempDir;
using testing_support::U8;

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kUnixEpochTicks = 116444736000000000ull;

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

uint64_t Ticks(const platform::FileTime& time) {
    return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

uint64_t TicksOf(int64_t seconds, long nanoseconds) {
    return static_cast<uint64_t>(static_cast<int64_t>(kUnixEpochTicks) + seconds * 10000000) +
           static_cast<uint64_t>(nanoseconds / 100);
}

std::map<std::string, FindData> ByName(const Listing& listing) {
    std::map<std::string, FindData> entries;
    for (size_t i = 0; i < listing.names.size(); ++i) {
        entries[U8(listing.names[i])] = listing.entries[i];
    }
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
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (dir / "socket").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    auto entries = ByName(List(folder.folderText() + u"*"));
    close(sock);
    const struct {
        const char* name;
        uint32_t attributes;
    } rows[] = {
        {".", 0x10},
        {"..", 0x10},
        {"plain.txt", 0x20},
        {"readonly.txt", 0x21},
        {".hidden", 0x22},
        {"sub", 0x10},
        {"locked", 0x11},
        {"fifo", 0x4},
        {"socket", 0x4},
        {"link-to-file", 0x420},
        {"link-to-dir", 0x410},
        {"dangling", 0x400},
        {"loop", 0x400},
    };
    EXPECT_EQ(entries.size(), std::size(rows));
    for (const auto& row : rows) {
        ASSERT_EQ(entries.count(row.name), 1u) << row.name;
        EXPECT_EQ(entries[row.name].dwFileAttributes, row.attributes) << row.name;
        EXPECT_EQ(entries[row.name].cAlternateFileName[0], u'\0') << row.name;
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
    const std::string bytes = "caf\xE9 \xFF.txt";
    WriteFile(folder.path() / bytes, "latin-1 name");
    const Listing listing = List(folder.folderText() + u"*.txt");
    ASSERT_EQ(listing.names.size(), 1u);
    EXPECT_EQ(listing.names[0], u"caf\xDCE9 \xDCFF.txt");
    const std::string path = platform::Utf16ToUtf8(folder.folderText() + listing.names[0]);
    EXPECT_EQ(testing_support::ReadWholeFile(path), "latin-1 name");
    // The escaped name is also a mask that finds the file again.
    EXPECT_EQ(List(folder.folderText() + listing.names[0]).names, listing.names);
}

TEST(PosixFindData, TimesFromTheFileSystem) {
    TempDir folder;
    const fs::path path = folder.path() / "timed.txt";
    WriteFile(path, "x");
    const struct {
        timespec access, write;
    } rows[] = {
        {{1593604800, 123456789}, {1577934245, 999999999}},
        {{0, 0}, {-86400, 500}},  // the Unix epoch, and a day before it
    };
    for (const auto& row : rows) {
        const timespec times[2] = {row.access, row.write};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        const Listing listing = List(folder.folderText() + u"timed.txt");
        ASSERT_EQ(listing.entries.size(), 1u);
        const FindData& data = listing.entries[0];
        EXPECT_EQ(Ticks(data.ftLastAccessTime), TicksOf(row.access.tv_sec, row.access.tv_nsec));
        EXPECT_EQ(Ticks(data.ftLastWriteTime), TicksOf(row.write.tv_sec, row.write.tv_nsec));

        struct statx info;
        ASSERT_EQ(statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &info), 0);
        const bool birth = (info.stx_mask & STATX_BTIME) && info.stx_btime.tv_sec != 0;
        const statx_timestamp created = birth ? info.stx_btime : info.stx_ctime;
        EXPECT_EQ(Ticks(data.ftCreationTime), TicksOf(created.tv_sec, created.tv_nsec));
    }
}

// Entries are described when they are returned: one removed meanwhile is
// skipped, not returned with stale data.
TEST(PosixFindData, EntryRemovedDuringTheSearchIsSkipped) {
    TempDir folder;
    for (const char* name : {"a", "b", "c"}) {
        WriteFile(folder.path() / name, name);
    }
    FindData data{};
    auto search = platform::FindFirstEntry(folder.folderText() + u"*", &data,
                                           platform::SearchScope::NonDirectoriesOnly);
    ASSERT_NE(search, kInvalidSearch);
    EXPECT_EQ(std::u16string(data.cFileName), u"a");
    fs::remove(folder.path() / "b");
    ASSERT_TRUE(platform::FindNextEntry(search, &data));
    EXPECT_EQ(std::u16string(data.cFileName), u"c");
    EXPECT_FALSE(platform::FindNextEntry(search, &data));
    EXPECT_TRUE(platform::FindCloseSearch(search));
}

TEST(PosixFindData, NameOrderIsByUpperCaseThenExact) {
    TempDir folder;
    // '_' sorts after the letters once they are upper-cased; "B" before "b".
    for (const char* name : {"_x", "b", "B", "a", "\xC3\xA9", "E", "\xC3\x89"}) {
        WriteFile(folder.path() / name, "1");
    }
    const Listing listing = List(folder.folderText() + u"*", platform::SearchScope::AllEntries);
    std::string order;
    for (const auto& name : listing.names) {
        order += U8(name) + " ";
    }
    EXPECT_EQ(order, ". .. a B b E _x \xC3\x89 \xC3\xA9 ");
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
    const std::u16string file = folder.folderText() + u"secret/inside.txt";

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) {
            _exit(10);
        }
        FindData data{};
        if (platform::FindFirstEntry(fileSpec, &data) != kInvalidSearch) {
            _exit(1);
        }
        uint32_t high = 7;
        if (platform::GetCompressedFileSize(file, &high) != 0xFFFFFFFF ||
            platform::LastErrorCode() != 5 || high != 7) {
            _exit(2);
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "10: could not drop privileges; 1: the search opened; 2: compressed size";
    // The owner still can.
    EXPECT_EQ(List(fileSpec).names.size(), 3u);
}

}  // namespace
