#include "tools/fsdata/QueryCommand.h"

#include <cstdio>
#include <string>
#include <vector>

#include "driver/FieldId.h"
#include "platform/AbsolutePath.h"
#include "platform/PathSplit.h"
#include "platform/TextEncoding.h"
#include "tools/fsdata/FieldList.h"
#include "tools/fsdata/Progress.h"
#include "tools/fsdata/RowWriter.h"
#include "tools/fsdata/Session.h"
#include "tools/fsdata/Usage.h"

namespace fsdata {
namespace {

constexpr uint32_t kFieldBufferBytes = 1024;

CellValue ReadCell(const host::DriverEntryPoints& api, DbRowsetRef rowset, int64_t id) {
    alignas(8) unsigned char buffer[kFieldBufferBytes];
    void* value = buffer;
    uint16_t isNull = 0;
    uint32_t type = unknownValue, reserved = 0;
    CellValue cell;
    if (api.DbReadFieldValue(rowset, id, nullptr, nullptr, &value, sizeof buffer, &isNull, &type,
                             &reserved) != Status_Success)
        return cell;
    cell.type = type;
    cell.isNull = isNull != 0;
    switch (type) {
        case stringValue:
        case memoValue:
            cell.text = DriverText(static_cast<const char16_t*>(value));
            break;
        case int32uValue:
            cell.number = *static_cast<const uint32_t*>(value);
            break;
        case booleanValue:
            cell.flag = *static_cast<const uint16_t*>(value) != 0;
            break;
        case dateTimeValue:
            cell.dateTime = *static_cast<const DbDateTime*>(value);
            break;
        default:
            break;
    }
    if (value != buffer)
        api.DbFreeFieldValue(value);
    return cell;
}

bool ParseLevels(const std::string& text, int32_t& levels) {
    const bool negativeOne = text == "-1";
    if (!negativeOne && (text.empty() || text.size() > 10 ||
                         text.find_first_not_of("0123456789") != std::string::npos))
        return false;
    const long long value = negativeOne ? -1 : std::stoll(text);
    if (value > INT32_MAX)
        return false;
    levels = static_cast<int32_t>(value);
    return true;
}

bool HoldsSeparator(const std::u16string& mask) {
    for (char16_t c : mask)
        if (c == u'/' || platform::IsPathSeparator(c))
            return true;
    return false;
}

// Every row of the bound fields; stops at the first failed write. Returns
// the number of rows written.
long WriteRows(const Session& session, DbRowsetRef rowset, const std::vector<BoundField>& fields,
               RowWriter& writer, Output& out) {
    const host::DriverEntryPoints& api = session.api();
    std::vector<Column> columns;
    for (const BoundField& field : fields) {
        const FieldId id = static_cast<FieldId>(field.ordinal);
        columns.push_back({platform::Utf16ToUtf8(DriverText(session.Field(field.ordinal)->name)),
                           id == FieldId::FileSize || id == FieldId::CompressedSize});
    }
    writer.Header(columns);
    Progress progress;
    long rows = 0;
    std::vector<CellValue> cells(fields.size());
    while (!out.failed() &&
           api.DbReadRecord(rowset, ReadMode_Next, nullptr, nullptr) == Status_Success) {
        for (size_t i = 0; i < fields.size(); ++i)
            cells[i] = ReadCell(api, rowset, fields[i].id);
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
    if (line.Has("--levels") && !ParseLevels(line.Get("--levels"), levels))
        return ReportUsageError("--levels takes -1 (no limit) or a whole number from 0 to " +
                                    std::to_string(INT32_MAX) + ", not '" + line.Get("--levels") +
                                    "'",
                                "query");
    const std::string format = line.Get("--format", "table");
    auto writer = MakeRowWriter(format, out);
    if (!writer)
        return ReportUsageError("--format is table, csv or jsonl, not '" + format + "'", "query");
    const std::u16string mask = platform::Utf8ToUtf16(line.Get("--mask", "*.*"));
    if (HoldsSeparator(mask))
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

    Session session(driver.api());
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
    DbRowsetRef rowset = session.OpenTable();
    if (rowset == nullptr)
        return kExitFailure;
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
