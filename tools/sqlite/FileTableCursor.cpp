#include "tools/sqlite/FileTableCursor.h"

#include "platform/AbsolutePath.h"
#include "platform/TextEncoding.h"

namespace sqlhost {

FileTableCursor::FileTableCursor(const host::DriverEntryPoints& api, const std::u16string& language)
    : api_(api), language_(language) {}

FileTableCursor::~FileTableCursor() {
    Close();
}

void FileTableCursor::Close() {
    if (rowset_ != nullptr)
        api_.DbCloseRowset(rowset_);
    rowset_ = nullptr;
    session_.reset();
    properties_.reset();
    atEnd_ = true;
}

bool FileTableCursor::Open(const TableArguments& arguments, std::string& error) {
    Close();
    arguments_ = arguments;
    const std::u16string directory =
        platform::AbsolutePath(platform::Utf8ToUtf16(arguments.directory));
    properties_ = std::make_unique<host::LogonProperties>(
        directory, platform::Utf8ToUtf16(arguments.mask), arguments.levels, arguments.emptyDirs);
    session_ = std::make_unique<host::Session>(api_);
    std::string message;
    DbStatus status;
    if (!session_->LogOn(*properties_, language_, message, status)) {
        const std::string path = platform::Utf16ToUtf8(directory);
        const std::string reason = platform::DirectoryListingError(directory);
        error =
            "fsdata: " + message + " ('" + path + "'" + (reason.empty() ? "" : ": " + reason) + ")";
        Close();
        return false;
    }
    if (!session_->FetchFields() || (rowset_ = session_->OpenTable(message)) == nullptr) {
        error = "fsdata: " + (message.empty() ? "the driver did not describe its fields" : message);
        Close();
        return false;
    }
    fieldIds_.assign(session_->fieldCount(), 0);
    row_ = 0;
    atEnd_ = false;
    Next();
    return true;
}

void FileTableCursor::Next() {
    if (atEnd_)
        return;
    atEnd_ = api_.DbReadRecord(rowset_, ReadMode_Next, nullptr, nullptr) != Status_Success;
    if (!atEnd_)
        ++row_;
}

const host::CellValue& FileTableCursor::Read(uint32_t ordinal) {
    const FieldDescription* field = session_ ? session_->Field(ordinal) : nullptr;
    cell_.type = unknownValue;  // until read; the text keeps its storage
    cell_.isNull = false;
    if (field == nullptr || atEnd_)
        return cell_;
    int64_t& id = fieldIds_[ordinal - 1];
    if (id == 0) {
        BindRequest request{};
        request.kind = BindKind_Name;
        request.name = field->name;
        if (api_.DbBindToField(rowset_, &request, &id) != Status_Success)
            return cell_;
    }
    host::ReadCell(api_, rowset_, id, cell_);
    return cell_;
}

}  // namespace sqlhost
