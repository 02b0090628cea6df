#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/FileInformation.h"
#include "platform/PathSplit.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <time.h>
#endif

using platform::FileTime;
using platform::SystemTime;
using testing_support::IsWindowsBuild;
using testing_support::TempDir;

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kInvalidParameter = 87;
constexpr uint64_t kTicksPerSecond = 10000000;

FileTime Make(uint64_t ticks) {
    return FileTime{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

uint64_t Ticks(const FileTime& time) {
    return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

std::string Show(const SystemTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u dow=%u", t.wYear, t.wMonth,
                  t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, t.wDayOfWeek);
    return text;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// What the POSIX build reports: the bytes the file system allocated.
uint64_t AllocatedBytes(const fs::path& path) {
#ifdef _WIN32
    (void)path;
    return 0;
#else
    struct stat st;
    EXPECT_EQ(stat(path.c_str(), &st), 0);
    return static_cast<uint64_t>(st.st_blocks) * 512;
#endif
}

// findfile.tsv's FileTimeToSystemTime rows: the input's ticks are its
// next-to-last word.
TEST(FileTimeToSystemTime, FollowsTheTable) {
    const testing_support::ReferenceTable table =
        testing_support::ReferenceTable::Load("findfile.tsv");
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
        if (table.Field(row, "ret") == "TRUE") {
            ASSERT_TRUE(platform::FileTimeToSystemTime(Make(ticks), fields));
            EXPECT_EQ(Show(fields), table.Field(row, "out1"));
        } else {
            EXPECT_FALSE(platform::FileTimeToSystemTime(Make(ticks), fields));
            EXPECT_EQ(platform::LastErrorCode(), kInvalidParameter);
            EXPECT_EQ(fields.wYear, 0xCCCC);
        }
    }
    EXPECT_EQ(checked, 45);
}

// POSIX takes the zone from TZ; Wine reads it once, from the Unix side, when
// the process starts.
class TimeZone {
public:
    explicit TimeZone(const char* name) {
#ifndef _WIN32
        const char* old = std::getenv("TZ");
        hadOld_ = old != nullptr;
        if (hadOld_) {
            old_ = old;
        }
        setenv("TZ", name, 1);
        tzset();
#else
        (void)name;
#endif
    }
    ~TimeZone() {
#ifndef _WIN32
        if (hadOld_) {
            setenv("TZ", old_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
#endif
    }

private:
    bool hadOld_ = false;
    std::string old_;
};

int64_t OffsetSeconds(uint64_t ticks) {
    FileTime local{};
    EXPECT_TRUE(platform::FileTimeToLocalFileTime(Make(ticks), local));
    return static_cast<int64_t>(Ticks(local) - ticks) / static_cast<int64_t>(kTicksPerSecond);
}

TEST(FileTimeToLocalFileTime, OffsetOfTheInstantOnPosixOfTodayOnWindows) {
    TimeZone berlin("Europe/Berlin");
    const uint64_t july = 132696144005000000ull;     // 2021-07-01 12:00:00.500 UTC
    const uint64_t january = 132224078450000000ull;  // 2020-01-02 03:04:05 UTC
    if (IsWindowsBuild()) {
        const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
        const uint64_t now =
            116444736000000000ull +
            static_cast<uint64_t>(
                std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count()) *
                10;
        const int64_t today = OffsetSeconds(now);
        EXPECT_EQ(OffsetSeconds(july), today);
        EXPECT_EQ(OffsetSeconds(january), today);
    } else {
        EXPECT_EQ(OffsetSeconds(july), 7200);
        EXPECT_EQ(OffsetSeconds(january), 3600);
        EXPECT_EQ(OffsetSeconds(0), 3208);  // Berlin's local mean time, +0:53:28
        FileTime local{};
        ASSERT_TRUE(platform::FileTimeToLocalFileTime(Make(july), local));
        SystemTime fields{};
        ASSERT_TRUE(platform::FileTimeToSystemTime(local, fields));
        EXPECT_EQ(Show(fields), "2021-07-01 14:00:00.500 dow=4");
    }
}

// West of Greenwich the first instants have no local time: the result wraps
// around, and FileTimeToSystemTime then refuses it, as on Windows.
TEST(FileTimeToLocalFileTime, WrapsAroundBeforeTheFirstInstant) {
    TimeZone newYork("America/New_York");
    if (IsWindowsBuild()) {
        GTEST_SKIP() << "Wine's zone is the one the process started with";
    }
    FileTime local{};
    ASSERT_TRUE(platform::FileTimeToLocalFileTime(Make(0), local));
    EXPECT_GE(Ticks(local), 0x8000000000000000ull);
    SystemTime fields{};
    EXPECT_FALSE(platform::FileTimeToSystemTime(local, fields));
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
    const testing_support::ReferenceTable table =
        testing_support::ReferenceTable::Load("findfile.tsv");
    const std::string prefix = "Z:\\tmp\\refdata\\ff\\";
    int checked = 0;
    for (const auto& row : table.rows()) {
        if (table.Field(row, "api") != "GetCompressedFileSizeW")
            continue;
        SCOPED_TRACE(row.name);
        ++checked;
        std::string name =
            testing_support::Unquoted(table.Field(row, "input")).substr(prefix.size());
        std::replace(name.begin(), name.end(), '\\', static_cast<char>(platform::kPathSeparator));
        uint32_t high = 0xDEADBEEF;
        const uint32_t low = platform::GetCompressedFileSize(
            folder.folderText() + testing_support::U16(name), &high);
        const std::string total = table.Field(row, "out2");
        if (total == "total=n/a") {
            EXPECT_EQ(low, 0xFFFFFFFFu);
            EXPECT_EQ(platform::LastErrorCode(), std::stoul(table.Field(row, "last_error")));
            EXPECT_EQ(high, 0xDEADBEEFu);
        } else {
            EXPECT_EQ((uint64_t{high} << 32) | low,
                      IsWindowsBuild() ? std::stoull(total.substr(6))
                                       : AllocatedBytes(folder.path() / fs::u8path(name)));
        }
    }
    EXPECT_EQ(checked, 8);
    if (!IsWindowsBuild()) {
        // A whole block for 5 bytes; the hole costs nothing.
        EXPECT_GE(AllocatedBytes(folder.path() / "small.txt"), 512u);
        EXPECT_LT(AllocatedBytes(folder.path() / "partial.bin"), 10u << 20);
    }
}

}  // namespace
