// The file table end to end, through the host loader as the engine uses it:
// logon, catalog, bind, read, free, log off.
#include <ctime>

#include "driver/FieldId.h"
#include "host/LogonProperties.h"
#include "platform/PathSplit.h"
#include "tests/driver/DriverCase.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#endif

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

constexpr int64_t kFileName = Ordinal(FieldId::FileName);

class FileTableTest : public DriverCase {
protected:
    void SetUp() override {
        DriverCase::SetUp();
        fs::create_directories(tree_.path() / "sub" / "empty");
        tree_.Write("sub/inner.txt", "inner");
        tree_.Write("top.txt", "hello");
        host::LogonProperties properties(start_, u"*.*", -1, true);
        ASSERT_EQ(api().DbLogonServer(properties.info(), &logonInfo_, nullptr, nullptr, u"",
                                      &logon_, nullptr),
                  Status_Success);
        int table = 0;
        ASSERT_EQ(api().DbExecuteQuery(logon_, QueryType_OpenTable, &table, nullptr, nullptr,
                                       nullptr, &rowset_),
                  Status_Success);
    }
    void TearDown() override {
        api().DbCloseRowset(rowset_);
        api().DbLogoffServer(logon_);
        api().DbFreeLogonInfo(logonInfo_);
        DriverCase::TearDown();
    }

    struct Field {
        DbStatus status;
        uint32_t type;
        uint16_t isNull;
        std::string text;
        bool ownBlock;  // the driver's, not the engine's buffer
    };

    Field Read(int64_t id, uint32_t bufferSize = 512) {
        std::vector<uint8_t> buffer(bufferSize, 0xCC);
        void* value = buffer.data();
        Field field{};
        uint32_t reserved = 99;
        field.status = api().DbReadFieldValue(rowset_, id, nullptr, nullptr, &value, bufferSize,
                                              &field.isNull, &field.type, &reserved);
        EXPECT_EQ(reserved, 0u);
        if (field.status == Status_Success &&
            (field.type == stringValue || field.type == memoValue))
            field.text = U8(static_cast<const char16_t*>(value));
        field.ownBlock = value != buffer.data();
        if (field.ownBlock)
            api().DbFreeFieldValue(value);
        return field;
    }

    // The file names of the rows left; a directory row's is "<dir>".
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        while (api().DbReadRecord(rowset_, ReadMode_Next, nullptr, nullptr) == Status_Success)
            names.push_back(Read(kFileName).isNull ? "<dir>" : Read(kFileName).text);
        return names;
    }

    TempDir tree_;
    const std::u16string start_ = tree_.path().u16string();
    DbLogonRef logon_ = nullptr;
    DbLogonInfo* logonInfo_ = nullptr;
    DbRowsetRef rowset_ = nullptr;
};

#ifndef _WIN32
// Reading every field opens each file (version, summary) but leaves its
// last-access time as it was: the next report's Last Accessed stays true.
TEST_F(FileTableTest, ReadingEveryFieldLeavesAccessTimesAlone) {
    const fs::path files[] = {tree_.path() / "top.txt", tree_.path() / "sub" / "inner.txt"};
    const timespec year2000[2] = {{946684800, 0}, {0, UTIME_OMIT}};
    const auto accessed = [](const fs::path& file) {
        struct stat info {};
        stat(file.c_str(), &info);
        return info.st_atim.tv_sec;
    };
    ASSERT_EQ(utimensat(AT_FDCWD, files[0].c_str(), year2000, 0), 0);
    ReadWholeFile(files[0]);
    if (accessed(files[0]) == 946684800)
        GTEST_SKIP() << "this file system keeps no access times";
    for (const fs::path& file : files)
        ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), year2000, 0), 0);
    while (api().DbReadRecord(rowset_, ReadMode_Next, nullptr, nullptr) == Status_Success)
        for (uint32_t ordinal = 1; ordinal <= kFileTableFieldCount; ++ordinal)
            Read(ordinal);
    for (const fs::path& file : files)
        EXPECT_EQ(accessed(file), 946684800) << file;
}
#endif

TEST_F(FileTableTest, CatalogDescribesOneTableNamedAfterTheStartingDirectory) {
    TableDescription** tables = nullptr;
    uint32_t count = 0;
    ASSERT_EQ(api().DbFetchTableList(logon_, nullptr, nullptr, 0, &tables, &count), 0u);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(tables[0]->name, start_);
    EXPECT_EQ(std::u16string(tables[0]->secondName), start_);
    EXPECT_EQ(api().DbFreeTableList(&count, tables), 0u);

    // The table's name, or "<", the name, a separator and anything after.
    const std::u16string sep(1, platform::kPathSeparator);
    for (const std::u16string& name :
         {start_, u"<" + start_ + sep + u"File", start_ + sep + u"File", std::u16string()}) {
        const bool known = name == start_ || name[0] == u'<';
        TableDescription* table = reinterpret_cast<TableDescription*>(this);
        EXPECT_EQ(api().DbFetchTableInfo(logon_, name.c_str(), &table),
                  known ? Status_Success : Status_TableNotFound)
            << U8(name);
        EXPECT_EQ(table != nullptr, known) << U8(name);
        api().DbFreeTableInfo(table);
    }
    TableDescription* table = nullptr;
    EXPECT_EQ(api().DbFetchTableInfo(logon_, nullptr, &table), Status_TableNotFound);
    EXPECT_EQ(api().DbFetchTableInfo(nullptr, start_.c_str(), &table), Status_InvalidArgument);
}

TEST_F(FileTableTest, BindingByNameAndOrdinal) {
    const ReferenceTable table = ReferenceTable::LoadCases("driver/bind.tsv");
    for (const ReferenceTable::Row& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const std::u16string name = U16(table.Field(row, "name"));
        BindRequest request{};
        request.kind = std::stoul(table.Field(row, "kind"));
        request.name = name == u"(null)" ? nullptr : name.c_str();
        request.ordinal = std::stoul(table.Field(row, "ordinal"));
        request.caseSensitive = table.Field(row, "case sensitive") == "1";
        int64_t id = -7;
        EXPECT_EQ(api().DbBindToField(rowset_, &request, &id),
                  std::stoul(table.Field(row, "status")));
        EXPECT_EQ(id, std::stoll(table.Field(row, "id")));
    }
    int64_t id = 0;
    EXPECT_EQ(api().DbBindToField(rowset_, nullptr, &id), Status_InvalidArgument);
    EXPECT_EQ(api().DbBindToField(nullptr, nullptr, &id), Status_InvalidArgument);
}

TEST_F(FileTableTest, RowsComeInWalkOrderAndStartOver) {
    EXPECT_EQ(Names(), (std::vector<std::string>{"<dir>", "inner.txt", "top.txt"}));
    EXPECT_EQ(api().DbReadRecord(rowset_, ReadMode_Next, nullptr, nullptr), Status_NoMoreRecords);
    DbReadRequest keep{0, 1}, restart{0, 0};
    EXPECT_EQ(api().DbReadRecord(rowset_, ReadMode_Position, nullptr, &keep), Status_NoMoreRecords);
    EXPECT_EQ(api().DbReadRecord(rowset_, ReadMode_Position, nullptr, &restart), Status_Success);
    EXPECT_EQ(Names(), (std::vector<std::string>{"inner.txt", "top.txt"}));
    EXPECT_EQ(api().DbReadRecord(rowset_, 7, nullptr, nullptr), Status_NotSupported);
    EXPECT_EQ(api().DbReadRecord(nullptr, ReadMode_Next, nullptr, nullptr), Status_InvalidArgument);
    // Another query type with a command text opens the table all the same.
    DbRowsetRef other = nullptr;
    int table = 0;
    ASSERT_EQ(api().DbExecuteQuery(logon_, 3, &table, nullptr, u"SELECT *", nullptr, &other), 0u);
    std::swap(other, rowset_);
    EXPECT_EQ(Names().size(), 3u);
    std::swap(other, rowset_);
    api().DbCloseRowset(other);
    EXPECT_EQ(api().DbExecuteQuery(logon_, 5, nullptr, nullptr, nullptr, nullptr, &other),
              Status_InvalidArgument);
    EXPECT_EQ(api().DbExecuteQuery(nullptr, 5, &table, nullptr, nullptr, nullptr, &other),
              Status_InvalidArgument);
}

// A text that fits the engine's buffer exactly goes there; one byte less and
// the driver hands out a block of its own.
TEST_F(FileTableTest, TextProtocolAndUnknownFields) {
    ASSERT_EQ(api().DbReadRecord(rowset_, ReadMode_Next, nullptr, nullptr), 0u);
    ASSERT_EQ(api().DbReadRecord(rowset_, ReadMode_Next, nullptr, nullptr), 0u);
    for (uint32_t size : {20u, 19u}) {  // "inner.txt" and its NUL need 20 bytes
        const Field field = Read(kFileName, size);
        EXPECT_EQ(field.text, "inner.txt");
        EXPECT_EQ(field.ownBlock, size < 20) << size;
    }
    for (int64_t id : {int64_t{0}, int64_t{66}, int64_t{-1}, INT64_MAX}) {
        const Field field = Read(id);
        EXPECT_EQ(field.status, Status_FieldNotFound) << id;
        EXPECT_EQ(field.type, unknownValue);
        EXPECT_EQ(field.isNull, 0u);
    }
    uint16_t isNull = 5;
    uint32_t type = 5, reserved = 5;
    EXPECT_EQ(
        api().DbReadFieldValue(nullptr, 1, nullptr, nullptr, nullptr, 0, &isNull, &type, &reserved),
        Status_InvalidArgument);
    EXPECT_EQ(type + isNull, unknownValue);
}

// `fsdata fields`: every field's name in either language (each its own, as
// binding by name takes the first that matches), type and length.
TEST_F(FileTableTest, FieldsAsFsdataListsThem) {
    for (const std::string language : {"en", "de"})
        ExpectPrinted({"fields", "--lang", language, "--format", "csv"},
                      "fields-" + language + ".csv");
}

// `fsdata query` over a tree of fixed names, sizes and times, against its
// golden file; the fields shown do not depend on the machine. Times are
// local: the native build reads them in UTC.
TEST_F(FileTableTest, QueryOfAFixedTree) {
#ifdef _WIN32
    GTEST_SKIP() << "Wine's time zone is the one the process started with";
#else
    SetEnvironment("TZ", "UTC");
    tzset();
    TempDir tree;
    fs::create_directories(tree.path() / "docs" / "empty");
    fs::create_directories(tree.path() / "Data" / "deep");
    const std::pair<const char*, size_t> files[] = {
        {"readme.TXT", 10}, {"docs/a.txt", 0},      {"docs/Notes.md", 300},
        {"Data/b.csv", 42}, {"Data/deep/c.bin", 7}, {"z.log", 1},
    };
    for (const auto& [name, size] : files)
        tree.Write(name, std::string(size, 'x'));
    // 2024-05-06 07:08:09 UTC on every entry.
    const timespec times[2] = {{1714979289, 0}, {1714979289, 0}};
    for (auto it = fs::recursive_directory_iterator(tree.path()); it != fs::end(it); ++it)
        ASSERT_EQ(utimensat(AT_FDCWD, it->path().c_str(), times, 0), 0);
    ExpectPrinted(
        {"query", tree.path().u8string(), "--empty-dirs", "--fields",
         "File Name,Extension,File Size,Last Written,Directory Level (Relative),Is Hidden",
         "--format", "jsonl"},
        "query.jsonl");
#endif
}

}  // namespace
