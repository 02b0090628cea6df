// One walk of the file table for SQL: a session of its own with the driver
// (logon and rowset), so that a statement may walk two trees at once, and
// each field bound by its name in the session's language when first read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/CellValue.h"
#include "host/Session.h"
#include "tools/sqlite/TableArguments.h"

namespace sqlhost {

class FileTableCursor {
public:
    FileTableCursor(const host::DriverEntryPoints& api, const std::u16string& language);
    ~FileTableCursor();
    FileTableCursor(const FileTableCursor&) = delete;
    FileTableCursor& operator=(const FileTableCursor&) = delete;

    // Logs on to the tree of `arguments` (the directory made absolute) and
    // reads the first row; false with the driver's message and the path.
    // A cursor may be opened again, on the same tree or another.
    bool Open(const TableArguments& arguments, std::string& error);
    void Next();
    bool atEnd() const { return atEnd_; }
    int64_t row() const { return row_; }
    const TableArguments& arguments() const { return arguments_; }

    // The field of `ordinal` (1 to 65) in the current row, valid until the
    // next read; an unknown-typed cell when the field cannot be bound.
    const host::CellValue& Read(uint32_t ordinal);

private:
    void Close();

    const host::DriverEntryPoints& api_;
    const std::u16string language_;
    TableArguments arguments_;
    std::unique_ptr<host::LogonProperties> properties_;
    std::unique_ptr<host::Session> session_;
    DbRowsetRef rowset_ = nullptr;
    std::vector<int64_t> fieldIds_;  // by ordinal - 1; 0 until bound
    host::CellValue cell_;
    bool atEnd_ = true;
    int64_t row_ = 0;
};

}  // namespace sqlhost
