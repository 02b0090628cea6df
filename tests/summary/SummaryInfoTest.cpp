// The summary group of a row, loaded from compound files: those Wine's
// property-set storage wrote, and ones written here for the cases a real
// writer does not make. Both builds read the same values from the same
// files; dates are compared through the shared local-time conversion.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "fileinfo/FileRecord.h"
#include "fileinfo/LocalDateTime.h"
#include "tests/summary/CompoundFileWriter.h"
#include "tests/summary/PropertySetBytes.h"
#include "tests/summary/SummaryTestSupport.h"
#include "tests/support/TestSupport.h"
#include "values/Calendar.h"

using namespace testing_props;
using namespace testing_summary;
using testing_support::TempDir;
using testing_support::U8;
namespace fs = std::filesystem;

namespace {

constexpr uint64_t kNoDate = 0;

DbDateTime Local(uint64_t fileTime) {
    if (fileTime == kNoDate)
        return DbDateTime{-1, -1, 0};
    platform::FileTime time{static_cast<uint32_t>(fileTime), static_cast<uint32_t>(fileTime >> 32)};
    return LocalDateTimeFromFileTime(&time);
}

std::string Show(const DbDateTime& value) {
    return std::to_string(value.date) + "/" + std::to_string(value.time) + "/" +
           std::to_string(value.nanoseconds);
}

struct Expected {
    std::vector<std::string> texts;  // Title to Revision Number; missing ones empty
    uint32_t editTime = 0;
    uint64_t lastPrinted = kNoDate, created = kNoDate, lastSaved = kNoDate;
    uint32_t pages = 0, words = 0, characters = 0;
    std::string application;
    uint32_t security = 0;
};

void ExpectGroup(const SummaryGroup& group, const Expected& expected) {
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(U8(group.texts[i].str()), i < expected.texts.size() ? expected.texts[i] : "")
            << "text " << i;
    EXPECT_EQ(group.editTime, expected.editTime);
    EXPECT_EQ(Show(group.lastPrinted), Show(Local(expected.lastPrinted)));
    EXPECT_EQ(Show(group.created), Show(Local(expected.created)));
    EXPECT_EQ(Show(group.lastSaved), Show(Local(expected.lastSaved)));
    EXPECT_EQ(group.pageCount, expected.pages);
    EXPECT_EQ(group.wordCount, expected.words);
    EXPECT_EQ(group.characterCount, expected.characters);
    EXPECT_EQ(U8(group.applicationName.str()), expected.application);
    EXPECT_EQ(group.security, expected.security);
}

// A compound file whose summary stream holds `stream`.
fs::path WriteSummaryFile(const TempDir& dir, const std::string& name, const std::string& stream,
                          const testing_cfb::WriterOptions& options = {}) {
    return dir.Write(name, testing_cfb::WriteCompoundFile({{u"WordDocument", std::string(100, 'w')},
                                                           {kSummaryStreamName, stream}},
                                                          options));
}

const uint64_t kPrinted = 132224078450000000;  // 2020-01-02 03:04:05 UTC
const uint64_t kCreated = 132223103990000000;  // 2019-12-31 23:59:59 UTC
const uint64_t kSaved = 132682320005000000;    // 2021-06-15 12:00:00.500 UTC

TEST(SummaryInfo, FilesWrittenByWine) {
    Expected fullAnsi;
    fullAnsi.texts = {"Full summary (ANSI set)", "Reference subject", "Jane Author", "alpha; beta",
                      "Line one\r\nLine two",    "Normal.dot",        "John Editor", "42"};
    fullAnsi.editTime = 90;
    fullAnsi.lastPrinted = kPrinted;
    fullAnsi.created = kCreated;
    fullAnsi.lastSaved = kSaved;
    fullAnsi.pages = 7;
    fullAnsi.words = 1234;
    fullAnsi.characters = 5678;
    fullAnsi.application = "Wine reference generator";
    fullAnsi.security = 2;

    // A Unicode set stores type-30 texts as UTF-16; the code page property
    // is not consulted, so each text ends at the first NUL byte.
    Expected unicodeSet = fullAnsi;
    unicodeSet.texts = {"F", "R", "J", "a", "L", "N", "J", "4"};
    unicodeSet.application = "W";

    Expected wide;
    wide.texts = {"Grüße 日本語 € 😀", "Русский", "Zoë Łódź", "café; naïve", "", "", "Åsa"};
    wide.created = kCreated;
    wide.pages = 1;
    wide.application = "Wine reference generator";

    Expected titleOnly;
    titleOnly.texts = {"Only a title"};

    // Bytes of code page 1252: the process code page reads them on Windows,
    // the POSIX build reads text that is not UTF-8 as 1252.
    Expected cp1252;
    cp1252.texts = {"Grüße € café", "", "Zoë"};

    const struct {
        const char* file;
        const Expected& expected;
    } cases[] = {{"full_ansi.stg", fullAnsi},
                 {"full_unicode_set_lpstr.stg", unicodeSet},
                 {"unicode_lpwstr.stg", wide},
                 {"title_only.stg", titleOnly},
                 {"ansi_cp1252_lpstr.stg", cp1252}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ExpectGroup(LoadSummary(DataFile(c.file)), c.expected);
    }
}

// Files written through StgCreateDocfile and IPropertySetStorage by the
// Windows build's own test (see RealDocfileTest.cpp), kept beside the tests.
TEST(SummaryInfo, DocfilesWrittenThroughTheRealApi) {
    Expected hour;
    hour.texts = {"Quarterly report", "Numbers", "Ann Writer", "",
                  "Two\r\nlines",     "",        "Bob Editor", "3"};
    hour.editTime = 60;
    hour.lastSaved = kSaved;
    hour.pages = 12;
    hour.application = "Docfile test";

    Expected almost;
    almost.texts = {"Ünïcödé title", "", "Zoë"};
    almost.editTime = 59;
    almost.lastPrinted = kPrinted;
    almost.created = kCreated;
    almost.words = 345;
    almost.characters = 2001;
    almost.security = 4;
    almost.application = "Docfile test";

    ExpectGroup(LoadSummary(DataFile("docfile_edit_hour.stg")), hour);
    ExpectGroup(LoadSummary(DataFile("docfile_edit_almost_hour.stg")), almost);
}

// Edit Time is a duration in 100-nanosecond units, in whole minutes
// (truncated); dates go through the local-time conversion.
TEST(SummaryInfo, EditTimeDatesAndCounts) {
    const struct {
        const char* name;
        std::vector<Property> properties;
        uint32_t editTime, pages;
        uint64_t lastSaved;
    } cases[] = {
        {"one hour", {{10, Typed(64, U64Bytes(36000000000ull))}}, 60, 0, kNoDate},
        {"just under", {{10, Typed(64, U64Bytes(35999999999ull))}}, 59, 0, kNoDate},
        {"as type 20", {{10, Typed(20, U64Bytes(600000000ull * 5 + 1))}}, 5, 0, kNoDate},
        {"negative",
         {{10, Typed(64, U64Bytes(static_cast<uint64_t>(-1200000000ll)))}},
         0xFFFFFFFE,
         0,
         kNoDate},
        // Shorter data than the value needs: the default.
        {"edit time as type 3", {{10, I4(1000)}}, 0, 0, kNoDate},
        {"pages as type 3", {{14, I4(12)}}, 0, 12, kNoDate},
        {"pages as type 2", {{14, Typed(2, "\x0C\x00")}}, 0, 0, kNoDate},
        {"pages as a vector", {{14, Typed(0x1003, U32Bytes(1) + U32Bytes(12))}}, 0, 0, kNoDate},
        {"saved as type 64", {{13, FileTime64(kSaved)}}, 0, 0, kSaved},
        {"saved as type 3", {{13, I4(5)}}, 0, 0, kNoDate},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SummaryGroup group =
            LoadSummary(WriteSummaryFile(dir, "case.stg", SummaryStream(c.properties)));
        EXPECT_EQ(group.editTime, c.editTime);
        EXPECT_EQ(group.pageCount, c.pages);
        EXPECT_EQ(Show(group.lastSaved), Show(Local(c.lastSaved)));
        EXPECT_EQ(Show(group.created), Show(Local(kNoDate)));
    }
}

#ifndef _WIN32
// In UTC the local date is the stored one, milliseconds as nanoseconds.
TEST(SummaryInfo, LastSavedDateInUtc) {
    const char* before = std::getenv("TZ");
    const std::string saved = before ? before : "";
    testing_support::SetEnvironment("TZ", "UTC");
    tzset();
    TempDir dir;
    const SummaryGroup group =
        LoadSummary(WriteSummaryFile(dir, "utc.stg", SummaryStream({{13, FileTime64(kSaved)}})));
    if (before)
        testing_support::SetEnvironment("TZ", saved);
    else
        testing_support::UnsetEnvironment("TZ");
    tzset();
    EXPECT_EQ(group.lastSaved.date, MakeDateNumber(2021, 6, 15));
    EXPECT_EQ(group.lastSaved.time, 12 * 3600);
    EXPECT_EQ(group.lastSaved.nanoseconds, 500000000u);
}
#endif

TEST(SummaryInfo, WhichSectionIsUsed) {
    const std::string user = Section({{2, Lpstr("user title")}, {14, I4(1)}});
    const std::string summary = Section({{2, Lpstr("summary title")}, {14, I4(2)}});
    const std::string second = Section({{2, Lpstr("second summary")}, {14, I4(3)}});
    const struct {
        const char* name;
        std::string stream;
        const char* title;
        uint32_t pages;
    } cases[] = {
        {"summary second", PropertySet({{UserFormatId(), user}, {SummaryFormatId(), summary}}),
         "summary title", 2},
        {"two summary sections",
         PropertySet({{SummaryFormatId(), summary}, {SummaryFormatId(), second}}), "summary title",
         2},
        {"no summary section", PropertySet({{UserFormatId(), user}}), "", 0},
        {"no sections", PropertySet({}), "", 0},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SummaryGroup group = LoadSummary(WriteSummaryFile(dir, "s.stg", c.stream));
        EXPECT_EQ(U8(group.texts[kSummaryTitle].str()), c.title);
        EXPECT_EQ(group.pageCount, c.pages);
    }
}

TEST(SummaryInfo, StreamsThatBreakOff) {
    const std::string good = SummaryStream({{2, Lpstr("title")}, {14, I4(4)}, {4, Lpstr("me")}});
    std::string tableCut = good;
    tableCut[24] = 2;  // a second section record that is not there
    tableCut.resize(48 + 10);
    // Four value entries announced: the third is the value bytes of the first
    // two and the fourth is past the end.
    const std::string valueTableCut = PropertySet(
        {{SummaryFormatId(), U32Bytes(40) + U32Bytes(4) + U32Bytes(14) + U32Bytes(24) +
                                 U32Bytes(15) + U32Bytes(24) + U32Bytes(3) + U32Bytes(7)}});
    const struct {
        const char* name;
        std::string stream;
        const char* title;
        uint32_t pages, words;
        const char* author;
    } cases[] = {
        {"whole", good, "title", 4, 0, "me"},
        {"header cut", good.substr(0, 27), "", 0, 0, ""},
        {"section table cut", tableCut, "", 0, 0, ""},
        {"value table cut", valueTableCut, "", 7, 7, ""},
        // Values past the cut keep their defaults, earlier ones are used.
        {"last value cut", good.substr(0, good.size() - 6), "title", 4, 0, ""},
        {"empty stream", "", "", 0, 0, ""},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SummaryGroup group = LoadSummary(WriteSummaryFile(dir, "b.stg", c.stream));
        EXPECT_EQ(U8(group.texts[kSummaryTitle].str()), c.title);
        EXPECT_EQ(group.pageCount, c.pages);
        EXPECT_EQ(group.wordCount, c.words);
        EXPECT_EQ(U8(group.texts[kSummaryAuthor].str()), c.author);
    }
}

TEST(SummaryInfo, EightyByteStream) {
    const std::string eighty = SummaryStream({{2, Lpstr("Hello")}});
    ASSERT_EQ(eighty.size(), 80u);
    TempDir dir;
    Expected expected;
    expected.texts = {"Hello"};
    ExpectGroup(LoadSummary(WriteSummaryFile(dir, "eighty.stg", eighty)), expected);
}

// A dictionary with a name twice is no reason to lose the properties.
TEST(SummaryInfo, DictionaryWithADuplicateName) {
    const std::string stream = SummaryStream(
        {{0, Dictionary({{2, "Name"}, {3, "name"}})}, {2, Lpstr("kept")}, {15, I4(8)}});
    TempDir dir;
    const SummaryGroup group = LoadSummary(WriteSummaryFile(dir, "d.stg", stream));
    EXPECT_EQ(U8(group.texts[kSummaryTitle].str()), "kept");
    EXPECT_EQ(group.wordCount, 8u);
}

TEST(SummaryInfo, WhatIsNoCompoundFileKeepsTheDefaults) {
    TempDir dir;
    const Expected defaults;
    ExpectGroup(LoadSummary(dir.Write("notes.txt", "Title: not a document\n")), defaults);
    ExpectGroup(LoadSummary(dir.Write("empty.doc", "")), defaults);
    ExpectGroup(LoadSummary(dir.path() / "missing.doc"), defaults);
    // A compound file without a summary stream.
    ExpectGroup(
        LoadSummary(dir.Write("other.stg", testing_cfb::WriteCompoundFile({{u"Contents", "abc"}}))),
        defaults);

    // A directory row: no find data, the path ends in a separator.
    FileRecord record(u"");
    record.Fill(nullptr, PathText(dir.path()), 0, 0);
    const SummaryGroup& group = record.Summary();
    EXPECT_TRUE(record.IsLoaded(RecordGroup::Summary));
    ExpectGroup(group, defaults);
    // A record never filled has no path at all.
    FileRecord empty(u"");
    const SummaryGroup& emptyGroup = empty.Summary();
    EXPECT_TRUE(empty.IsLoaded(RecordGroup::Summary));
    ExpectGroup(emptyGroup, defaults);
}

// Loaded once per row: a second call keeps what the first read, and the
// next row reads afresh (defaults first).
TEST(SummaryInfo, LoadedOncePerRow) {
    TempDir dir;
    const fs::path file =
        WriteSummaryFile(dir, "row.stg", SummaryStream({{2, Lpstr("first")}, {14, I4(3)}}));
    platform::FindData data{};
    std::u16string(u"row.stg").copy(data.cFileName, 259);
    FileRecord record(u"");
    record.Fill(&data, PathText(dir.path()), 0, 0);
    EXPECT_FALSE(record.IsLoaded(RecordGroup::Summary));
    record.Summary();
    EXPECT_TRUE(record.IsLoaded(RecordGroup::Summary));
    EXPECT_EQ(U8(record.Summary().texts[kSummaryTitle].str()), "first");

    WriteSummaryFile(dir, "row.stg", SummaryStream({{2, Lpstr("second")}}));
    EXPECT_EQ(U8(record.Summary().texts[kSummaryTitle].str()), "first");

    record.Reset();
    EXPECT_FALSE(record.IsLoaded(RecordGroup::Summary));
    record.Fill(&data, PathText(dir.path()), 0, 0);
    EXPECT_EQ(U8(record.Summary().texts[kSummaryTitle].str()), "second");
    EXPECT_EQ(record.Summary().pageCount, 0u);

    platform::FindData text{};
    std::u16string(u"plain.txt").copy(text.cFileName, 259);
    dir.Write("plain.txt", "text");
    record.Reset();
    record.Fill(&text, PathText(dir.path()), 0, 0);
    EXPECT_TRUE(record.Summary().texts[kSummaryTitle].isEmpty());
}

// A large file, whose summary lies in sectors far into it.
TEST(SummaryInfo, LargeFile) {
    testing_cfb::WriterOptions options;
    options.fillerSectors = 14000;
    std::string stream = SummaryStream({{2, Lpstr("far away")}, {15, I4(77)}});
    stream.resize(5000, '\0');  // too large for the mini stream
    TempDir dir;
    const SummaryGroup group = LoadSummary(WriteSummaryFile(dir, "large.stg", stream, options));
    EXPECT_EQ(U8(group.texts[kSummaryTitle].str()), "far away");
    EXPECT_EQ(group.wordCount, 77u);
}

}  // namespace
