#include "tools/fsdata/SqlCommand.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/TextEncoding.h"
#include "tools/fsdata/Progress.h"
#include "tools/fsdata/RowWriter.h"
#include "tools/fsdata/Usage.h"
#include "tools/sqlite/FileTableModule.h"

namespace fsdata {
namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

int ReportSqlError(const std::string& message) {
    const bool ours = message.compare(0, 8, "fsdata: ") == 0;
    std::fprintf(stderr, "%s%s\n", ours ? "" : "fsdata: ", message.c_str());
    return kExitFailure;
}

std::string Hex(const void* data, int size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (int i = 0; i < size; ++i) {
        const unsigned byte = static_cast<const unsigned char*>(data)[i];
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

// Reads a result value as the writers take it: integers and reals are numbers (a
// real as SQLite writes it), texts keep their bytes, blobs show as hex.
void ReadResult(sqlite3_stmt* statement, int column, CellValue& cell) {
    cell.isNull = false;
    cell.inBytes = false;
    // The type first: reading a value as another type converts it.
    const int type = sqlite3_column_type(statement, column);
    switch (type) {
        case SQLITE_INTEGER:
            cell.type = int64sValue;
            cell.number = sqlite3_column_int64(statement, column);
            break;
        case SQLITE_FLOAT:
        case SQLITE_TEXT: {
            const auto* text =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            cell.type = type == SQLITE_TEXT ? stringValue : numberValue;
            cell.bytes.assign(text, static_cast<size_t>(sqlite3_column_bytes(statement, column)));
            cell.inBytes = true;
            break;
        }
        case SQLITE_BLOB: {
            const void* blob = sqlite3_column_blob(statement, column);
            cell.type = blobValue;
            cell.bytes = Hex(blob, sqlite3_column_bytes(statement, column));
            cell.inBytes = true;
            break;
        }
        default:
            cell.isNull = true;
    }
}

bool OnlySpaceOrSemicolons(const char* text) {
    for (; *text != 0; ++text)
        if (std::string(" \t\r\n;").find(*text) == std::string::npos)
            return false;
    return true;
}

// Steps through the rows into the writer; false with SQLite's message.
bool WriteRows(sqlite3_stmt* statement, RowWriter& writer, Output& out, long& rows) {
    const int count = sqlite3_column_count(statement);
    std::vector<Column> columns;
    for (int i = 0; i < count; ++i)
        columns.push_back({sqlite3_column_name(statement, i)});
    if (count > 0)
        writer.Header(columns);
    Progress progress;
    std::vector<CellValue> cells(static_cast<size_t>(count));
    int status;
    while (!out.failed() && (status = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int i = 0; i < count; ++i)
            ReadResult(statement, i, cells[static_cast<size_t>(i)]);
        writer.Row(cells);
        progress.CountRow();
        ++rows;
    }
    if (out.failed())
        return true;
    if (status != SQLITE_DONE)
        return false;
    if (count > 0)
        writer.Finish();
    return true;
}

}  // namespace

int RunSql(const host::DriverLibrary& driver, const CommandLine& line, Output& out) {
    const std::string format = line.Get("--format", "table");
    auto writer = MakeRowWriter(format, out);
    if (!writer)
        return ReportUsageError("--format is table, csv or jsonl, not '" + format + "'", "sql");
    if (line.positional.empty())
        return ReportUsageError("no statement given", "sql");
    sqlite3* opened = nullptr;
    // One thread uses the database: no locking on every call.
    const int status =
        sqlite3_open_v2(":memory:", &opened,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<sqlite3, CloseDatabase> db(opened);
    if (status != SQLITE_OK ||
        sqlhost::RegisterFileTableModule(
            db.get(), {driver.api(), platform::Utf8ToUtf16(line.Get("--lang")), nullptr}) !=
            SQLITE_OK)
        return ReportSqlError(opened ? sqlite3_errmsg(opened) : "SQLite cannot start");
    sqlite3_stmt* prepared = nullptr;
    const char* tail = nullptr;
    const int prepareStatus =
        sqlite3_prepare_v2(db.get(), line.positional[0].c_str(), -1, &prepared, &tail);
    std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement(prepared);
    if (prepareStatus != SQLITE_OK)
        return ReportSqlError(sqlite3_errmsg(db.get()));
    if (!statement)
        return ReportUsageError("the statement is empty", "sql");
    if (!OnlySpaceOrSemicolons(tail))
        return ReportUsageError(
            "fsdata sql runs one statement; this follows it: '" + std::string(tail) + "'", "sql");
    long rows = 0;
    if (!WriteRows(statement.get(), *writer, out, rows))
        return ReportSqlError(sqlite3_errmsg(db.get()));
    if (format == "table" && sqlite3_column_count(statement.get()) > 0 && !out.failed() &&
        out.Flush())
        std::fprintf(stderr, "%ld %s\n", rows, rows == 1 ? "row" : "rows");
    return kExitSuccess;
}

}  // namespace fsdata
