// The cheap fields of a row, from find data made for the case or read from
// real files.
#include <gtest/gtest.h>

#include <algorithm>

#include "fileinfo/FileRecord.h"
#include "fileinfo/LocalDateTime.h"
#include "platform/DirectorySearch.h"
#include "platform/PathSplit.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

// A path written with "/" for the platform's separator.
std::u16string Native(const std::string& path) {
    std::u16string native = U16(path);
    std::replace(native.begin(), native.end(), u'/', platform::kPathSeparator);
    return native;
}

TEST(FileRecord, FieldsOfFindData) {
    ScopedResources resources;
    TempDir empty;
    SetEnvironment("XDG_DATA_HOME",
                   empty.path().string());  // no MIME database there
    SetEnvironment("XDG_DATA_DIRS", empty.path().string());
    SetClassDefault(u".fsdtxt", u"fsdtxtfile");
    SetClassDefault(u"fsdtxtfile", u"Text Document");
    SetClassDefault(u".fsdempty", u"fsdemptyfile");
    SetClassDefault(u"fsdemptyfile", u"");  // the class itself is missing
    SetClassDefault(u".fsdlost", u"fsdnoclass");
    const ReferenceTable table = ReferenceTable::LoadCases("fileinfo/records.tsv");
    FileRecord record(u"");
    for (const ReferenceTable::Row& row : table.rows()) {
        SCOPED_TRACE(row.name);
        platform::FindData data{};
        data.dwFileAttributes = std::stoul(table.Field(row, "attributes"), nullptr, 16);
        data.nFileSizeHigh = std::stoul(table.Field(row, "size high"));
        data.nFileSizeLow = std::stoul(table.Field(row, "size low"));
        U16(table.Field(row, "name")).copy(data.cFileName, 259);
        record.Reset();
        record.Fill(&data, Native(table.Field(row, "directory")), 0, 0);
        EXPECT_EQ(U8(record.DirectoryNameField().str()), table.Field(row, "directory name"));
        EXPECT_EQ(record.ParentDirectoryField().str(), Native(table.Field(row, "parent")));
        const char16_t* extension = record.ExtensionField();
        EXPECT_EQ(extension ? U8(extension) : "(none)", table.Field(row, "extension"));
        EXPECT_EQ(U8(record.AttributeStringField().str()), table.Field(row, "letters"));
        EXPECT_EQ(std::to_string(record.FileSizeField().value), table.Field(row, "size"));
        if (table.Field(row, "file type") != "-") {
            EXPECT_EQ(U8(record.FileTypeField().str()), table.Field(row, "file type"));
        }
    }
    for (const char16_t* key : {u".fsdtxt", u"fsdtxtfile", u".fsdempty", u".fsdlost"})
        SetClassDefault(key, u"");

    FileRecord german(u"de");
    platform::FindData backup{};
    std::u16string(u"data.Backup").copy(backup.cFileName, 259);
    german.Fill(&backup, u"d", 0, 0);
    EXPECT_EQ(U8(german.FileTypeField().str()), "BACKUP-Datei");
    EXPECT_EQ(U8(german.ComputerField().str()), "[LOKAL]");
    EXPECT_EQ(U8(record.ComputerField().str()), "[LOCAL]");
}

// Compressed size and times of a real file, as the platform reports them.
TEST(FileRecord, CompressedSizeAndTimesOfARealFile) {
    TempDir dir;
    dir.Write("five.txt", "12345");
    platform::FindData data;
    platform::SearchHandle search = platform::FindFirstEntry(dir.folderText() + u"five.txt", &data);
    ASSERT_NE(search, platform::kInvalidSearch);
    platform::FindCloseSearch(search);
    FileRecord record(u"");
    record.Fill(&data, dir.path().u16string(), 0, 0);
    // Windows reports the bytes; Linux the allocated blocks.
    const OptionalValue compressed = record.CompressedSizeField();
    EXPECT_FALSE(compressed.absent);
    EXPECT_EQ(IsWindowsBuild() ? compressed.value : compressed.value % 512,
              IsWindowsBuild() ? 5u : 0u);
    const DbDateTime written = record.LastWrittenField();
    EXPECT_GT(written.date, 2460000);  // after 2023
    EXPECT_TRUE(written.time >= 0 && written.time < 86400) << written.time;
    EXPECT_EQ(written.nanoseconds % 1000000, 0u);
    std::filesystem::remove(dir.path() / "five.txt");
    // Windows asks the system when the field is read; Linux keeps what the
    // walk's one statx learnt, and asks only without it.
    EXPECT_EQ(record.CompressedSizeField().absent, IsWindowsBuild())
        << "a file removed since the walk";
    data.dwReserved0 = data.dwReserved1 = 0;
    EXPECT_TRUE(record.CompressedSizeField().absent) << "and not described by a search";

    EXPECT_EQ(LocalDateTimeFromFileTime(nullptr).date, -1);
    platform::FileTime tooLate{0xFFFFFFFF, 0xFFFFFFFF};
    const DbDateTime none = LocalDateTimeFromFileTime(&tooLate);
    EXPECT_EQ(none.date, -1);
    EXPECT_EQ(none.time, -1);
}

}  // namespace
