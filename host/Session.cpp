#include "host/Session.h"

#include "platform/TextEncoding.h"

namespace host {

Session::Session(const DriverEntryPoints& api) : api_(api) {
    api_.DbInitialize();
}

Session::~Session() {
    if (fields_ != nullptr)
        api_.DbFreeFieldList(fieldCount_, fields_);
    if (logon_ != nullptr)
        api_.DbLogoffServer(logon_);
    api_.DbFreeLogonInfo(logonInfo_);
    api_.DbTerminate();
}

bool Session::LogOn(const LogonProperties& properties, const std::u16string& language,
                    std::string& message, DbStatus& status) {
    ErrorInfo* error = nullptr;
    status = api_.DbLogonServer(properties.info(), &logonInfo_, nullptr, nullptr, language.c_str(),
                                &logon_, &error);
    if (status == Status_Success)
        return true;
    message = error != nullptr && error->message != nullptr
                  ? platform::Utf16ToUtf8(error->message)
                  : "the driver refused the logon (status " + std::to_string(status) + ")";
    api_.DbFreeErrorInfo(error);
    return false;
}

bool Session::FetchFields() {
    return api_.DbFetchTableFields(logon_, nullptr, nullptr, nullptr, nullptr, &fieldCount_,
                                   &fields_) == Status_Success;
}

DbRowsetRef Session::OpenTable(std::string& error) {
    TableDescription** tables = nullptr;
    uint32_t tableCount = 0;
    if (api_.DbFetchTableList(logon_, nullptr, nullptr, 0, &tables, &tableCount) !=
            Status_Success ||
        tableCount == 0) {
        error = "the driver lists no table";
        return nullptr;
    }
    DbRowsetRef rowset = nullptr;
    const DbStatus status = api_.DbExecuteQuery(logon_, QueryType_OpenTable, tables[0], nullptr,
                                                nullptr, nullptr, &rowset);
    api_.DbFreeTableList(&tableCount, tables);
    if (status != Status_Success) {
        error = "the table cannot be opened (status " + std::to_string(status) + ")";
        return nullptr;
    }
    return rowset;
}

const FieldDescription* Session::Field(uint32_t ordinal) const {
    return ordinal >= 1 && ordinal <= fieldCount_ ? fields_[ordinal - 1] : nullptr;
}

std::u16string DriverText(const char16_t* text) {
    return text != nullptr ? std::u16string(text) : std::u16string();
}

}  // namespace host
