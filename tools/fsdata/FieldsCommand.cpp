#include "tools/fsdata/FieldsCommand.h"

#include <cstdio>

#include "host/Session.h"
#include "platform/AbsolutePath.h"
#include "platform/TextEncoding.h"
#include "tools/fsdata/RowWriter.h"
#include "tools/fsdata/Usage.h"
#include "tools/sqlite/SqlColumns.h"

namespace fsdata {
namespace {

const char16_t* TypeName(DbValueType type) {
    switch (type) {
        case stringValue:
            return u"text";
        case memoValue:
            return u"memo";
        case int32uValue:
            return u"unsigned 32-bit";
        case booleanValue:
            return u"boolean";
        case dateTimeValue:
            return u"date-time";
        default:
            return u"other";
    }
}

CellValue Number(uint32_t value) {
    CellValue cell;
    cell.type = int32uValue;
    cell.number = value;
    return cell;
}

CellValue Text(std::u16string value) {
    CellValue cell;
    cell.type = stringValue;
    cell.text = std::move(value);
    return cell;
}

}  // namespace

int RunFields(const host::DriverLibrary& driver, const CommandLine& line, Output& out) {
    const std::string format = line.Get("--format", "table");
    auto writer = MakeRowWriter(format, out);
    if (!writer)
        return ReportUsageError("--format is table, csv or jsonl, not '" + format + "'", "fields");
    host::LogonProperties properties(platform::AbsolutePath(u"."), u"*.*", 0, false);
    host::Session session(driver.api());
    std::string message;
    DbStatus status;
    if (!session.LogOn(properties, platform::Utf8ToUtf16(line.Get("--lang")), message, status) ||
        !session.FetchFields()) {
        std::fprintf(stderr, "fsdata: %s\n", message.c_str());
        return kExitFailure;
    }
    const bool sql = line.Has("--sql");
    if (sql)
        writer->Header({{"ordinal"}, {"column"}, {"type"}, {"field"}});
    else
        writer->Header({{"ordinal"}, {"name"}, {"type"}, {"length"}});
    for (uint32_t ordinal = 1; ordinal <= session.fieldCount() && !out.failed(); ++ordinal) {
        const FieldDescription* field = session.Field(ordinal);
        const std::u16string name = host::DriverText(field->name);
        if (sql && ordinal <= sqlhost::kFieldColumnCount) {
            const sqlhost::SqlColumn& column = sqlhost::kFieldColumns[ordinal - 1];
            writer->Row({Number(ordinal), Text(platform::Utf8ToUtf16(column.name)),
                         Text(platform::Utf8ToUtf16(column.type)), Text(name)});
        } else if (!sql) {
            writer->Row({Number(ordinal), Text(name), Text(TypeName(field->valueType)),
                         Number(field->length)});
        }
    }
    if (!out.failed())
        writer->Finish();
    return kExitSuccess;
}

}  // namespace fsdata
