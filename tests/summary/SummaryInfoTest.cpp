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
#include "tests/summary/SummaryTestSupport.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/TestSupport.h"
#include "values/Calendar.h"

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

const uint64_t kPrinted = 132224078450000000;  // 2020-01-02 03:04:05 UTC
const uint64_t kCreated = 132223103990000000;  // 2019-12-31 23:59:59 UTC
const uint64_t kSaved = 132682320005000000;    // 2021-06-15 12:00:00.500 UTC

// The files Wine's property-set storage wrote, against what it reads back
// (storage_props.tsv). Where the builds' reader departs from Wine's: a
// type-30 text in a Unicode (1200) set is UTF-16, and the code page is not
// consulted, so it ends at the first NUL byte (Wine gives half the text);
// bytes of code page 1252 read as such on both builds.
std::string Cp1252(const std::string& bytes) {
    std::u16string text;
    for (unsigned char c : bytes)
        text += c == 0x80 ? u'\u20AC' : static_cast<char16_t>(c);
    return U8(text);
}

TEST(SummaryInfo, FilesWrittenByWine) {
    const testing_support::ReferenceTable table =
        testing_support::ReferenceTable::Load("storage_props.tsv");
    std::string file, codePage;
    Expected expected;
    auto check = [&] {
        if (!file.empty())
            ExpectGroup(LoadSummary(DataFile(file + ".stg")), expected);
    };
    for (const auto& row : table.rows()) {
        if (table.Field(row, "file") != file) {
            check();
            file = table.Field(row, "file");
            expected = Expected{};
            expected.texts.resize(8);
        }
        SCOPED_TRACE(row.name);
        const std::string id = table.Field(row, "propid");
        const std::string value = table.Field(row, "value_as_read_back");
        const std::string type = value.substr(0, value.find(' '));
        const std::string data = value.substr(value.find(' ') + 1);
        if (id == "-")
            continue;
        const int identifier = std::stoi(id);
        if (identifier == 1)
            codePage = data;
        std::string text;
        if (type == "VT_LPSTR" || type == "VT_LPWSTR") {
            text = testing_support::Unquoted(data);
            text = type == "VT_LPWSTR"  ? text
                   : codePage == "1200" ? text.substr(0, 1)
                                        : Cp1252(text);
        }
        const uint64_t number = text.empty() && type != "VT_I2" ? std::stoull(data) : 0;
        if (identifier >= 2 && identifier <= 9)
            expected.texts[identifier - 2] = text;
        const uint32_t count = static_cast<uint32_t>(number);
        switch (identifier) {
            case 10:
                expected.editTime = static_cast<uint32_t>(number / 600000000);
                break;
            case 11:
                expected.lastPrinted = number;
                break;
            case 12:
                expected.created = number;
                break;
            case 13:
                expected.lastSaved = number;
                break;
            case 14:
                expected.pages = count;
                break;
            case 15:
                expected.words = count;
                break;
            case 16:
                expected.characters = count;
                break;
            case 19:
                expected.security = count;
                break;
        }
        if (identifier == 18)
            expected.application = text;
    }
    check();
}

// Files written through StgCreateDocfile and IPropertySetStorage on
// Windows; Edit Time counts whole minutes, truncated.
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

TEST(SummaryInfo, WhatIsNoCompoundFileKeepsTheDefaults) {
    TempDir dir;
    const Expected defaults;
    ExpectGroup(LoadSummary(dir.Write("notes.txt", "Title: not a document\n")), defaults);
    ExpectGroup(LoadSummary(dir.Write("empty.doc", "")), defaults);
    ExpectGroup(LoadSummary(dir.path() / "missing.doc"), defaults);
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

}  // namespace
