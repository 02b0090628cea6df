// The cheap fields of a row, from find data made for the case or read from
// real files.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "fileinfo/FileRecord.h"
#include "fileinfo/LocalDateTime.h"
#include "platform/DirectorySearch.h"
#include "platform/PathSplit.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

platform::FindData Entry(const std::u16string& name, uint32_t attributes = 0x20,
                         uint32_t sizeHigh = 0, uint32_t sizeLow = 0) {
    platform::FindData data{};
    data.dwFileAttributes = attributes;
    data.nFileSizeHigh = sizeHigh;
    data.nFileSizeLow = sizeLow;
    name.copy(data.cFileName, 259);
    return data;
}

std::u16string Sep() {
    return std::u16string(1, platform::kPathSeparator);
}

class FileRecordTest : public ::testing::Test {
protected:
    ScopedResources resources_;
};

TEST_F(FileRecordTest, ExtensionAndAttributeString) {
    struct {
        const char16_t* name;
        const char* extension;  // null: absent
        uint32_t attributes;
        const char* letters;
    } const rows[] = {
        {u"README", nullptr, 0x21, "RA"},        {u"archive.tar.gz", "gz", 0x827, "RHSAC"},
        {u".profile", "profile", 0x80, ""},      {u"name.", "", 0x10, ""},
        {u"data.Backup", "Backup", 0x1004, "S"},
    };
    FileRecord record(u"");
    for (const auto& row : rows) {
        platform::FindData data = Entry(row.name, row.attributes);
        record.Reset();
        record.Fill(&data, u"dir", 0, 0);
        const char16_t* extension = record.ExtensionField();
        if (row.extension == nullptr)
            EXPECT_EQ(extension, nullptr) << U8(row.name);
        else
            EXPECT_EQ(U8(extension), row.extension) << U8(row.name);
        EXPECT_EQ(U8(record.AttributeStringField().str()), row.letters) << U8(row.name);
    }
}

TEST_F(FileRecordTest, DirectoryNameAndParent) {
    const std::u16string s = Sep();
    struct {
        std::u16string directory;
        const char* name;
        std::u16string parent;
    } const rows[] = {
        {u"C:" + s + u"Data" + s + u"Sub", "Sub", u"C:" + s + u"Data"},
        {s + s + u"server" + s + u"share", "share", s + s + u"server"},
        {u"plain", "plain", u""},
        {u"C:" + s, "", u"C:"},
    };
    FileRecord record(u"");
    for (const auto& row : rows) {
        record.Fill(nullptr, row.directory, 0, 0);
        EXPECT_EQ(U8(record.DirectoryNameField().str()), row.name) << U8(row.directory);
        EXPECT_EQ(record.ParentDirectoryField().str(), row.parent) << U8(row.directory);
    }
}

TEST_F(FileRecordTest, SizesSaturateAtFourGibibytes) {
    FileRecord record(u"");
    platform::FindData small = Entry(u"a", 0x20, 0, 1234), huge = Entry(u"b", 0x20, 1, 7);
    record.Fill(&small, u"d", 0, 0);
    EXPECT_EQ(record.FileSizeField().value, 1234u);
    EXPECT_FALSE(record.FileSizeField().absent);
    record.Fill(&huge, u"d", 0, 0);
    EXPECT_EQ(record.FileSizeField().value, 4294967295u);
}

TEST_F(FileRecordTest, ComputerIsFetchedOncePerRecord) {
    FileRecord record(u"de");
    EXPECT_EQ(U8(record.ComputerField().str()), "[LOKAL]");
    record.Reset();
    EXPECT_EQ(U8(record.ComputerField().str()), "[LOKAL]");
    EXPECT_EQ(U8(FileRecord(u"").ComputerField().str()), "[LOCAL]");
}

TEST_F(FileRecordTest, FileTypeFallsBackToTheUpperCasedExtension) {
    TempDir dir;
    SetEnvironment("XDG_DATA_HOME", dir.path().string());  // no MIME database there
    SetEnvironment("XDG_DATA_DIRS", dir.path().string());
    FileRecord english(u""), german(u"de");
    platform::FindData backup = Entry(u"data.Backup"), none = Entry(u"README");
    english.Fill(&backup, u"d", 0, 0);
    EXPECT_EQ(U8(english.FileTypeField().str()), "BACKUP File");
    german.Fill(&backup, u"d", 0, 0);
    EXPECT_EQ(U8(german.FileTypeField().str()), "BACKUP-Datei");
    english.Reset();
    english.Fill(&none, u"d", 0, 0);
    EXPECT_EQ(U8(english.FileTypeField().str()), "");
}

TEST_F(FileRecordTest, FileTypeFromTheRegisteredClass) {
    SetClassDefault(u".fsdtxt", u"fsdtxtfile");
    SetClassDefault(u"fsdtxtfile", u"Text Document");
    SetClassDefault(u".fsdempty", u"fsdemptyfile");
    SetClassDefault(u"fsdemptyfile", u"");  // the class itself is missing
    SetClassDefault(u".fsdlost", u"fsdnoclass");
    FileRecord record(u"");
    const struct {
        const char16_t* name;
        const char* type;
    } rows[] = {{u"notes.fsdtxt", "Text Document"},
                {u"NOTES.FSDTXT", "Text Document"},
                {u"a.fsdempty", "FSDEMPTY File"},
                {u"a.fsdlost", "FSDLOST File"},
                {u"a.fsdxyz", "FSDXYZ File"}};
    for (const auto& row : rows) {
        platform::FindData data = Entry(row.name);
        record.Reset();
        record.Fill(&data, u"d", 0, 0);
        EXPECT_EQ(U8(record.FileTypeField().str()), row.type) << U8(row.name);
    }
    for (const char16_t* key : {u".fsdtxt", u"fsdtxtfile", u".fsdempty", u".fsdlost"})
        SetClassDefault(key, u"");
}

// Compressed size and times of a real file, as the platform reports them.
TEST_F(FileRecordTest, CompressedSizeAndTimesOfARealFile) {
    TempDir dir;
    std::ofstream(dir.path() / "five.txt") << "12345";
    platform::FindData data;
    std::u16string fileSpec = dir.folderText() + u"five.txt";
    platform::SearchHandle search = platform::FindFirstEntry(fileSpec, &data);
    ASSERT_NE(search, platform::kInvalidSearch);
    platform::FindCloseSearch(search);

    FileRecord record(u"");
    record.Fill(&data, dir.path().u16string(), 0, 0);
    OptionalValue compressed = record.CompressedSizeField();
    EXPECT_FALSE(compressed.absent);
    // Windows reports the bytes; Linux the allocated blocks.
    if (IsWindowsBuild())
        EXPECT_EQ(compressed.value, 5u);
    else
        EXPECT_EQ(compressed.value % 512, 0u);
    DbDateTime written = record.LastWrittenField();
    EXPECT_GT(written.date, 2460000);  // after 2023
    EXPECT_GE(written.time, 0);
    EXPECT_LT(written.time, 86400);
    EXPECT_EQ(written.nanoseconds % 1000000, 0u);

    fs::remove(dir.path() / "five.txt");
    EXPECT_TRUE(record.CompressedSizeField().absent) << "a file removed since the walk";
}

TEST(LocalDateTime, NullAndUnconvertibleTimes) {
    EXPECT_EQ(LocalDateTimeFromFileTime(nullptr).date, -1);
    platform::FileTime tooLate{0xFFFFFFFF, 0xFFFFFFFF};
    DbDateTime value = LocalDateTimeFromFileTime(&tooLate);
    EXPECT_EQ(value.date, -1);
    EXPECT_EQ(value.time, -1);
    EXPECT_EQ(value.nanoseconds, 0u);
}

}  // namespace
