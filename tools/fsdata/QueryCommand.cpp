#include "tools/fsdata/QueryCommand.h"

#include <cstdio>
#include <string>
#include <vector>

#include "driver/FieldId.h"
#include "host/Session.h"
#include "platform/AbsolutePath.h"
#include "platform/TextEncoding.h"
#include "tools/fsdata/FieldList.h"
#include "tools/fsdata/Progress.h"
#include "tools/fsdata/RowWriter.h"
#include "tools/fsdata/Usage.h"

namespace fsdata {
namespace {

// Every row of the bound fields; stops at the first failed write. Returns
// the number of rows written.
long WriteRows(const host::Session& session, DbRowsetRef rowset,
               const std::vector<BoundField>& fields, RowWriter& writer, Output& out) {
    const host::DriverEntryPoints& api = session.api();
    std::vector<Column> columns;
    for (const BoundField& field : fields) {
        const FieldId id = static_cast<FieldId>(field.ordinal);
        columns.push_back(
            {platform::Utf16ToUtf8(host::DriverText(session.Field(field.ordinal)->name)),
             id == FieldId::FileSize || id == FieldId::CompressedSize});
    }
    writer.Header(columns);
    Progress progress;
    long rows = 0;
    std::vector<CellValue> cells(fields.size());
    while (!out.failed() &&
           api.DbReadRecord(rowset, ReadMode_Next, nullptr, nullptr) == Status_Success) {
        for (size_t i = 0; i < fields.size(); ++i)
            host::ReadCell(api, rowset, fields[i].id, cells[i]);
        writer.Row(cells);
        progress.CountRow();
        ++rows;
    }
    if (!out.failed())
        writer.Finish();
    return rows;
}

}  // namespace

int RunQuery(const host::DriverLibrary& driver, const CommandLine& line, Output& out) {
    int32_t levels = -1;
    if (line.Has("--levels") && !host::ParseLevels(line.Get("--levels"), levels))
        return ReportUsageError("--levels takes -1 (no limit) or a whole number from 0 to " +
                                    std::to_string(INT32_MAX) + ", not '" + line.Get("--levels") +
                                    "'",
                                "query");
    const std::string format = line.Get("--format", "table");
    auto writer = MakeRowWriter(format, out);
    if (!writer)
        return ReportUsageError("--format is table, csv or jsonl, not '" + format + "'", "query");
    const std::u16string mask = platform::Utf8ToUtf16(line.Get("--mask", "*.*"));
    if (host::MaskHoldsSeparator(mask))
        return ReportUsageError(
            "--mask matches file names in each directory and cannot hold a "
            "path separator: '" +
                line.Get("--mask") + "'",
            "query");
    if (!line.positional.empty() && line.positional[0].empty())
        return ReportUsageError("DIR is empty (. names the current directory)", "query");
    const std::u16string directory = platform::AbsolutePath(
        platform::Utf8ToUtf16(line.positional.empty() ? "." : line.positional[0]));
    host::LogonProperties properties(directory, mask, levels, line.Has("--empty-dirs"));

    host::Session session(driver.api());
    std::string message;
    DbStatus status;
    if (!session.LogOn(properties, platform::Utf8ToUtf16(line.Get("--lang")), message, status)) {
        std::fprintf(stderr, "fsdata: %s\n", message.c_str());
        const std::string reason = platform::DirectoryListingError(directory);
        if (!reason.empty())
            std::fprintf(stderr, "fsdata: '%s': %s\n", platform::Utf16ToUtf8(directory).c_str(),
                         reason.c_str());
        return status == Status_LogonFailed ? kExitLogonRefused : kExitFailure;
    }
    if (!session.FetchFields()) {
        std::fprintf(stderr, "fsdata: the driver did not describe its fields\n");
        return kExitFailure;
    }
    DbRowsetRef rowset = session.OpenTable(message);
    if (rowset == nullptr) {
        std::fprintf(stderr, "fsdata: %s\n", message.c_str());
        return kExitFailure;
    }
    std::vector<BoundField> fields;
    const std::string list = line.Get("--fields");
    if (!BindFieldList(session, rowset, line.Has("--fields") ? &list : nullptr, fields, message)) {
        driver.api().DbCloseRowset(rowset);
        return ReportUsageError(message, "query");
    }
    const long rows = WriteRows(session, rowset, fields, *writer, out);
    driver.api().DbCloseRowset(rowset);
    if (format == "table" && !out.failed() && out.Flush())
        std::fprintf(stderr, "%ld %s\n", rows, rows == 1 ? "row" : "rows");
    return kExitSuccess;
}

}  // namespace fsdata
