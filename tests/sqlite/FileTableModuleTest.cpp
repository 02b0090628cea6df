// The SQLite module over the real driver, in-process: the entry points it
// calls (counted through a wrapped table of them), cursors that each hold a
// session, the schema against the driver's fields, and every error path.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "host/CellValue.h"
#include "host/Session.h"
#include "tests/support/TestSupport.h"
#include "tools/sqlite/FileTableModule.h"
#include "tools/sqlite/SqlColumns.h"
#include "values/Calendar.h"

using namespace testing_support;

namespace {

// The driver's entry points, three of them counted on the way through.
host::DriverEntryPoints real;
std::atomic<int> logons{0}, recordReads{0};
std::mutex readFieldsMutex;
std::set<int64_t> readFields;

DbStatus CountLogon(const DbLogonInfo* in, DbLogonInfo** out, void* a, void* b,
                    const char16_t* language, DbLogonRef* logon, ErrorInfo** error) {
    ++logons;
    return real.DbLogonServer(in, out, a, b, language, logon, error);
}

DbStatus CountRecordRead(DbRowsetRef rowset, uint32_t mode, void* unused,
                         const DbReadRequest* request) {
    ++recordReads;
    return real.DbReadRecord(rowset, mode, unused, request);
}

DbStatus CountFieldRead(DbRowsetRef rowset, int64_t id, void* a, void* b, void** value,
                        uint32_t size, uint16_t* isNull, uint32_t* type, uint32_t* reserved) {
    {
        std::lock_guard<std::mutex> lock(readFieldsMutex);
        readFields.insert(id);
    }
    return real.DbReadFieldValue(rowset, id, a, b, value, size, isNull, type, reserved);
}

class SqlModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver_ = OpenDriver();
        ASSERT_TRUE(driver_);
        real = driver_->api();
        counted_ = real;
        counted_.DbLogonServer = CountLogon;
        counted_.DbReadRecord = CountRecordRead;
        counted_.DbReadFieldValue = CountFieldRead;
        logons = recordReads = 0;
        readFields.clear();
        db_ = Open(u"");
    }
    void TearDown() override { sqlite3_close(db_); }

    sqlite3* Open(const std::u16string& language) {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
        EXPECT_EQ(sqlhost::RegisterFileTableModule(db, {counted_, language, nullptr}), SQLITE_OK);
        return db;
    }

    // Every row of `sql`, its values as text ("NULL" for null), joined by |.
    static std::vector<std::string> Rows(sqlite3* db, const std::string& sql,
                                         std::string* error = nullptr) {
        std::vector<std::string> rows;
        sqlite3_stmt* statement = nullptr;
        int status = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
        while (statement != nullptr && (status = sqlite3_step(statement)) == SQLITE_ROW) {
            std::string row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const auto* text = sqlite3_column_text(statement, i);
                row += (i ? "|" : "") +
                       (text ? std::string(reinterpret_cast<const char*>(text)) : "NULL");
            }
            rows.push_back(row);
        }
        const bool failed = status != SQLITE_DONE;
        if (error != nullptr)
            *error = failed ? sqlite3_errmsg(db) : "";
        else
            EXPECT_FALSE(failed) << sql << ": " << sqlite3_errmsg(db);
        sqlite3_finalize(statement);
        return rows;
    }
    std::vector<std::string> Rows(const std::string& sql) { return Rows(db_, sql); }

    // `count` files a0 .. under `dir`, `size` bytes each.
    static void Fill(const TempDir& dir, int count, size_t size = 3) {
        for (int i = 0; i < count; ++i)
            dir.Write("a" + std::to_string(i) + ".txt", std::string(size, 'x'));
    }

    std::unique_ptr<host::DriverLibrary> driver_;
    host::DriverEntryPoints counted_;
    sqlite3* db_ = nullptr;
};

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

TEST_F(SqlModuleTest, OnlyTheColumnsReadAreReadAndLimitEndsTheWalk) {
    TempDir dir;
    Fill(dir, 50);
    EXPECT_EQ(Rows("SELECT count(*) FROM fsdata(" + Quoted(dir.path()) + ")"),
              std::vector<std::string>{"50"});
    EXPECT_EQ(recordReads.load(), 51);  // the last read finds the end
    EXPECT_TRUE(readFields.empty());

    recordReads = 0;
    EXPECT_EQ(Rows("SELECT file_name FROM fsdata(" + Quoted(dir.path()) + ") LIMIT 3").size(), 3u);
    EXPECT_EQ(recordReads.load(), 3);
    EXPECT_EQ(readFields, std::set<int64_t>{5});

    readFields.clear();
    Rows("SELECT acl, summary_author FROM fsdata(" + Quoted(dir.path()) + ") LIMIT 1");
    EXPECT_EQ(readFields, (std::set<int64_t>{36, 51}));
}

TEST_F(SqlModuleTest, EachCursorHasItsOwnSessionSoTwoTreesJoin) {
    TempDir left, right;
    Fill(left, 4, 10);
    right.Write("a1.txt", "12345");
    right.Write("zz.txt", "1");
    const std::string sql = "SELECT l.file_name, l.file_size, r.file_size FROM fsdata(" +
                            Quoted(left.path()) + ") l JOIN fsdata(" + Quoted(right.path()) +
                            ") r ON l.file_name = r.file_name";
    EXPECT_EQ(Rows(sql), std::vector<std::string>{"a1.txt|10|5"});
    EXPECT_GE(logons.load(), 2);
    // The same tree twice: every pair of its files.
    EXPECT_EQ(Rows("SELECT count(*) FROM fsdata(" + Quoted(left.path()) + ") a, fsdata(" +
                   Quoted(left.path()) + ") b"),
              std::vector<std::string>{"16"});
}

TEST_F(SqlModuleTest, ArgumentsAndTheirHiddenColumns) {
    TempDir dir;
    dir.Write("top.doc", "x");
    dir.Write("sub/deep.doc", "x");
    dir.Write("sub/deep.txt", "x");
    std::filesystem::create_directories(dir.path() / "empty");
    const std::string tree = Quoted(dir.path());
    struct Case {
        std::string arguments;
        std::vector<std::string> rows;
    } cases[] = {
        {tree, {"deep.doc", "deep.txt", "top.doc"}},
        {tree + ", '*.doc'", {"deep.doc", "top.doc"}},
        {tree + ", '*.doc', 0", {"top.doc"}},
        {tree + ", NULL, 0", {"top.doc"}},
        {tree + ", '*.txt', -1, 1", {"NULL", "NULL", "deep.txt"}},  // NULL sorts first
    };
    for (const Case& c : cases)
        EXPECT_EQ(Rows("SELECT file_name FROM fsdata(" + c.arguments + ") ORDER BY 1"), c.rows)
            << c.arguments;
    EXPECT_EQ(
        Rows("SELECT DISTINCT dir, mask, levels, empty_dirs FROM fsdata(" + tree + ", '*.doc', 3)"),
        std::vector<std::string>{dir.path().string() + "|*.doc|3|0"});

    // A created table fixes the tree; a call may still override its arguments.
    Rows("CREATE VIRTUAL TABLE docs USING fsdata(dir=" + tree + ", mask='*.doc', levels=\"0\")");
    EXPECT_EQ(Rows("SELECT file_name FROM docs"), std::vector<std::string>{"top.doc"});
    EXPECT_EQ(Rows("SELECT count(*) FROM docs WHERE levels = -1"), std::vector<std::string>{"2"});
}

TEST_F(SqlModuleTest, ErrorsNameTheProblem) {
    TempDir dir;
    const std::string tree = Quoted(dir.path());
    struct Case {
        std::string sql, error;
    } cases[] = {
        {"SELECT * FROM fsdata('/nonexistent/x')", "('/nonexistent/x': No such file or directory)"},
        {"SELECT * FROM fsdata(" + tree + ", 'a/b')",
         "fsdata: mask matches file names in each directory and cannot hold a path separator: "
         "'a/b'"},
        {"SELECT * FROM fsdata(" + tree + ", '*', 'x')",
         "fsdata: levels takes -1 (no limit) or a whole number from 0 to 2147483647, not 'x'"},
        {"SELECT * FROM fsdata(" + tree + ", '*', 2.5)", "not '2.5'"},
        {"SELECT * FROM fsdata(" + tree + ", '*', -2)", "not '-2'"},
        {"SELECT * FROM fsdata(" + tree + ", '*', 1, 2)",
         "fsdata: empty_dirs takes 0 or 1, not '2'"},
        {"SELECT * FROM fsdata('')", "fsdata: dir is empty (. names the current directory)"},
        {"SELECT * FROM fsdata(NULL)", "fsdata: the starting directory is NULL"},
        {"SELECT * FROM fsdata", "fsdata: no starting directory"},
        {"CREATE VIRTUAL TABLE t USING fsdata(dir=/tmp, depth=2)",
         "fsdata: unknown argument 'depth' (the arguments are dir, mask, levels and empty_dirs)"},
        {"CREATE VIRTUAL TABLE t USING fsdata(/tmp)",
         "fsdata: '/tmp' is not of the form name=value"},
        {"CREATE VIRTUAL TABLE t USING fsdata(dir=/tmp, levels=many)", "not 'many'"},
        {"SELECT nonesuch FROM fsdata('/tmp')", "no such column: nonesuch"},
    };
    for (const Case& c : cases) {
        std::string error;
        Rows(db_, c.sql, &error);
        EXPECT_NE(error.find(c.error), std::string::npos) << c.sql << "\n  gave: " << error;
    }
    // The driver's own message comes first.
    std::string error;
    Rows(db_, "SELECT * FROM fsdata('/nonexistent/x')", &error);
    EXPECT_EQ(error.rfind("fsdata: ", 0), 0u) << error;
    EXPECT_GT(error.find("('/nonexistent/x'"), 8u) << error;
}

// Names are identifiers no statement quotes, none twice; each declared type
// is the one the driver's type of that field maps to.
TEST_F(SqlModuleTest, TheSchemaMatchesTheDriversFields) {
    TempDir dir;
    host::Session session(real);
    host::LogonProperties properties(U16(dir.path().string()), u"*.*", 0, false);
    std::string message;
    DbStatus status;
    ASSERT_TRUE(session.LogOn(properties, u"", message, status)) << message;
    ASSERT_TRUE(session.FetchFields());
    ASSERT_EQ(session.fieldCount(), uint32_t(sqlhost::kFieldColumnCount));
    std::set<std::string> names;
    for (uint32_t ordinal = 1; ordinal <= session.fieldCount(); ++ordinal) {
        const sqlhost::SqlColumn& column = sqlhost::kFieldColumns[ordinal - 1];
        EXPECT_STREQ(column.type, sqlhost::SqlTypeOf(session.Field(ordinal)->valueType))
            << column.name;
        EXPECT_EQ(std::string(column.name).find_first_not_of("abcdefghijklmnopqrstuvwxyz_"),
                  std::string::npos)
            << column.name;
        EXPECT_TRUE(names.insert(column.name).second) << column.name;
    }
    for (const char* hidden : sqlhost::kHiddenColumnNames)
        EXPECT_TRUE(names.insert(hidden).second) << hidden;
}

// German logons bind the German field names; the columns keep their names.
TEST_F(SqlModuleTest, ALanguageBindsItsFieldNames) {
    TempDir dir;
    dir.Write("x.txt", "abc");
    sqlite3* german = Open(u"de");
    EXPECT_EQ(Rows(german, "SELECT file_name, file_size, is_read_only FROM fsdata(" +
                               Quoted(dir.path()) + ")"),
              std::vector<std::string>{"x.txt|3|0"});
    sqlite3_close(german);
}

// Date-times are the text SQLite's date functions read back unchanged; a
// value without a date has none.
TEST_F(SqlModuleTest, DateTimesAreTextTheDateFunctionsRead) {
    struct Case {
        int16_t year;
        uint16_t month, day;
        int32_t seconds;  // of the day; -1 for no time
        uint32_t nanoseconds;
        const char* text;
    } cases[] = {
        {2026, 12, 6, 14 * 3600 + 3 * 60 + 59, 250000000, "2026-12-06T14:03:59.250"},
        {1601, 1, 1, 0, 0, "1601-01-01T00:00:00.000"},
        {99, 2, 28, 86399, 999999999, "0099-02-28T23:59:59.999"},
        {2000, 2, 29, -1, 0, "2000-02-29T00:00:00.000"},
    };
    for (const Case& c : cases) {
        const DbDateTime value{MakeDateNumber(c.year, c.month, c.day), c.seconds, c.nanoseconds};
        const std::string text = host::DateTimeText(value);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(Rows("SELECT strftime('%Y-%m-%dT%H:%M:%f', '" + text + "')"),
                  std::vector<std::string>{text});
    }
    EXPECT_EQ(host::DateTimeText(DbDateTime{-1, -1, 0}), "");
}

// Each thread its own connection; the driver serves both at once.
TEST_F(SqlModuleTest, TwoConnectionsOnTwoThreads) {
    TempDir dir;
    Fill(dir, 200);
    const std::string sql =
        "SELECT count(*), sum(file_size), count(acl) FROM fsdata(" + Quoted(dir.path()) + ")";
    std::vector<std::string> results(2);
    std::vector<std::thread> threads;
    for (int i = 0; i < 2; ++i)
        threads.emplace_back([&, i] {
            sqlite3* db = Open(u"");
            for (int round = 0; round < 5; ++round)
                results[i] = Rows(db, sql).at(0);
            sqlite3_close(db);
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(results, std::vector<std::string>(2, "200|600|200"));
}

// Every column of a few thousand rows, for the leak check of the asan build.
TEST_F(SqlModuleTest, EveryColumnOfThousandsOfRows) {
    TempDir dir;
    for (int d = 0; d < 30; ++d)
        for (int i = 0; i < 100; ++i)
            dir.Write("d" + std::to_string(d) + "/f" + std::to_string(i) + ".txt", "z");
    std::string columns;
    for (const sqlhost::SqlColumn& column : sqlhost::kFieldColumns)
        columns += std::string(columns.empty() ? "" : ", ") + "count(" + column.name + ")";
    const std::vector<std::string> rows =
        Rows("SELECT count(*), " + columns + " FROM fsdata(" + Quoted(dir.path()) + ")");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].substr(0, 5), "3000|");
}

}  // namespace
