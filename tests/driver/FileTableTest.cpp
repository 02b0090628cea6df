// The file table end to end, through the host loader as the engine uses it:
// logon, catalog, bind, read, free, log off.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <set>

#include "driver/FieldId.h"
#include "host/LogonProperties.h"
#include "platform/PathSplit.h"
#include "tests/support/TestSupport.h"
#include "tools/fsdata/QueryCommand.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#endif

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// Null on a row without find data: a directory row.
const std::set<FieldId> kFindDataFields = {
    FieldId::FileName,       FieldId::AlternateFileName, FieldId::Extension,
    FieldId::FileSize,       FieldId::CompressedSize,    FieldId::IsArchived,
    FieldId::IsHidden,       FieldId::IsNormal,          FieldId::IsReadOnly,
    FieldId::IsSystemFile,   FieldId::IsCompressed,      FieldId::IsTemporary,
    FieldId::IsOffline,      FieldId::Attributes,        FieldId::EditTime,
    FieldId::PageCount,      FieldId::WordCount,         FieldId::CharacterCount,
    FieldId::SummarySecurity};
// Null while the version resource leaves them undetermined; every other
// field is never null.
const std::set<FieldId> kVersionFlags = {FieldId::IsDebug, FieldId::IsPatched,
                                         FieldId::IsPrerelease, FieldId::IsPrivateBuild,
                                         FieldId::IsSpecialBuild};

class FileTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver_ = OpenDriver();
        ASSERT_TRUE(driver_);
        api().DbInitialize();
        fs::create_directories(tree_.path() / "sub" / "empty");
        std::ofstream(tree_.path() / "sub" / "inner.txt") << "inner";
        std::ofstream(tree_.path() / "top.txt") << "hello";
        start_ = tree_.path().u16string();
    }
    void TearDown() override {
        if (logon_ != nullptr)
            api().DbLogoffServer(logon_);
        api().DbFreeLogonInfo(logonInfo_);
        api().DbTerminate();
    }

    const host::DriverEntryPoints& api() const { return driver_->api(); }

    void LogOn(const char16_t* language = u"", bool includeEmpty = false,
               const std::u16string& mask = u"*.*") {
        host::LogonProperties properties(start_, mask, -1, includeEmpty);
        ErrorInfo* error = nullptr;
        ASSERT_EQ(api().DbLogonServer(properties.info(), &logonInfo_, nullptr, nullptr, language,
                                      &logon_, &error),
                  Status_Success);
    }

    DbRowsetRef Open() {
        DbRowsetRef rowset = nullptr;
        int table = 0;
        EXPECT_EQ(api().DbExecuteQuery(logon_, QueryType_OpenTable, &table, nullptr, nullptr,
                                       nullptr, &rowset),
                  Status_Success);
        return rowset;
    }

    struct Field {
        DbStatus status;
        uint32_t type;
        uint16_t isNull;
        std::vector<uint8_t> bytes;
        std::string text;
    };

    Field Read(DbRowsetRef rowset, int64_t id, uint32_t bufferSize = 512) {
        std::vector<uint8_t> buffer(bufferSize + 16, 0xCC);
        void* value = buffer.data();
        Field field{};
        uint32_t reserved = 99;
        field.status = api().DbReadFieldValue(rowset, id, nullptr, nullptr, &value, bufferSize,
                                              &field.isNull, &field.type, &reserved);
        EXPECT_EQ(reserved, 0u);
        if (field.status == Status_Success) {
            if (field.type == stringValue || field.type == memoValue)
                field.text = U8(static_cast<const char16_t*>(value));
            else
                field.bytes.assign(static_cast<uint8_t*>(value), static_cast<uint8_t*>(value) + 12);
        }
        if (value != buffer.data())
            api().DbFreeFieldValue(value);
        return field;
    }

    Field Read(DbRowsetRef rowset, FieldId id) { return Read(rowset, Ordinal(id)); }

    std::vector<std::string> Names(DbRowsetRef rowset) {
        std::vector<std::string> names;
        while (api().DbReadRecord(rowset, ReadMode_Next, nullptr, nullptr) == Status_Success)
            names.push_back(Read(rowset, FieldId::FileName).text);
        return names;
    }

    std::unique_ptr<host::DriverLibrary> driver_;
    TempDir tree_;
    std::u16string start_;
    DbLogonRef logon_ = nullptr;
    DbLogonInfo* logonInfo_ = nullptr;
};

TEST_F(FileTableTest, CatalogDescribesOneTableNamedAfterTheStartingDirectory) {
    LogOn();
    TableDescription** tables = nullptr;
    uint32_t count = 0;
    ASSERT_EQ(api().DbFetchTableList(logon_, nullptr, nullptr, 0, &tables, &count), 0u);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(tables[0]->name, start_);
    EXPECT_EQ(std::u16string(tables[0]->secondName), start_);
    EXPECT_EQ(tables[0]->tableKind, 1u);
    EXPECT_EQ(tables[0]->structSize, 112u);
    EXPECT_EQ(tables[0]->ownsText56, 1u);
    EXPECT_EQ(tables[0]->properties->count, 0u);
    EXPECT_EQ(api().DbFreeTableList(&count, tables), 0u);

    const std::u16string sep(1, platform::kPathSeparator);
    const struct {
        std::u16string name;
        DbStatus status;
    } names[] = {{start_, 0},
                 {u"<" + start_ + sep + u"File", 0},
                 {start_ + sep + u"File", Status_TableNotFound},
                 {u"", Status_TableNotFound}};
    for (const auto& row : names) {
        TableDescription* table = reinterpret_cast<TableDescription*>(this);
        EXPECT_EQ(api().DbFetchTableInfo(logon_, row.name.c_str(), &table), row.status)
            << U8(row.name);
        if (row.status != 0) {
            EXPECT_EQ(table, nullptr);
        }
        api().DbFreeTableInfo(table);
    }
    TableDescription* table = nullptr;
    EXPECT_EQ(api().DbFetchTableInfo(logon_, nullptr, &table), Status_TableNotFound);
    EXPECT_EQ(api().DbFetchTableInfo(nullptr, start_.c_str(), &table), Status_InvalidArgument);

    // A count of 0 releases the array only.
    uint32_t zero = 0;
    auto** empty = static_cast<TableDescription**>(::operator new(sizeof(TableDescription*)));
    EXPECT_EQ(api().DbFreeTableList(&zero, empty), 0u);
}

TEST_F(FileTableTest, BindingByNameAndOrdinal) {
    LogOn();
    DbRowsetRef rowset = Open();
    constexpr uint32_t kFileName = Ordinal(FieldId::FileName);
    constexpr uint32_t kSummarySecurity = Ordinal(FieldId::SummarySecurity);
    struct {
        uint32_t kind;
        const char16_t* name;
        uint32_t ordinal;
        uint16_t caseSensitive;
        DbStatus status;
        int64_t id;
    } const rows[] = {
        {BindKind_Name, u"file name", 0, 0, 0, kFileName},
        {BindKind_Name, u"file name", 0, 1, Status_FieldNotFound, 0},
        {BindKind_Name, u"File Name", 0, 1, 0, kFileName},
        {BindKind_Name, u"SECURITY (SUMMARY INFO)", 0, 0, 0, kSummarySecurity},
        {BindKind_Name, u"No Such Field", 0, 0, Status_FieldNotFound, 0},
        {BindKind_Name, u"", 0, 0, Status_InvalidArgument, 0},
        {BindKind_Name, nullptr, 0, 0, Status_InvalidArgument, 0},
        {BindKind_Ordinal, nullptr, kSummarySecurity, 0, 0, kSummarySecurity},
        {BindKind_Ordinal, nullptr, 66, 0, Status_FieldNotFound, 0},
        {BindKind_Ordinal, nullptr, 0, 0, Status_FieldNotFound, 0},
        {3, nullptr, kFileName, 0, Status_NotSupported, 0},
    };
    for (const auto& row : rows) {
        BindRequest request{};
        request.kind = row.kind;
        request.name = row.name;
        request.ordinal = row.ordinal;
        request.caseSensitive = row.caseSensitive;
        int64_t id = -7;
        EXPECT_EQ(api().DbBindToField(rowset, &request, &id), row.status) << U8(row.name);
        EXPECT_EQ(id, row.id) << U8(row.name);
    }
    int64_t id = 0;
    EXPECT_EQ(api().DbBindToField(rowset, nullptr, &id), Status_InvalidArgument);
    EXPECT_EQ(api().DbBindToField(nullptr, nullptr, &id), Status_InvalidArgument);
    api().DbCloseRowset(rowset);
}

TEST_F(FileTableTest, RowsComeInWalkOrderAndStartOver) {
    LogOn();
    DbRowsetRef rowset = Open();
    EXPECT_EQ(Names(rowset), (std::vector<std::string>{"inner.txt", "top.txt"}));
    EXPECT_EQ(api().DbReadRecord(rowset, ReadMode_Next, nullptr, nullptr), Status_NoMoreRecords);
    DbReadRequest keep{0, 1}, restart{0, 0};
    EXPECT_EQ(api().DbReadRecord(rowset, ReadMode_Position, nullptr, &keep), Status_NoMoreRecords);
    EXPECT_EQ(api().DbReadRecord(rowset, ReadMode_Position, nullptr, &restart), Status_Success);
    EXPECT_EQ(Read(rowset, FieldId::FileName).text, "inner.txt");
    EXPECT_EQ(api().DbReadRecord(rowset, 7, nullptr, nullptr), Status_NotSupported);
    EXPECT_EQ(api().DbReadRecord(nullptr, ReadMode_Next, nullptr, nullptr), Status_InvalidArgument);
    api().DbCloseRowset(rowset);
}

TEST_F(FileTableTest, TextProtocol) {
    LogOn();
    DbRowsetRef rowset = Open();
    ASSERT_EQ(api().DbReadRecord(rowset, ReadMode_Next, nullptr, nullptr), 0u);
    // "inner.txt" needs 20 bytes: exactly that fits the engine's buffer.
    std::vector<uint8_t> buffer(20, 0xCC);
    void* value = buffer.data();
    uint16_t isNull = 9;
    uint32_t type = 0, reserved = 0;
    ASSERT_EQ(api().DbReadFieldValue(rowset, Ordinal(FieldId::FileName), nullptr, nullptr, &value,
                                     20, &isNull, &type, &reserved),
              0u);
    EXPECT_EQ(value, buffer.data());
    EXPECT_EQ(U8(static_cast<char16_t*>(value)), "inner.txt");
    // One byte less: the driver hands out a block of its own.
    ASSERT_EQ(api().DbReadFieldValue(rowset, Ordinal(FieldId::FileName), nullptr, nullptr, &value,
                                     19, &isNull, &type, &reserved),
              0u);
    EXPECT_NE(value, buffer.data());
    EXPECT_EQ(U8(static_cast<char16_t*>(value)), "inner.txt");
    EXPECT_EQ(buffer[0], 'i') << "the engine's buffer is untouched";
    api().DbFreeFieldValue(value);
    api().DbCloseRowset(rowset);
}

TEST_F(FileTableTest, FieldIdentifiersOutsideTheTable) {
    LogOn();
    DbRowsetRef rowset = Open();
    for (int64_t id : {int64_t{0}, int64_t{66}, int64_t{-1}, INT64_MAX}) {
        Field field = Read(rowset, id);
        EXPECT_EQ(field.status, Status_FieldNotFound) << id;
        EXPECT_EQ(field.type, unknownValue);
        EXPECT_EQ(field.isNull, 0u);
    }
    uint16_t isNull = 5;
    uint32_t type = 5, reserved = 5;
    EXPECT_EQ(api().DbReadFieldValue(nullptr, Ordinal(FieldId::Computer), nullptr, nullptr, nullptr,
                                     0, &isNull, &type, &reserved),
              Status_InvalidArgument);
    EXPECT_EQ(type, unknownValue);
    EXPECT_EQ(isNull, 0u);
    api().DbCloseRowset(rowset);
}

// Every field of a text file's row, in its declared type, and of a directory
// row, with the null flags the table promises.
TEST_F(FileTableTest, EveryFieldOfAFileRowAndADirectoryRow) {
    LogOn(u"", true, u"*.txt");
    DbRowsetRef rowset = Open();
    uint32_t count = 0;
    FieldDescription** fields = nullptr;
    ASSERT_EQ(api().DbFetchTableFields(logon_, nullptr, nullptr, nullptr, nullptr, &count, &fields),
              0u);
    std::map<std::string, int> seen;
    while (api().DbReadRecord(rowset, ReadMode_Next, nullptr, nullptr) == Status_Success) {
        Field name = Read(rowset, FieldId::FileName);
        const bool directoryRow = name.isNull != 0;
        seen[directoryRow ? "<dir>" : name.text]++;
        for (uint32_t index = 0; index < kFileTableFieldCount; ++index) {
            const FieldId fieldId = FieldAtIndex(index);
            const uint32_t id = Ordinal(fieldId);
            Field field = Read(rowset, fieldId);
            ASSERT_EQ(field.status, 0u) << id;
            EXPECT_EQ(field.type, fields[index]->valueType) << id;
            const bool findDataField = kFindDataFields.count(fieldId) != 0;
            const bool neverNull = !findDataField && kVersionFlags.count(fieldId) == 0;
            if (directoryRow && findDataField) {
                EXPECT_EQ(field.isNull, 1u) << id;
            }
            if (neverNull) {
                EXPECT_EQ(field.isNull, 0u) << id;
            }
        }
        if (directoryRow) {
            EXPECT_EQ(Read(rowset, FieldId::FileName).text, "");
            uint16_t hidden;
            Field isHidden = Read(rowset, FieldId::IsHidden);
            std::memcpy(&hidden, isHidden.bytes.data(), 2);
            EXPECT_EQ(hidden, 0u);
            uint32_t attributes;
            std::memcpy(&attributes, Read(rowset, FieldId::Attributes).bytes.data(), 4);
            EXPECT_EQ(attributes, 0u);
            EXPECT_FALSE(Read(rowset, FieldId::Directory).text.empty());
        } else {
            uint32_t size;
            std::memcpy(&size, Read(rowset, FieldId::FileSize).bytes.data(), 4);
            EXPECT_EQ(size, 5u);
            EXPECT_EQ(Read(rowset, FieldId::SummaryComments).type, memoValue);
        }
    }
    EXPECT_EQ(seen, (std::map<std::string, int>{{"<dir>", 1}, {"inner.txt", 1}, {"top.txt", 1}}));
    uint32_t level;
    std::memcpy(&level, Read(rowset, FieldId::RelativeLevel).bytes.data(), 4);
    EXPECT_EQ(level, 0u) << "a cleared record after the last row";
    api().DbFreeFieldList(count, fields);
    api().DbCloseRowset(rowset);
}

TEST_F(FileTableTest, QueryOfAnotherTypeWithCommandTextOpensTheTable) {
    LogOn();
    DbRowsetRef rowset = nullptr;
    int table = 0;
    ASSERT_EQ(api().DbExecuteQuery(logon_, 3, &table, nullptr, u"SELECT *", nullptr, &rowset), 0u);
    EXPECT_EQ(Names(rowset).size(), 2u);
    api().DbCloseRowset(rowset);
    EXPECT_EQ(api().DbExecuteQuery(logon_, 5, nullptr, nullptr, nullptr, nullptr, &rowset),
              Status_InvalidArgument);
    EXPECT_EQ(api().DbExecuteQuery(nullptr, 5, &table, nullptr, nullptr, nullptr, &rowset),
              Status_InvalidArgument);
    EXPECT_EQ(api().DbCloseRowset(nullptr), 0u);
}

// `fsdata query` over a tree of fixed names, sizes and times, against its
// golden file; the fields shown do not depend on the machine. Times are
// local: the native build reads them in UTC.
TEST(QueryGolden, RowsOfAFixedTree) {
    if (IsWindowsBuild())
        GTEST_SKIP() << "Wine's time zone is the one the process started with";
#ifndef _WIN32
    SetEnvironment("TZ", "UTC");
    tzset();
#endif
    TempDir tree;
    fs::create_directories(tree.path() / "docs" / "empty");
    fs::create_directories(tree.path() / "Data" / "deep");
    const std::pair<const char*, size_t> files[] = {
        {"readme.TXT", 10}, {"docs/a.txt", 0},      {"docs/Notes.md", 300},
        {"Data/b.csv", 42}, {"Data/deep/c.bin", 7}, {"z.log", 1},
    };
    for (const auto& [name, size] : files)
        std::ofstream(tree.path() / name, std::ios::binary) << std::string(size, 'x');
#ifndef _WIN32
    // 2024-05-06 07:08:09 UTC on every entry.
    const timespec times[2] = {{1714979289, 0}, {1714979289, 0}};
    for (auto it = fs::recursive_directory_iterator(tree.path()); it != fs::end(it); ++it)
        ASSERT_EQ(utimensat(AT_FDCWD, it->path().c_str(), times, 0), 0);
#endif
    std::string fields;
    for (FieldId id : {FieldId::FileName, FieldId::Extension, FieldId::FileSize,
                       FieldId::LastWritten, FieldId::RelativeLevel, FieldId::IsHidden})
        fields += (fields.empty() ? "" : ",") + std::to_string(Ordinal(id));
    auto driver = OpenDriver();
    ASSERT_TRUE(driver);
    fsdata::CommandLine line;
    std::string error;
    ASSERT_TRUE(fsdata::ParseCommandLine(
        {"query", tree.path().u8string(), "--empty-dirs", "--fields", fields, "--format", "jsonl"},
        line, error))
        << error;
    testing::internal::CaptureStdout();
    fsdata::Output out(stdout);
    EXPECT_EQ(fsdata::RunQuery(*driver, line, out), fsdata::kExitSuccess);
    EXPECT_TRUE(out.Flush());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              ReadWholeFile(fs::path(FSDATA_SOURCE_DIR) / "tests/driver/golden/query.jsonl"));
}

}  // namespace
