#include "tools/fsdata/QueryCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/FieldId.h"
#include "host/LogonProperties.h"
#include "platform/Console.h"
#include "platform/TextEncoding.h"
#include "tools/fsdata/RowWriter.h"

namespace fsdata {
namespace {

// The fields shown when --fields is not given.
constexpr FieldId kDefaultFields[] = {FieldId::FileName, FieldId::FileSize, FieldId::LastWritten,
                                      FieldId::FileType, FieldId::Directory};
constexpr uint32_t kFieldBufferBytes = 1024;
constexpr long kProgressEvery = 5000;

std::string Narrow(const char16_t* text) {
    return text ? platform::Utf16ToUtf8(text) : "";
}

// The session with the driver: initialised, logged on, and everything given
// back at the end, as the engine does it.
class Session {
public:
    explicit Session(const host::DriverEntryPoints& api) : api_(api) { api_.DbInitialize(); }

    ~Session() {
        if (fields_ != nullptr)
            api_.DbFreeFieldList(fieldCount_, fields_);
        if (logon_ != nullptr)
            api_.DbLogoffServer(logon_);
        api_.DbFreeLogonInfo(logonInfo_);
        api_.DbTerminate();
    }

    // False with the driver's message when the logon is refused.
    bool LogOn(const host::LogonProperties& properties, const std::u16string& language,
               std::string& message, DbStatus& status) {
        ErrorInfo* error = nullptr;
        status = api_.DbLogonServer(properties.info(), &logonInfo_, nullptr, nullptr,
                                    language.c_str(), &logon_, &error);
        if (status != Status_Success) {
            message = error != nullptr && error->message != nullptr
                          ? Narrow(error->message)
                          : "the driver refused the logon (status " + std::to_string(status) + ")";
            api_.DbFreeErrorInfo(error);
            return false;
        }
        return true;
    }

    bool FetchFields() {
        return api_.DbFetchTableFields(logon_, nullptr, nullptr, nullptr, nullptr, &fieldCount_,
                                       &fields_) == Status_Success;
    }

    const FieldDescription* Field(uint32_t ordinal) const {
        return ordinal >= 1 && ordinal <= fieldCount_ ? fields_[ordinal - 1] : nullptr;
    }
    uint32_t fieldCount() const { return fieldCount_; }
    DbLogonRef logon() const { return logon_; }

private:
    const host::DriverEntryPoints& api_;
    DbLogonRef logon_ = nullptr;
    DbLogonInfo* logonInfo_ = nullptr;
    uint32_t fieldCount_ = 0;
    FieldDescription** fields_ = nullptr;
};

// The bound field identifiers of LIST: names (any case) or ordinals, or "all".
bool BindFields(const host::DriverEntryPoints& api, DbRowsetRef rowset, const Session& session,
                const std::string& list, std::vector<int64_t>& ids, std::string& error) {
    std::vector<std::string> words;
    if (list.empty()) {
        for (FieldId field : kDefaultFields)
            words.push_back(std::to_string(Ordinal(field)));
    } else if (list == "all") {
        for (uint32_t ordinal = 1; ordinal <= session.fieldCount(); ++ordinal)
            words.push_back(std::to_string(ordinal));
    } else {
        size_t start = 0;
        for (;;) {
            size_t comma = list.find(',', start);
            words.push_back(list.substr(start, comma - start));
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    }
    for (const std::string& word : words) {
        BindRequest request{};
        std::u16string name = platform::Utf8ToUtf16(word);
        char* end = nullptr;
        unsigned long ordinal = std::strtoul(word.c_str(), &end, 10);
        if (!word.empty() && *end == 0) {
            request.kind = BindKind_Ordinal;
            request.ordinal = static_cast<uint32_t>(ordinal);
        } else {
            request.kind = BindKind_Name;
            request.name = name.c_str();
        }
        int64_t id = 0;
        if (api.DbBindToField(rowset, &request, &id) != Status_Success) {
            error = "no field '" + word + "' (see fsdata fields)";
            return false;
        }
        ids.push_back(id);
    }
    return true;
}

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
            cell.text = Narrow(static_cast<const char16_t*>(value));
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
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || errno != 0 || value < -1 || value > INT32_MAX)
        return false;
    levels = static_cast<int32_t>(value);
    return true;
}

const char* TypeName(DbValueType type) {
    switch (type) {
        case stringValue:
            return "text";
        case memoValue:
            return "memo";
        case int32uValue:
            return "unsigned 32-bit";
        case booleanValue:
            return "boolean";
        case dateTimeValue:
            return "date-time";
        default:
            return "other";
    }
}

// A rowset over the logon's only table; null, with the reason on standard
// error, when there is none.
DbRowsetRef OpenTable(const host::DriverEntryPoints& api, const Session& session) {
    TableDescription** tables = nullptr;
    uint32_t tableCount = 0;
    if (api.DbFetchTableList(session.logon(), nullptr, nullptr, 0, &tables, &tableCount) !=
            Status_Success ||
        tableCount == 0) {
        std::fprintf(stderr, "fsdata: the driver lists no table\n");
        return nullptr;
    }
    DbRowsetRef rowset = nullptr;
    const DbStatus status = api.DbExecuteQuery(session.logon(), QueryType_OpenTable, tables[0],
                                               nullptr, nullptr, nullptr, &rowset);
    api.DbFreeTableList(&tableCount, tables);
    if (status != Status_Success) {
        std::fprintf(stderr, "fsdata: the table cannot be opened (status %u)\n", status);
        return nullptr;
    }
    return rowset;
}

// The header and every row of the bound fields.
void WriteRows(const host::DriverEntryPoints& api, DbRowsetRef rowset, const Session& session,
               const std::vector<int64_t>& ids, RowWriter& writer) {
    std::vector<std::string> names;
    for (int64_t id : ids)
        names.push_back(Narrow(session.Field(uint32_t(id))->name));
    writer.Header(names);

    const bool showProgress = platform::IsStandardErrorTerminal();
    long rows = 0;
    std::vector<CellValue> cells(ids.size());
    while (api.DbReadRecord(rowset, ReadMode_Next, nullptr, nullptr) == Status_Success) {
        for (size_t i = 0; i < ids.size(); ++i)
            cells[i] = ReadCell(api, rowset, ids[i]);
        writer.Row(cells);
        if (showProgress && ++rows % kProgressEvery == 0)
            std::fprintf(stderr, "\r%ld rows", rows);
    }
    writer.Finish();
    if (showProgress && rows >= kProgressEvery)
        std::fprintf(stderr, "\r%ld rows\n", rows);
}

}  // namespace

int RunQuery(const host::DriverLibrary& driver, const CommandLine& line) {
    const host::DriverEntryPoints& api = driver.api();
    int32_t levels = -1;
    if (line.Has("--levels") && !ParseLevels(line.Get("--levels"), levels)) {
        std::fprintf(stderr, "fsdata: --levels takes a whole number, -1 for no limit\n");
        return kExitUsage;
    }
    auto writer = MakeRowWriter(line.Get("--format", "table"), stdout);
    if (!writer) {
        std::fprintf(stderr, "fsdata: --format is table, csv or jsonl\n");
        return kExitUsage;
    }
    std::error_code ignored;
    std::filesystem::path directory = std::filesystem::absolute(
        std::filesystem::u8path(line.positional.empty() ? "." : line.positional[0]), ignored);
    host::LogonProperties properties(directory.u16string(),
                                     platform::Utf8ToUtf16(line.Get("--mask", "*.*")), levels,
                                     line.Has("--empty-dirs"));
    const std::u16string language = platform::Utf8ToUtf16(line.Get("--lang"));

    Session session(api);
    std::string message;
    DbStatus status;
    if (!session.LogOn(properties, language, message, status)) {
        std::fprintf(stderr, "fsdata: %s\n", message.c_str());
        return status == Status_LogonFailed ? kExitLogonRefused : kExitFailure;
    }
    if (!session.FetchFields()) {
        std::fprintf(stderr, "fsdata: the driver did not describe its fields\n");
        return kExitFailure;
    }

    DbRowsetRef rowset = OpenTable(api, session);
    if (rowset == nullptr)
        return kExitFailure;
    std::vector<int64_t> ids;
    std::string error;
    if (!BindFields(api, rowset, session, line.Get("--fields"), ids, error)) {
        api.DbCloseRowset(rowset);
        std::fprintf(stderr, "fsdata: %s\n", error.c_str());
        return kExitUsage;
    }
    WriteRows(api, rowset, session, ids, *writer);
    api.DbCloseRowset(rowset);
    return kExitSuccess;
}

int RunFields(const host::DriverLibrary& driver, const CommandLine& line) {
    auto writer = MakeRowWriter(line.Get("--format", "table"), stdout);
    if (!writer) {
        std::fprintf(stderr, "fsdata: --format is table, csv or jsonl\n");
        return kExitUsage;
    }
    std::error_code ignored;
    host::LogonProperties properties(std::filesystem::current_path(ignored).u16string(), u"*.*", 0,
                                     false);
    Session session(driver.api());
    std::string message;
    DbStatus status;
    if (!session.LogOn(properties, platform::Utf8ToUtf16(line.Get("--lang")), message, status) ||
        !session.FetchFields()) {
        std::fprintf(stderr, "fsdata: %s\n", message.c_str());
        return kExitFailure;
    }
    writer->Header({"ordinal", "name", "type", "length"});
    for (uint32_t ordinal = 1; ordinal <= session.fieldCount(); ++ordinal) {
        const FieldDescription* field = session.Field(ordinal);
        std::vector<CellValue> cells(4);
        cells[0].type = int32uValue;
        cells[0].number = ordinal;
        cells[1].type = stringValue;
        cells[1].text = Narrow(field->name);
        cells[2].type = stringValue;
        cells[2].text = TypeName(field->valueType);
        cells[3].type = int32uValue;
        cells[3].number = field->length;
        writer->Row(cells);
    }
    writer->Finish();
    return kExitSuccess;
}

}  // namespace fsdata
